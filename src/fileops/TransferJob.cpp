#include "fileops/TransferJob.h"

#include <QThread>

#include <utility>

namespace pictaria {

TransferJob::TransferJob(TransferBatch batch, QObject* parent)
    : QObject(parent), batch_(std::move(batch)) {}

TransferJob::~TransferJob() {
    stop_ = true;
    if (thread_) {
        thread_->wait();
    }
}

void TransferJob::start() {
    running_ = true;
    thread_.reset(QThread::create([this] { work(); }));
    thread_->start();
}

// On the worker: every report is handed to the window's thread, where this object lives.
void TransferJob::work() {
    batch_.run(
        stop_,
        [this](int entry, const FileOutcome& outcome) {
            QMetaObject::invokeMethod(
                this, [this, entry, outcome] { emit fileHandled(entry, outcome); },
                Qt::QueuedConnection);
        },
        [this](const TransferProgress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { emit progressed(progress); }, Qt::QueuedConnection);
        });
    const int counter = batch_.uniqueNameCounter();
    QMetaObject::invokeMethod(
        this,
        [this, counter] {
            running_ = false;
            emit finished(counter);
        },
        Qt::QueuedConnection);
}

}  // namespace pictaria
