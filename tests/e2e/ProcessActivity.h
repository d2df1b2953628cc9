// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for a program to finish reacting to what was done to it, without fixed sleeps: the
// program and the X server are quiet once neither has used processor time for a while and the
// program's main thread is not running.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <vector>

namespace pictaria::e2e {

using namespace std::chrono_literals;

// Waits until every process of `pids` has been quiet for `quietFor`; false after `timeout`.
bool waitUntilQuiet(const std::vector<pid_t>& pids, std::chrono::milliseconds quietFor = 250ms,
                    std::chrono::milliseconds timeout = 30s);

// Polls `condition` until it holds; false after `timeout`.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

}  // namespace pictaria::e2e
