// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace pictaria::display {

namespace {

constexpr auto kGracePeriod = std::chrono::seconds(3);
constexpr auto kPollStep = std::chrono::milliseconds(10);

std::vector<std::string> environmentWith(const EnvironmentChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        if (!changes.contains(text.substr(0, text.find('=')))) {
            result.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            result.push_back(name + "=" + value);
        }
    }
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// posix_spawnp with the given file actions; throws when the program cannot be started.
pid_t spawn(const std::vector<std::string>& arguments, const EnvironmentChanges& environment,
            const posix_spawn_file_actions_t* actions) {
    std::vector<std::string> argumentCopy = arguments;
    std::vector<std::string> environmentCopy = environmentWith(environment);
    std::vector<char*> argv = pointersTo(argumentCopy);
    std::vector<char*> envp = pointersTo(environmentCopy);
    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data());
    if (error != 0) {
        throw std::runtime_error("cannot start " + arguments.front() + ": " + std::strerror(error));
    }
    return pid;
}

class FileActions {
  public:
    FileActions() { ::posix_spawn_file_actions_init(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    const posix_spawn_file_actions_t* get() const { return &actions_; }
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::ChildProcess(const Launch& launch) {
    FileActions actions;
    const std::string output = launch.outputFile.empty() ? "/dev/null" : launch.outputFile;
    ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, output.c_str(),
                                       O_WRONLY | O_CREAT | O_APPEND, 0644);
    ::posix_spawn_file_actions_adddup2(actions.get(), STDOUT_FILENO, STDERR_FILENO);
    if (!launch.folder.empty()) {
        ::posix_spawn_file_actions_addchdir_np(actions.get(), launch.folder.c_str());
    }
    pid_ = spawn(launch.arguments, launch.environment, actions.get());
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::running() {
    if (!reaped_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) {
        reaped_ = true;
    }
    return !reaped_;
}

int ChildProcess::stop() {
    if (!running()) {
        return status_;
    }
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kGracePeriod;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPollStep);
    }
    if (running()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status_, 0);
        reaped_ = true;
    }
    return status_;
}

std::string runForOutput(const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment, int* exitCode) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    FileActions actions;
    ::posix_spawn_file_actions_adddup2(actions.get(), pipeEnds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    try {
        pid = spawn(arguments, environment, actions.get());
    } catch (...) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw;
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (exitCode) {
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return output;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace pictaria::display
