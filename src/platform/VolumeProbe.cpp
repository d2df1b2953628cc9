// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VolumeProbe.h"

#include <cerrno>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "work/WorkerTask.h"

namespace pictaria {

namespace {

// The question put to one root, shared by the callers waiting for its answer and the thread
// that asks it, which may outlive them all.
struct Question {
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<VolumeAnswer> answer;
    bool givenUp = false;  // a caller waited its limit in vain: the volume hangs
};

// Roots whose question is still on a thread, across all calls: a caller asking a root already
// asked waits for the same answer rather than starting a second question.
class PendingRoots {
  public:
    // The question of `root` on its way, or a new one, which the caller then asks (`fresh`).
    std::shared_ptr<Question> join(const std::string& root, bool& fresh) {
        const std::lock_guard lock(mutex_);
        std::shared_ptr<Question>& question = roots_[root];
        fresh = !question;
        if (fresh) {
            question = std::make_shared<Question>();
        }
        return question;
    }
    void release(const std::string& root) {
        const std::lock_guard lock(mutex_);
        roots_.erase(root);
    }

  private:
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<Question>> roots_;
};

// Never destroyed: a thread stuck on a hung volume may still release its root while the
// process ends.
PendingRoots& pendingRoots() {
    static PendingRoots* roots = new PendingRoots;
    return *roots;
}

VolumeAnswer ask(const std::string& root, const StatCall& stat) {
    struct stat info {};
    const int result = stat ? stat(root.c_str(), &info) : ::stat(root.c_str(), &info);
    if (result != 0) {
        return {VolumeAnswer::Kind::Failed, 0, false, errno};
    }
    return {VolumeAnswer::Kind::Answered, static_cast<std::uint64_t>(info.st_dev),
            S_ISDIR(info.st_mode), 0};
}

std::shared_ptr<Question> askOnItsOwnThread(const std::string& root, const StatCall& stat) {
    bool fresh = false;
    std::shared_ptr<Question> question = pendingRoots().join(root, fresh);
    if (!fresh) {
        return question;
    }
    runOnWorker([question, root, stat] {
        const VolumeAnswer answer = ask(root, stat);
        pendingRoots().release(root);
        const std::lock_guard lock(question->mutex);
        question->answer = answer;
        question->answered.notify_all();
    });
    return question;
}

// The question's answer once it comes, by `deadline` at the latest; Silent without one, and at
// once when an earlier caller already waited in vain.
VolumeAnswer answerBy(Question& question, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(question.mutex);
    if (!question.givenUp) {
        question.answered.wait_until(lock, deadline, [&] { return question.answer.has_value(); });
    }
    if (!question.answer) {
        question.givenUp = true;
    }
    return question.answer.value_or(VolumeAnswer{});
}

}  // namespace

std::vector<VolumeAnswer> probeVolumes(const std::vector<std::string>& roots,
                                       std::chrono::milliseconds limit, const StatCall& stat) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<std::shared_ptr<Question>> questions;
    for (const std::string& root : roots) {
        questions.push_back(askOnItsOwnThread(root, stat));
    }
    std::vector<VolumeAnswer> answers;
    for (const auto& question : questions) {
        answers.push_back(answerBy(*question, deadline));
    }
    return answers;
}

}  // namespace pictaria
