// SPDX-License-Identifier: GPL-3.0-or-later
#include "work/JobContext.h"

namespace pictaria {

namespace {
thread_local const JobContext* runningHere = nullptr;
}

void noteVolumeAnswered() {
    if (runningHere) {
        runningHere->answered();
    }
}

std::int64_t JobContext::now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void JobContext::answered() const {
    if (state_->lastAnswer) {
        *state_->lastAnswer = now();
    }
}

void JobContext::report(std::function<void()> apply) const {
    if (state_->report) {
        state_->report(std::move(apply));
    }
}

RunningJob::RunningJob(const JobContext& context) : previous_(runningHere) {
    runningHere = &context;
}

RunningJob::~RunningJob() {
    runningHere = previous_;
}

}  // namespace pictaria
