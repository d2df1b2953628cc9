#include "platform/DeferredMoves.h"

#include <set>

#include "platform/DriveTable.h"
#include "platform/FileServices.h"

namespace pictaria {

FsResult DeferredMoves::copy(std::string_view from, std::string_view to, int tag) {
    const auto hostFrom = hostPathOf(from);
    const auto hostTo = hostPathOf(to);
    if (!hostFrom || !hostTo || from.empty() || to.empty()) {
        return FsResult::failure(ENOENT);
    }
    if (hostTo->size() >= kMaxPathBytes) {
        return FsResult::failure(ENAMETOOLONG);
    }
    Pending move{*hostFrom, *hostTo, {}, tag};
    FsResult copied =
        host::startMoveByCopy(move.from, move.to, move.source, host::Durability::Cached);
    if (copied) {
        pending_.push_back(std::move(move));
    }
    return copied;
}

std::vector<std::pair<int, FsResult>> DeferredMoves::finish() {
    std::set<std::string> folders;
    for (const Pending& move : pending_) {
        folders.insert(host::hostFolderOf(move.to));
    }
    for (const std::string& folder : folders) {
        host::flushFileSystemOf(folder);
    }
    std::vector<std::pair<int, FsResult>> outcomes;
    for (const Pending& move : pending_) {
        outcomes.emplace_back(move.tag, host::finishMoveByCopy(move.from, move.to, move.source));
    }
    pending_.clear();
    return outcomes;
}

}  // namespace pictaria
