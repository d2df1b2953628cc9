// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A FileBatch run as a command of the work layer, on the command queue of the volume it writes
// to, so that the window stays responsive while photographs are copied, moved, deleted or
// renamed. The job object lives on the window's thread: each file's outcome, the progress and
// the end arrive there as signals, reported by the command as it goes.

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "fileops/FileBatch.h"
#include "fileops/UndoStep.h"
#include "work/WorkQueues.h"

namespace pictaria {

class FileJob : public QObject {
    Q_OBJECT

  public:
    // `volume`: the one the batch writes to ("E:"; empty for none in particular). The mounts of
    // `folders` are noted on the worker once the batch ended, for the command's undo.
    FileJob(std::unique_ptr<FileBatch> batch, WorkQueues& work, std::string volume,
            std::vector<std::string> folders = {}, QObject* parent = nullptr);
    // Stops the batch between two files and waits for it.
    ~FileJob() override;

    void start();
    // Asks the batch to stop after the file in hand; the files not handled are reported skipped.
    void stop();
    bool running() const { return running_; }
    bool stopped() const { return stopped_; }
    // Once finished: the mounts of the folders given, as they were at the end.
    const FolderMounts& mounts() const { return mounts_; }

  signals:
    void fileHandled(int entry, const pictaria::FileOutcome& outcome);
    void progressed(const pictaria::BatchProgress& progress);
    // After every file's outcome.
    void finished();

  private:
    std::shared_ptr<FileBatch> batch_;
    QPointer<WorkQueues> work_;  // gone first at the window's end, having waited for the job
    std::string volume_;
    std::vector<std::string> folders_;
    FolderMounts mounts_;
    std::string key_;
    bool running_ = false;
    bool stopped_ = false;
};

}  // namespace pictaria
