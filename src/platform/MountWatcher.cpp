// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountWatcher.h"

#include <fcntl.h>
#include <unistd.h>

namespace pictaria {

MountWatcher::MountWatcher(DriveLettering lettering, std::string mountInfoPath, QObject* parent)
    : QObject(parent), mountInfoPath_(std::move(mountInfoPath)), lettering_(std::move(lettering)) {
    // The kernel's mount table reports a change as an exceptional condition on an open file.
    tableFile_ = ::open(mountInfoPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (tableFile_ >= 0) {
        changes_ = new QSocketNotifier(tableFile_, QSocketNotifier::Exception, this);
        connect(changes_, &QSocketNotifier::activated, this, &MountWatcher::rescan);
    }
    worker_ = std::thread([this] { work(); });
    rescan();  // catches what was mounted between the start-up reading and now
}

MountWatcher::~MountWatcher() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();  // a probe gives up within its time limit, so this ends
    delete changes_;
    if (tableFile_ >= 0) {
        ::close(tableFile_);
    }
}

void MountWatcher::rescan() {
    {
        const std::lock_guard lock(mutex_);
        rescanWanted_ = true;
    }
    wake_.notify_all();
}

void MountWatcher::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return rescanWanted_ || stopping_; });
        if (stopping_) {
            return;
        }
        rescanWanted_ = false;
        lock.unlock();
        const bool changed = lettering_.update(readMountedVolumes(mountInfoPath_));
        if (changed) {
            install(lettering_.table());
        }
        lock.lock();
    }
}

// Hands the new table to the window's thread. The call is dropped with the watcher if that
// ends first: Qt removes the events posted to an object when it is destroyed.
void MountWatcher::install(DriveTable table) {
    QMetaObject::invokeMethod(
        this,
        [this, table = std::move(table)]() mutable {
            setActiveDriveTable(std::move(table));
            emit drivesChanged();
        },
        Qt::QueuedConnection);
}

}  // namespace pictaria
