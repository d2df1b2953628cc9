// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/TransferBatch.h"

#include <map>
#include <utility>

#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

TransferBatch::TransferBatch(TransferMode mode, std::string sourceFolder, std::string targetFolder,
                             std::vector<BatchItem> items, int uniqueNameCounter)
    : mode_(mode),
      sourceFolder_(std::move(sourceFolder)),
      targetFolder_(std::move(targetFolder)),
      items_(std::move(items)),
      uniqueNameCounter_(uniqueNameCounter) {}

void TransferBatch::run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                        const ProgressReport& progress) {
    std::vector<std::int64_t> sizes;
    for (const BatchItem& item : items_) {
        sizes.push_back(std::max(0LL, fileSize(joinPath(sourceFolder_, item.name))));
    }
    removeLeftovers(targetFolder_);
    DeferredMoves deferred;
    std::map<int, FileOutcome> awaiting;  // moves whose sources go after the common flush
    const auto transfer = [&](const BatchItem& item) -> std::optional<FileOutcome> {
        bool awaitingRemoval = false;
        FileOutcome handled = transferOne(item, deferred, awaitingRemoval);
        if (!awaitingRemoval) {
            return handled;
        }
        awaiting.emplace(item.entry, std::move(handled));
        return std::nullopt;
    };
    const auto removeMovedSources = [&] {
        for (const auto& [entry, removed] : deferred.finish()) {
            FileOutcome& moved = awaiting.at(entry);
            if (!removed) {
                moved.result = FileResult::Failed;
                moved.reason = removed;
                moved.message = kMoveFailedMessage;
            }
            outcome(entry, moved);
        }
    };
    runEachItem(items_, stop, outcome, progress, transfer, sizes, removeMovedSources);
}

// A failure of one file (even running out of memory) never stops the batch: that file stays
// as it was, silently.
FileOutcome TransferBatch::transferOne(const BatchItem& item, DeferredMoves& deferred,
                                       bool& awaitingRemoval) {
    const std::string source = joinPath(sourceFolder_, item.name);
    try {
        if (mode_ == TransferMode::Copy) {
            return transferFile(mode_, source, "", targetFolder_, uniqueNameCounter_);
        }
        return transferFileInBatch(mode_, source, "", targetFolder_, uniqueNameCounter_, deferred,
                                   item.entry, awaitingRemoval);
    } catch (...) {
        awaitingRemoval = false;
        return outcomeOf(item.name, FileResult::Failed);
    }
}

}  // namespace pictaria
