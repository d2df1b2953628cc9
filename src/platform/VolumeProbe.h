// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asks volumes for the status of their roots without ever waiting on one that hangs: a card
// reader or a FUSE program that stops answering leaves its question on a worker of its own.

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "work/JobContext.h"

namespace pictaria {

struct VolumeAnswer {
    enum class Kind { Answered, Failed, Silent };
    Kind kind = Kind::Silent;
    std::uint64_t device = 0;  // Answered: the st_dev of the root
    bool folder = false;       // Answered: the root is a folder
    int error = 0;             // Failed: why the root could not be read
};

// The status query; tests put in one that hangs or fails.
using StatCall = std::function<int(const char* path, struct stat* info)>;

// Asks every root at once, each on a worker of its own, and waits at most `limit` for all the
// answers. A root that has not answered by then is Silent; its question stays asked until the
// volume answers, and meanwhile the root is not asked again (it is Silent at once), so a hung
// volume holds one worker, not one per command. A root whose question another caller is still
// waiting for is not asked twice either: both wait for the same answer.
std::vector<VolumeAnswer> probeVolumes(const std::vector<std::string>& roots,
                                       std::chrono::milliseconds limit = kVolumeAnswerLimit,
                                       const StatCall& stat = {});

}  // namespace pictaria
