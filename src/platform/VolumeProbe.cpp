// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VolumeProbe.h"

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

namespace pictaria {

namespace {

// The answers of one call of probeVolumes, shared with the threads that ask; a thread that
// answers after the call gave up writes into it all the same and is the last to let it go.
struct ProbeRound {
    std::mutex mutex;
    std::condition_variable answered;
    std::vector<std::optional<VolumeAnswer>> answers;
    std::size_t asked = 0;
    std::size_t received = 0;
};

// Roots whose question is still on a thread, across all calls.
class PendingRoots {
  public:
    bool claim(const std::string& root) {
        const std::lock_guard lock(mutex_);
        return roots_.insert(root).second;
    }
    void release(const std::string& root) {
        const std::lock_guard lock(mutex_);
        roots_.erase(root);
    }

  private:
    std::mutex mutex_;
    std::set<std::string> roots_;
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

void askOnItsOwnThread(const std::shared_ptr<ProbeRound>& round, std::size_t index,
                       const std::string& root, const StatCall& stat) {
    if (!pendingRoots().claim(root)) {
        return;
    }
    try {
        std::thread([round, index, root, stat] {
            const VolumeAnswer answer = ask(root, stat);
            pendingRoots().release(root);
            const std::lock_guard lock(round->mutex);
            round->answers[index] = answer;
            ++round->received;
            round->answered.notify_all();
        }).detach();
        const std::lock_guard lock(round->mutex);
        ++round->asked;
    } catch (const std::system_error&) {
        pendingRoots().release(root);  // no thread to ask on: the root stays Silent
    }
}

}  // namespace

std::vector<VolumeAnswer> probeVolumes(const std::vector<std::string>& roots,
                                       std::chrono::milliseconds limit, const StatCall& stat) {
    auto round = std::make_shared<ProbeRound>();
    round->answers.resize(roots.size());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        askOnItsOwnThread(round, i, roots[i], stat);
    }
    std::unique_lock lock(round->mutex);
    round->answered.wait_until(lock, deadline, [&] { return round->received == round->asked; });
    std::vector<VolumeAnswer> answers;
    for (const auto& answer : round->answers) {
        answers.push_back(answer.value_or(VolumeAnswer{}));
    }
    return answers;
}

}  // namespace pictaria
