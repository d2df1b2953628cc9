#pragma once
// A TransferBatch run on a worker thread of its own, so that the window stays responsive while
// photographs are copied or moved. The job object lives on the window's thread: each file's
// outcome, the progress and the end arrive there as signals, queued from the worker.

#include <QObject>

#include <atomic>
#include <memory>

#include "fileops/TransferBatch.h"

class QThread;

namespace pictaria {

class TransferJob : public QObject {
    Q_OBJECT

  public:
    TransferJob(TransferBatch batch, QObject* parent = nullptr);
    // Stops the batch between two files and waits for the worker.
    ~TransferJob() override;

    void start();
    // Asks the batch to stop after the file in hand; the files not handled are reported skipped.
    void stop() { stop_ = true; }
    bool running() const { return running_; }

  signals:
    void fileHandled(int entry, const pictaria::FileOutcome& outcome);
    void progressed(const pictaria::TransferProgress& progress);
    // After every file's outcome; `uniqueNameCounter` is the collision counter as left.
    void finished(int uniqueNameCounter);

  private:
    void work();

    TransferBatch batch_;
    std::atomic<bool> stop_{false};
    bool running_ = false;
    std::unique_ptr<QThread> thread_;
};

}  // namespace pictaria
