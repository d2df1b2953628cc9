// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A task of its own on the process's workers, for work that keeps a worker for its whole length
// (a batch of file commands, the read-ahead's loop) and that its owner waits for at its end.
// Threads are started in the work layer only: work that waits on a volume is a job of
// WorkQueues; this is for the few that are not one job.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace pictaria {

// Runs `task` on a worker of the process's pool; nothing waits for it.
void runOnWorker(std::function<void()> task);

class WorkerTask {
  public:
    WorkerTask() = default;
    WorkerTask(const WorkerTask&) = delete;
    WorkerTask& operator=(const WorkerTask&) = delete;
    // Waits for the task, if one was started.
    ~WorkerTask();

    void start(std::function<void()> task);
    // Returns once the task has returned (at once when none was started).
    void wait();

  private:
    struct Done {
        std::mutex mutex;
        std::condition_variable ended;
        bool running = false;
    };
    std::shared_ptr<Done> done_ = std::make_shared<Done>();
};

}  // namespace pictaria
