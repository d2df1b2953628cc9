// SPDX-License-Identifier: GPL-3.0-or-later
#include "work/WorkQueues.h"

#include <QMetaObject>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "work/WorkerTask.h"

namespace pictaria {

struct WorkQueues::Job {
    std::uint64_t ticket = 0;
    std::shared_ptr<JobContext::State> state;
    Work work;
    bool command = false;
};

// Shared with the workers, which outlive this object when their volume hangs.
struct WorkQueues::Shared {
    struct Lane {
        std::deque<std::shared_ptr<Job>> queued;
        std::shared_ptr<Job> running;
        bool served = false;  // a worker takes this queue's jobs now
        bool silent = false;
        std::shared_ptr<std::atomic<std::int64_t>> lastAnswer =
            std::make_shared<std::atomic<std::int64_t>>(0);
    };

    std::mutex mutex;
    std::condition_variable commandEnded;
    WorkQueues* owner = nullptr;  // null once the owner is gone: results go nowhere
    std::map<std::string, Lane> lanes;
    int working = 0;
    int commandsRunning = 0;

    // Posts a result to the owner; under `mutex`, so that the owner is known to live. Qt drops
    // the call if the owner goes before it runs.
    void post(std::uint64_t ticket, std::function<void()> deliver, bool last) {
        if (WorkQueues* to = owner) {
            QMetaObject::invokeMethod(
                to,
                [to, ticket, deliver = std::move(deliver), last] {
                    to->arrived(ticket, deliver, last);
                },
                Qt::QueuedConnection);
        }
    }

    static std::function<void()> runJob(Job& job) {
        const JobContext context(job.state);
        const RunningJob here(context);
        context.answered();
        return job.work(context);
    }

    // A worker serves one volume's queue until it is empty.
    static void serve(const std::shared_ptr<Shared>& shared, const std::string& volume) {
        std::unique_lock lock(shared->mutex);
        Lane& lane = shared->lanes[volume];
        while (!lane.queued.empty()) {
            const std::shared_ptr<Job> job = std::move(lane.queued.front());
            lane.queued.pop_front();
            lane.running = job;
            ++shared->working;
            shared->commandsRunning += job->command ? 1 : 0;
            lock.unlock();
            std::function<void()> deliver = runJob(*job);
            lock.lock();
            --shared->working;
            if (job->command) {
                --shared->commandsRunning;
                shared->commandEnded.notify_all();
            }
            lane.running.reset();
            lane.silent = false;  // it answered after all
            shared->post(job->ticket, std::move(deliver), true);
        }
        lane.served = false;
    }

    static void runAlone(const std::shared_ptr<Shared>& shared, const std::shared_ptr<Job>& job) {
        {
            const std::lock_guard lock(shared->mutex);
            ++shared->working;
        }
        std::function<void()> deliver = runJob(*job);
        const std::lock_guard lock(shared->mutex);
        --shared->working;
        shared->post(job->ticket, std::move(deliver), true);
    }
};

WorkQueues::WorkQueues(std::chrono::milliseconds limit, QObject* parent)
    : QObject(parent), limit_(limit), shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
    watch_.setInterval(
        std::max<std::chrono::milliseconds>(limit_ / 4, std::chrono::milliseconds(5)));
    connect(&watch_, &QTimer::timeout, this, &WorkQueues::lookForSilentVolumes);
}

WorkQueues::~WorkQueues() {
    for (auto& [ticket, pending] : pending_) {
        pending.state->cancelled = true;
    }
    std::unique_lock lock(shared_->mutex);
    shared_->owner = nullptr;
    for (auto& [volume, lane] : shared_->lanes) {
        lane.queued.clear();
    }
    // A command stops after the item in hand, which is left whole.
    shared_->commandEnded.wait(lock, [this] { return shared_->commandsRunning == 0; });
}

