// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moves of many files across file systems with one flush to disk for all of them: each file is
// copied completely first, then every copy is flushed at once, and only then are the sources
// removed. A source that cannot be removed takes its copy back with it, so every file ends up
// in exactly one place.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FsResult.h"
#include "platform/HostFiles.h"

namespace pictaria {

class DeferredMoves {
  public:
    // Copies the file `from` to the new file `to` (path texts); the source stays until finish().
    // `tag` names the move in finish()'s outcome.
    FsResult copy(std::string_view from, std::string_view to, int tag);

    // Flushes the copies, removes their sources and tells each tag's outcome, in copy order.
    std::vector<std::pair<int, FsResult>> finish();

    bool empty() const { return pending_.empty(); }

  private:
    struct Pending {
        std::string from;  // host paths
        std::string to;
        host::FileIdentity source;
        int tag;
    };
    std::vector<Pending> pending_;
};

}  // namespace pictaria
