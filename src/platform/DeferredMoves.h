// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moves of many files across file systems with one flush to disk of each kind for all of them:
// each file is copied completely under a temporary name first; then every copy is flushed, then
// every copy gets its name, then their folders are flushed, and only then are the sources
// removed. So no real name ever stands for a copy whose data may not be on the disk (a card
// keeps no order of its own between data and names), and no source goes before its copy's
// name is on the disk. A source that cannot be removed takes its copy back with it, so every
// file ends up in exactly one place.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FsResult.h"
#include "platform/HostFiles.h"

namespace pictaria {

class DeferredMoves {
  public:
    DeferredMoves() = default;
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

  private:
    struct Pending {
        std::string from;  // host paths
        std::string to;
        std::string temporary;  // where the copy waits for its name
        host::FileIdentity source;
        int tag;
    };
    std::vector<Pending> pending_;
};

}  // namespace pictaria
