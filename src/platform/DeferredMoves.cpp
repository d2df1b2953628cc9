// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DeferredMoves.h"

#include <algorithm>
#include <map>

#include "platform/DriveTable.h"
#include "platform/FileIo.h"
#include "platform/FileServices.h"

namespace pictaria {

DeferredMoves::~DeferredMoves() {
    for (const Pending& move : pending_) {
        fileIo().removeFile(move.temporary.c_str());
    }
}

FsResult DeferredMoves::copy(std::string_view from, std::string_view to, int tag) {
    return onHostPaths(from, to, [&](const std::string& hostFrom, const std::string& hostTo) {
        Pending move{hostFrom, hostTo, {}, {}, tag};
        FsResult copied = host::startMoveByCopy(move.from, move.to, move.source, move.temporary);
        if (copied) {
            if (pending_.empty()) {
                firstPending_ = std::chrono::steady_clock::now();
            }
            pendingBytes_ += move.source.size;
            pending_.push_back(std::move(move));
        }
        return copied;
    });
}

bool DeferredMoves::willName(std::string_view path) const {
    if (pending_.empty()) {
        return false;
    }
    const auto host = hostPathOf(path);
    return host && std::any_of(pending_.begin(), pending_.end(),
                               [&](const Pending& move) { return move.to == *host; });
}

bool DeferredMoves::groupFull() const {
    return !pending_.empty() &&
           (pending_.size() >= limits_.files || pendingBytes_ >= limits_.bytes ||
            std::chrono::steady_clock::now() - firstPending_ >= limits_.age);
}

std::vector<std::pair<int, FsResult>> DeferredMoves::finish() {
    // Flushing the copies one after another costs about one journal commit for all of them:
    // the first flush commits what every copy wrote. The same holds for their folders.
    std::vector<FsResult> results;
    for (const Pending& move : pending_) {
        results.push_back(host::flushToDisk(move.temporary));
    }
    std::map<std::string, FsResult> folders;  // each destination folder, once its names are given
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const Pending& move = pending_[i];
        if (!results[i]) {
            fileIo().removeFile(move.temporary.c_str());  // a copy not known to be on disk is none
            continue;
        }
        results[i] = host::nameCopy(move.temporary, move.to);
        if (results[i]) {
            folders.emplace(host::hostFolderOf(move.to), FsResult::success());
        }
    }
    for (auto& [folder, flushed] : folders) {
        flushed = host::flushToDisk(folder);
    }
    std::vector<std::pair<int, FsResult>> outcomes;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const Pending& move = pending_[i];
        if (results[i]) {
            const FsResult& named = folders.at(host::hostFolderOf(move.to));
            if (named) {
                results[i] = host::finishMoveByCopy(move.from, move.to, move.source);
            } else {
                fileIo().removeFile(move.to.c_str());  // its name may not be on the disk
                results[i] = named;
            }
        }
        outcomes.emplace_back(move.tag, results[i]);
    }
    pending_.clear();
    pendingBytes_ = 0;
    return outcomes;
}

}  // namespace pictaria
