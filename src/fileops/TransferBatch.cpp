// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/TransferBatch.h"

#include <cerrno>
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

std::string volumeGoneMessage(TransferMode mode, const std::string& targetFolder) {
    return takenOutMessage(targetFolder, mode == TransferMode::Move ? "移動しませんでした。"
                                                                    : "コピーしませんでした。");
}

std::string leftoversKeptMessage(const std::string& targetFolder) {
    return "フォルダ " + targetFolder +
           " に、途中で終わった前の作業の残り（名前が .pictaria- で始まる隠しファイルや"
           "フォルダ）を残しました。ごみ箱に移せなかったためです。\n"
           "写真のただ一つの控えのこともあるので、中を確かめてから片付けてください。";
}

void TransferBatch::run(const std::atomic<bool>& stop, const OutcomeReport& report,
                        const ProgressReport& progress) {
    // A file put in place is stamped there at once, for the undo of the command.
    const auto outcome = [&](int entry, FileOutcome handled) {
        if (handled.done()) {
            handled.stamp = fileStamp(joinPath(targetFolder_, handled.finalName()));
        }
        report(entry, handled);
    };
    std::vector<std::int64_t> sizes;
    for (const BatchItem& item : items_) {
        sizes.push_back(std::max(0LL, fileSize(joinPath(sourceFolder_, item.name))));
    }
    destination_.emplace(targetFolder_);
    leftoversKept_ = removeLeftovers(targetFolder_);
    DeferredMoves deferred(groupLimits_);
    std::map<int, FileOutcome> awaiting;  // moves whose sources go after their group's flush
    // Once the destination lies on another volume, nothing more is tried there: every file not
    // yet in place fails with the reason, and its source stays.
    bool volumeGone = false;
    const auto destinationGone = [&] {
        volumeGone = volumeGone || destination_->check().error() == ENODEV;
        return volumeGone;
    };
    const auto notPutInPlace = [&](const std::string& name) {
        FileOutcome refused = outcomeOf(name, FileResult::Failed);
        refused.reason = FsResult::failure(ENODEV);
        refused.message = volumeGoneMessage(mode_, targetFolder_);
        return refused;
    };
    // Copies made before the volume went are not on the folder's path any more: flushing and
    // checking them there would find whatever lies there now, so their sources stay.
    const auto removeMovedSources = [&] {
        if (destinationGone()) {
            for (const auto& [entry, moved] : awaiting) {
                outcome(entry, notPutInPlace(moved.name));
            }
            awaiting.clear();
            return;
        }
        for (const auto& [entry, removed] : deferred.finish()) {
            FileOutcome moved = std::move(awaiting.at(entry));
            awaiting.erase(entry);
            outcome(entry, removed ? moved : transferFailure(mode_, moved.name, removed));
        }
    };
    const auto transfer = [&](const BatchItem& item) -> std::optional<FileOutcome> {
        if (destinationGone()) {
            return notPutInPlace(item.name);
        }
        bool awaitingRemoval = false;
        FileOutcome handled = transferOne(item, deferred, awaitingRemoval);
        if (!handled.done() && destinationGone()) {
            return notPutInPlace(item.name);  // it went during this file
        }
        if (!awaitingRemoval) {
            return handled;
        }
        awaiting.emplace(item.entry, std::move(handled));
        if (deferred.groupFull()) {
            removeMovedSources();  // before the next file is copied
        }
        return std::nullopt;
    };
    runEachItem(items_, stop, outcome, progress, transfer, sizes, removeMovedSources);
}

// A failure of one file (even running out of memory) never stops the batch: that file stays
// as it was, and the failure is told with the others.
FileOutcome TransferBatch::transferOne(const BatchItem& item, DeferredMoves& deferred,
                                       bool& awaitingRemoval) {
    const std::string source = joinPath(sourceFolder_, item.name);
    try {
        if (mode_ == TransferMode::Copy) {
            return transferFile(mode_, source, "", targetFolder_, uniqueNameCounter_);
        }
        return transferFileInBatch(mode_, source, "", targetFolder_, uniqueNameCounter_, deferred,
                                   item.entry, awaitingRemoval);
    } catch (...) {  // what throws here is the memory for names and lists
        awaitingRemoval = false;
        return transferFailure(mode_, item.name, FsResult::failure(ENOMEM));
    }
}

}  // namespace pictaria
