#include "fileops/FileJob.h"

#include <QThread>

#include <utility>

namespace pictaria {

FileJob::FileJob(std::unique_ptr<FileBatch> batch, QObject* parent)
    : QObject(parent), batch_(std::move(batch)) {}

FileJob::~FileJob() {
    stop_ = true;
    if (thread_) {
        thread_->wait();
    }
}

void FileJob::start() {
    running_ = true;
    thread_.reset(QThread::create([this] { work(); }));
    thread_->start();
}

// On the worker: every report is handed to the window's thread, where this object lives.
void FileJob::work() {
    batch_->run(
        stop_,
        [this](int entry, const FileOutcome& outcome) {
            QMetaObject::invokeMethod(
                this, [this, entry, outcome] { emit fileHandled(entry, outcome); },
                Qt::QueuedConnection);
        },
        [this](const BatchProgress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { emit progressed(progress); }, Qt::QueuedConnection);
        });
    QMetaObject::invokeMethod(
        this,
        [this] {
            running_ = false;
            emit finished();
        },
        Qt::QueuedConnection);
}

}  // namespace pictaria
