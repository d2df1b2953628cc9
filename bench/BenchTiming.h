// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers for the timing programs: a wall clock, folders of generated files, and the
// ratio of two timings printed as "name ratio".

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace pictaria::bench {

inline double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of `rounds` runs of `work`, each after `prepare` (not timed).
inline double bestOf(int rounds, const std::function<void()>& prepare,
                     const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        best = std::min(best, secondsOf(work));
    }
    return best;
}

struct Timings {
    double ours = 1e300;
    double reference = 1e300;
};

// Runs ours and the reference in turn, `rounds` times each, each after `prepare` (not timed);
// the best time of each counts. Interleaved, a drift of the machine's load or of the disk's
// writeback falls on both alike instead of moving the ratio.
inline Timings interleavedBest(int rounds, const std::function<void()>& prepare,
                               const std::function<void()>& ours,
                               const std::function<void()>& reference) {
    Timings best;
    for (int i = 0; i < rounds; ++i) {
        best.ours = std::min(best.ours, bestOf(1, prepare, ours));
        best.reference = std::min(best.reference, bestOf(1, prepare, reference));
    }
    return best;
}

// A new folder of this run's own under `parent`, so that two runs never share their files.
inline std::filesystem::path uniqueFolder(const std::filesystem::path& parent,
                                          const std::string& stem) {
    std::string pattern = (parent / (stem + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a folder under %s\n", parent.c_str());
        std::exit(1);
    }
    return pattern;
}

// Writes `count` files of `bytes` random bytes named f0000.jpg... into `folder`.
inline std::vector<std::string> writeFiles(const std::filesystem::path& folder, int count,
                                           std::size_t bytes) {
    std::filesystem::create_directories(folder);
    std::mt19937 random(42);
    std::string data(bytes, '\0');
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        for (char& c : data) {
            c = static_cast<char>(random());
        }
        char name[32];
        std::snprintf(name, sizeof name, "f%04d.jpg", i);
        std::ofstream(folder / name, std::ios::binary)
            .write(data.data(), static_cast<std::streamsize>(bytes));
        names.emplace_back(name);
    }
    return names;
}

inline void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

inline void printRatio(const char* name, double ours, double reference) {
    std::printf("%s %.3f   (ours %.3f s, reference %.3f s)\n", name, ours / reference, ours,
                reference);
    std::fflush(stdout);
}

}  // namespace pictaria::bench
