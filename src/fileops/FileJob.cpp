// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileJob.h"

#include <atomic>
#include <utility>

namespace pictaria {

namespace {
std::atomic<unsigned> jobsMade{0};
}

FileJob::FileJob(std::unique_ptr<FileBatch> batch, WorkQueues& work, std::string volume,
                 std::vector<std::string> folders, QObject* parent)
    : QObject(parent),
      batch_(std::move(batch)),
      work_(&work),
      volume_(std::move(volume)),
      folders_(std::move(folders)),
      key_("file command " + std::to_string(++jobsMade)) {}

FileJob::~FileJob() {
    if (work_) {
        work_->endCommand(key_);
    }
}

// On the worker, each report is handed to the window's thread, where this object lives, while
// the job is still wanted (this object's end drops them).
void FileJob::start() {
    running_ = true;
    work_->runCommand<FolderMounts>(
        key_, volume_,
        [this, batch = batch_, folders = folders_](const JobContext& job) {
            batch->run(
                job.cancelFlag(),
                [this, &job](int entry, const FileOutcome& outcome) {
                    job.report([this, entry, outcome] { emit fileHandled(entry, outcome); });
                },
                [this, &job](const BatchProgress& progress) {
                    job.report([this, progress] { emit progressed(progress); });
                });
            return mountsOf(folders);
        },
        [this](FolderMounts& mounts) {
            mounts_ = std::move(mounts);
            running_ = false;
            emit finished();
        });
}

void FileJob::stop() {
    stopped_ = true;
    if (work_) {
        work_->stop(key_);
    }
}

}  // namespace pictaria
