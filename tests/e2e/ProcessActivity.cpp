// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/ProcessActivity.h"

#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace pictaria::e2e {

namespace {

constexpr auto kSampleStep = 20ms;

struct ProcessSample {
    long long cpuTicks = 0;  // user and system time of all threads
    bool running = false;    // the main thread is on a processor or waiting for one
    bool operator==(const ProcessSample&) const = default;
};

// From /proc/<pid>/stat: the fields after the command name, which may hold spaces.
ProcessSample sample(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(text.substr(close + 2));
    std::string state;
    std::string skipped;
    long long user = 0;
    long long system = 0;
    fields >> state;
    for (int field = 4; field < 14; ++field) {
        fields >> skipped;
    }
    fields >> user >> system;
    return {user + system, state == "R"};
}

std::vector<ProcessSample> sampleAll(const std::vector<pid_t>& pids) {
    std::vector<ProcessSample> samples;
    for (const pid_t pid : pids) {
        samples.push_back(sample(pid));
    }
    return samples;
}

bool anyRunning(const std::vector<ProcessSample>& samples) {
    for (const ProcessSample& s : samples) {
        if (s.running) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool waitUntilQuiet(const std::vector<pid_t>& pids, std::chrono::milliseconds quietFor,
                    std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto quietSince = std::chrono::steady_clock::now();
    std::vector<ProcessSample> last = sampleAll(pids);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kSampleStep);
        const std::vector<ProcessSample> now = sampleAll(pids);
        if (now != last || anyRunning(now)) {
            quietSince = std::chrono::steady_clock::now();
            last = now;
        } else if (std::chrono::steady_clock::now() - quietSince >= quietFor) {
            return true;
        }
    }
    return false;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kSampleStep);
    }
    return true;
}

}  // namespace pictaria::e2e
