// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A FileBatch run on a worker of the work layer for its whole length, so that the window stays
// responsive while photographs are copied, moved, deleted or renamed. The job object lives on the
// window's thread: each file's outcome, the progress and the end arrive there as signals, queued
// from the worker.

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

#include "fileops/FileBatch.h"
#include "work/WorkerTask.h"

namespace pictaria {

class FileJob : public QObject {
    Q_OBJECT

  public:
    FileJob(std::unique_ptr<FileBatch> batch, QObject* parent = nullptr);
    // Stops the batch between two files and waits for the worker.
    ~FileJob() override;

    void start();
    // Asks the batch to stop after the file in hand; the files not handled are reported skipped.
    void stop() { stop_ = true; }
    bool running() const { return running_; }
    bool stopped() const { return stop_.load(); }

  signals:
    void fileHandled(int entry, const pictaria::FileOutcome& outcome);
    void progressed(const pictaria::BatchProgress& progress);
    // After every file's outcome.
    void finished();

  private:
    void work();
    // Runs `call` on the thread this object lives on, after the reports posted before it.
    void post(std::function<void()> call);

    std::unique_ptr<FileBatch> batch_;
    std::atomic<bool> stop_{false};
    bool running_ = false;
    WorkerTask worker_;
};

}  // namespace pictaria
