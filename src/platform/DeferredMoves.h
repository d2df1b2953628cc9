// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moves of many files across file systems, flushed to disk a group at a time: each file is
// copied completely under a temporary name first; then every copy of the group is flushed, then
// each gets its name, then their folders are flushed, and only then are the sources removed.
// So no real name ever stands for a copy whose data may not be on the disk (a card keeps no
// order of its own between data and names), and no source goes before its copy's name is on
// the disk. A source that cannot be removed takes its copy back with it, so every file ends up
// in exactly one place. The caller finishes a group once it is full (groupFull): a process
// killed part way leaves at most one group's photographs in both places, and each group's
// flushes cost about one journal commit of each kind.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FsResult.h"
#include "platform/HostFiles.h"

namespace pictaria {

class DeferredMoves {
  public:
    // When the copies waiting make a group: so many files, so many bytes, or the first of them
    // waiting so long, whichever comes first.
    struct GroupLimits {
        std::size_t files = 16;
        std::int64_t bytes = 64 << 20;
        std::chrono::milliseconds age{1000};
    };

    DeferredMoves() = default;
    explicit DeferredMoves(GroupLimits limits) : limits_(limits) {}
    DeferredMoves(const DeferredMoves&) = delete;
    DeferredMoves& operator=(const DeferredMoves&) = delete;
    // Copies never finished are removed; their sources were never touched.
    ~DeferredMoves();

    // Copies the file `from` for the new file `to` (path texts); the copy gets its name and the
    // source goes in finish(). `tag` names the move in finish()'s outcome.
    FsResult copy(std::string_view from, std::string_view to, int tag);

    // True when a copy waiting for finish() is to take the name `path` (a path text): it counts
    // as taken for the names given meanwhile.
    bool willName(std::string_view path) const;

    // Flushes the copies, names them, flushes their folders, removes their sources and tells
    // each tag's outcome, in copy order. A failed flush fails the moves it concerns: their
    // copies are removed and their sources stay.
    std::vector<std::pair<int, FsResult>> finish();

    bool empty() const { return pending_.empty(); }
    // True when the copies waiting reach one of the group's limits: time to finish().
    bool groupFull() const;

  private:
    struct Pending {
        std::string from;  // host paths
        std::string to;
        std::string temporary;  // where the copy waits for its name
        host::FileIdentity source;
        int tag;
    };
    GroupLimits limits_;
    std::vector<Pending> pending_;
    std::int64_t pendingBytes_ = 0;
    std::chrono::steady_clock::time_point firstPending_;
};

}  // namespace pictaria
