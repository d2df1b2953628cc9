// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileJob.h"

#include <utility>

namespace pictaria {

FileJob::FileJob(std::unique_ptr<FileBatch> batch, QObject* parent)
    : QObject(parent), batch_(std::move(batch)) {}

FileJob::~FileJob() {
    stop_ = true;
    worker_.wait();
}

void FileJob::start() {
    running_ = true;
    worker_.start([this] { work(); });
}

// On the worker: every report is handed to the window's thread, where this object lives.
void FileJob::work() {
    batch_->run(
        stop_,
        [this](int entry, const FileOutcome& outcome) {
            post([this, entry, outcome] { emit fileHandled(entry, outcome); });
        },
        [this](const BatchProgress& progress) {
            post([this, progress] { emit progressed(progress); });
        });
    post([this] {
        running_ = false;
        emit finished();
    });
}

void FileJob::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

}  // namespace pictaria
