// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Programs started from the tests and the benchmarks: a child process with its own current
// folder, environment and output file, stopped and reaped when its owner goes; and short
// command runs whose output is wanted.

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace pictaria::display {

// Variables to set (or, with an empty value, to remove) on top of this process's environment.
using EnvironmentChanges = std::map<std::string, std::string>;

struct Launch {
    std::vector<std::string> arguments;  // the program's path first
    std::string folder;                  // its current folder; empty: ours
    EnvironmentChanges environment;
    std::string outputFile;  // standard output and error go here; empty: /dev/null
};

class ChildProcess {
  public:
    // Starts the program; throws std::runtime_error when it cannot be started.
    explicit ChildProcess(const Launch& launch);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // False once the process has ended (it is reaped then).
    bool running();
    // Asks the process to end, then ends it after a grace period; returns its wait status.
    int stop();

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

// Runs a command to its end and returns its standard output; `exitCode` receives its exit
// status (-1 when it did not exit normally).
std::string runForOutput(const std::vector<std::string>& arguments,
                         const EnvironmentChanges& environment, int* exitCode = nullptr);

// True when `program` is an executable file in one of the folders of PATH.
bool onPath(const std::string& program);

}  // namespace pictaria::display
