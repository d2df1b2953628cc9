// SPDX-License-Identifier: GPL-3.0-or-later
#include "work/WorkerTask.h"

#include <QThreadPool>

namespace pictaria {

// The process's workers. Never destroyed: a worker stuck on a hung volume is never waited for,
// not even at exit. Jobs mostly wait on volumes, so there are more than cores.
void runOnWorker(std::function<void()> task) {
    static QThreadPool* pool = [] {
        auto* created = new QThreadPool;
        created->setMaxThreadCount(64);
        return created;
    }();
    pool->start(std::move(task));
}

WorkerTask::~WorkerTask() {
    wait();
}

void WorkerTask::start(std::function<void()> task) {
    {
        const std::lock_guard lock(done_->mutex);
        done_->running = true;
    }
    runOnWorker([done = done_, task = std::move(task)] {
        task();
        const std::lock_guard lock(done->mutex);
        done->running = false;
        done->ended.notify_all();
    });
}

void WorkerTask::wait() {
    std::unique_lock lock(done_->mutex);
    done_->ended.wait(lock, [this] { return !done_->running; });
}

}  // namespace pictaria
