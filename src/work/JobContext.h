// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a job of the work layer sees of itself while it runs on a worker: whether it is still
// wanted, and a way to tell that its volume answered, so that a slow volume is told apart from
// one that hangs.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace pictaria {

// How long a volume may leave a job without an answer before it is Silent: a card reader
// waking up answers well within it.
inline constexpr std::chrono::milliseconds kVolumeAnswerLimit{1500};

// Tells the job running on this thread, if any, that its volume answered a call. Code deep
// below a job (a file reader, a directory walk) calls it without knowing the job.
void noteVolumeAnswered();

class JobContext {
  public:
    // Shared by the job, its queue and the layer's owner.
    struct State {
        std::atomic<bool> cancelled{false};
        // When the volume last answered (steady clock, nanoseconds); shared by the jobs of
        // one queue, so that it tells about the volume, not the job.
        std::shared_ptr<std::atomic<std::int64_t>> lastAnswer;
        std::function<void(std::function<void()>)> report;  // posts to the owner, if wanted
    };

    explicit JobContext(std::shared_ptr<State> state) : state_(std::move(state)) {}

    // True once the job was superseded, cancelled, or its volume given up: it may stop.
    bool cancelled() const { return state_->cancelled; }
    // The same flag, for loaders that take one.
    const std::atomic<bool>& cancelFlag() const { return state_->cancelled; }
    void answered() const;
    // Runs `apply` on the owner's thread while the job is still wanted: a result per item, or
    // its progress.
    void report(std::function<void()> apply) const;

    static std::int64_t now();

  private:
    std::shared_ptr<State> state_;
};

// Makes `context` the job that noteVolumeAnswered tells on this thread while it lives.
class RunningJob {
  public:
    explicit RunningJob(const JobContext& context);
    ~RunningJob();
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;

  private:
    const JobContext* previous_;
};

}  // namespace pictaria