void WorkQueues::start(const std::string& key, const std::string& volume, Work work,
                       std::function<void()> silent, bool command) {
    cancel(key);  // superseded, whatever happens to this job
    if (!command && !volume.empty() && this->silent(volume)) {
        if (silent) {
            silent();
        }
        return;
    }
    const std::uint64_t ticket = ++lastTicket_;
    auto state = std::make_shared<JobContext::State>();
    state->report = [weak = std::weak_ptr<Shared>(shared_), ticket](std::function<void()> apply) {
        if (const std::shared_ptr<Shared> shared = weak.lock()) {
            const std::lock_guard lock(shared->mutex);
            shared->post(ticket, std::move(apply), false);
        }
    };
    auto job = std::make_shared<Job>(Job{ticket, state, std::move(work), command});
    pending_[ticket] = Pending{key, volume, std::move(silent), state};
    keys_[key] = ticket;
    if (volume.empty()) {
        runOnWorker([shared = shared_, job] { Shared::runAlone(shared, job); });
        return;
    }
    bool startWorker = false;
    {
        const std::lock_guard lock(shared_->mutex);
        Shared::Lane& lane = shared_->lanes[volume];
        state->lastAnswer = lane.lastAnswer;
        lane.queued.push_back(std::move(job));
        startWorker = !std::exchange(lane.served, true);
    }
    if (startWorker) {
        runOnWorker([shared = shared_, volume] { Shared::serve(shared, volume); });
    }
    if (!watch_.isActive()) {
        watch_.start();
    }
}

void WorkQueues::arrived(std::uint64_t ticket, const std::function<void()>& deliver, bool last) {
    if (!pending_.contains(ticket)) {
        return;  // superseded, cancelled or given up
    }
    if (last) {
        drop(ticket);
    }
    deliver();
}

void WorkQueues::drop(std::uint64_t ticket) {
    const auto found = pending_.find(ticket);
    if (found == pending_.end()) {
        return;
    }
    if (const auto key = keys_.find(found->second.key);
        key != keys_.end() && key->second == ticket) {
        keys_.erase(key);
    }
    pending_.erase(found);
}

void WorkQueues::cancel(const std::string& key) {
    const auto wanted = keys_.find(key);
    if (wanted == keys_.end()) {
        return;
    }
    const std::uint64_t ticket = wanted->second;
    const Pending& pending = pending_.at(ticket);
    pending.state->cancelled = true;
    if (!pending.volume.empty()) {
        const std::lock_guard lock(shared_->mutex);
        std::erase_if(shared_->lanes[pending.volume].queued,
                      [ticket](const std::shared_ptr<Job>& job) { return job->ticket == ticket; });
    }
    drop(ticket);
}

void WorkQueues::endCommand(const std::string& key) {
    const auto wanted = keys_.find(key);
    if (wanted == keys_.end()) {
        return;
    }
    const std::uint64_t ticket = wanted->second;
    cancel(key);
    std::unique_lock lock(shared_->mutex);
    shared_->commandEnded.wait(lock, [&] {
        return std::none_of(shared_->lanes.begin(), shared_->lanes.end(), [&](const auto& lane) {
            return lane.second.running && lane.second.running->ticket == ticket;
        });
    });
}

void WorkQueues::stop(const std::string& key) {
    if (const auto wanted = keys_.find(key); wanted != keys_.end()) {
        pending_.at(wanted->second).state->cancelled = true;
    }
}

bool WorkQueues::pending(const std::string& key) const {
    return keys_.contains(key);
}

bool WorkQueues::silent(const std::string& volume) const {
    const std::lock_guard lock(shared_->mutex);
    const auto lane = shared_->lanes.find(volume);
    return lane != shared_->lanes.end() && lane->second.silent;
}

int WorkQueues::working() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->working;
}

void WorkQueues::lookForSilentVolumes() {
    const std::int64_t now = JobContext::now();
    const std::int64_t limit = std::chrono::nanoseconds(limit_).count();
    std::vector<std::string> hung;
    bool busy = false;
    {
        const std::lock_guard lock(shared_->mutex);
        for (auto& [volume, lane] : shared_->lanes) {
            if (!lane.running || lane.silent || lane.running->command) {
                busy = busy || lane.served;
                continue;
            }
            busy = true;
            if (now - *lane.lastAnswer < limit) {
                continue;
            }
            lane.silent = true;
            for (const auto& job : lane.queued) {
                job->state->cancelled = true;
            }
            lane.queued.clear();
            hung.push_back(volume);
        }
    }
    if (!busy) {
        watch_.stop();
    }
    // The hung job and those waiting behind it are given up; a command's queue is never
    // judged: a command ends only once its volume lets it.
    std::vector<std::function<void()>> tell;
    for (auto pending = pending_.begin(); pending != pending_.end();) {
        const std::uint64_t ticket = pending->first;
        Pending& job = pending->second;
        ++pending;
        if (std::find(hung.begin(), hung.end(), job.volume) == hung.end()) {
            continue;
        }
        job.state->cancelled = true;
        if (job.silent) {
            tell.push_back(std::move(job.silent));
        }
        drop(ticket);
    }
    for (const auto& silent : tell) {
        silent();
    }
}

}  // namespace pictaria
