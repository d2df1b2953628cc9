// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DeferredMoves.h"

#include <unistd.h>

#include <set>

#include "platform/DriveTable.h"
#include "platform/FileIo.h"
#include "platform/FileServices.h"

namespace pictaria {

FsResult DeferredMoves::copy(std::string_view from, std::string_view to, int tag) {
    return onHostPaths(from, to, [&](const std::string& hostFrom, const std::string& hostTo) {
        Pending move{hostFrom, hostTo, {}, tag};
        FsResult copied =
            host::startMoveByCopy(move.from, move.to, move.source, host::Durability::WritingBack);
        if (copied) {
            pending_.push_back(std::move(move));
        }
        return copied;
    });
}

std::vector<std::pair<int, FsResult>> DeferredMoves::finish() {
    // Flushing the copies one after another costs about one journal commit for all of them:
    // the first flush commits what every copy wrote.
    std::vector<FsResult> flushed;
    std::set<std::string> folders;
    for (const Pending& move : pending_) {
        flushed.push_back(host::flushToDisk(move.to));
        folders.insert(host::hostFolderOf(move.to));
    }
    for (const std::string& folder : folders) {
        host::flushToDisk(folder);
    }
    std::vector<std::pair<int, FsResult>> outcomes;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const Pending& move = pending_[i];
        if (!flushed[i]) {
            fileIo().removeFile(move.to.c_str());  // a copy not known to be on disk is no copy
            outcomes.emplace_back(move.tag, flushed[i]);
        } else {
            outcomes.emplace_back(move.tag,
                                  host::finishMoveByCopy(move.from, move.to, move.source));
        }
    }
    pending_.clear();
    return outcomes;
}

}  // namespace pictaria
