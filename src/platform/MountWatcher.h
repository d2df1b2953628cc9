// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Watches the mount table and letters every volume mounted while the program runs, so that a
// card inserted after start appears in the drive grid at once. The table is read and the new
// volumes are asked about themselves on a thread of the watcher's own: a card reader or FUSE
// program that hangs never holds up the window.

#include <QObject>
#include <QSocketNotifier>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/DriveLettering.h"
#include "platform/MountTable.h"

namespace pictaria {

class MountWatcher : public QObject {
    Q_OBJECT

  public:
    // Letters through `lettering` what is mounted from now on; the mount table is read from
    // `mountInfoPath` (the kernel's, or a file a test writes and then calls rescan()).
    explicit MountWatcher(DriveLettering lettering, std::string mountInfoPath = kMountInfoPath,
                          QObject* parent = nullptr);
    ~MountWatcher() override;

    // Reads the mount table again; the kernel's table asks for it on every change by itself.
    void rescan();

  signals:
    // The active drive table was replaced by one with new drives (sent on the thread the
    // watcher belongs to).
    void drivesChanged();

  private:
    void work();
    void install(DriveTable table);

    const std::string mountInfoPath_;
    int tableFile_ = -1;
    QSocketNotifier* changes_ = nullptr;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool rescanWanted_ = false;
    bool stopping_ = false;
    DriveLettering lettering_;  // used by the worker only
    std::thread worker_;
};

}  // namespace pictaria
