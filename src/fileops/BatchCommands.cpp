// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/BatchCommands.h"

#include "fileops/TransferBatch.h"

#include <map>
#include <utility>
#include <vector>

#include "fileops/DeleteBatch.h"
#include "fileops/FileTransfer.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

std::vector<BatchItem> tickedItems(const TickList& list) {
    std::vector<BatchItem> items;
    for (int i = 0; i < list.count(); ++i) {
        if (list.ticked(i)) {
            items.push_back({i, list.name(i)});
        }
    }
    return items;
}

std::vector<BatchItem> listedItems(const TickList& list) {
    std::vector<BatchItem> items;
    for (int i = 0; i < list.count(); ++i) {
        items.push_back({i, list.name(i)});
    }
    return items;
}

namespace {

void removeMarkedEntries(TickList& list) {
    for (int j = 0; j < list.count();) {
        if (list.name(j).empty()) {
            list.removeAt(j);
        } else {
            ++j;
        }
    }
}

// The outcomes in list order; with `markDone`, the entries whose file left are marked for
// removal (an empty name).
std::vector<FileOutcome> markDoneEntries(TickList& list, const std::map<int, FileOutcome>& byEntry,
                                         bool markDone) {
    std::vector<FileOutcome> outcomes;
    for (const auto& [entry, outcome] : byEntry) {
        if (markDone && outcome.done()) {
            list.setName(entry, std::string());
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

// Sends the files of the given entries to the trash and marks the entries whose file went
// (an empty name). Files no trash can take are deleted for good only when `askForGood` agrees.
std::vector<FileOutcome> deleteEntries(TickList& list, const std::string& sourceFolder,
                                       std::vector<BatchItem> items,
                                       const DeleteForGoodQuestion& askForGood) {
    DeleteBatch toTrash(DeleteWay::ToTrash, sourceFolder, std::move(items));
    std::map<int, FileOutcome> byEntry = runHere(toTrash);
    std::vector<BatchItem> noTrash = itemsNoTrashTook(byEntry);
    if (!noTrash.empty() && askForGood(noTrash.size())) {
        DeleteBatch forGood(DeleteWay::ForGood, sourceFolder, std::move(noTrash));
        for (auto& [entry, outcome] : runHere(forGood)) {
            byEntry[entry] = std::move(outcome);
        }
    }
    return markDoneEntries(list, byEntry, true);
}

// Runs the batch here and now; moved entries leave the list afterwards. The outcomes come in
// list order.
std::vector<FileOutcome> transferTicked(TransferMode mode, TickList& list,
                                        const std::string& sourceFolder,
                                        const std::string& targetFolder, int& uniqueNameCounter) {
    if (sameFolderRefusal(mode, sourceFolder, targetFolder)) {
        return {};
    }
    TransferBatch batch(mode, sourceFolder, targetFolder, tickedItems(list), uniqueNameCounter);
    const std::map<int, FileOutcome> byEntry = runHere(batch);
    uniqueNameCounter = batch.uniqueNameCounter();
    std::vector<FileOutcome> outcomes = markDoneEntries(list, byEntry, mode == TransferMode::Move);
    removeMarkedEntries(list);
    return outcomes;
}

}  // namespace

const char* sameFolderRefusal(TransferMode mode, const std::string& sourceFolder,
                              const std::string& targetFolder) {
    if (sourceFolder != targetFolder) {
        return nullptr;
    }
    return mode == TransferMode::Copy ? kChooseCopyFolderMessage : kChooseMoveFolderMessage;
}

std::vector<FileOutcome> copyTicked(TickList& list, const std::string& sourceFolder,
                                    const std::string& targetFolder, int& uniqueNameCounter) {
    return transferTicked(TransferMode::Copy, list, sourceFolder, targetFolder, uniqueNameCounter);
}

std::vector<FileOutcome> moveTicked(TickList& list, const std::string& sourceFolder,
                                    const std::string& targetFolder, int& uniqueNameCounter) {
    return transferTicked(TransferMode::Move, list, sourceFolder, targetFolder, uniqueNameCounter);
}

std::vector<FileOutcome> deleteTicked(TickList& list, const std::string& sourceFolder,
                                      const DeleteForGoodQuestion& askForGood) {
    std::vector<FileOutcome> outcomes =
        deleteEntries(list, sourceFolder, tickedItems(list), askForGood);
    removeMarkedEntries(list);
    return outcomes;
}

std::vector<FileOutcome> deleteAllListed(TickList& list, const std::string& sourceFolder,
                                         const DeleteForGoodQuestion& askForGood) {
    std::vector<FileOutcome> outcomes =
        deleteEntries(list, sourceFolder, listedItems(list), askForGood);
    list.clear();
    return outcomes;
}

void clearTicks(TickList& list) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.ticked(i)) {
            list.setTicked(i, false);
        }
    }
}

void removeTickedEntries(TickList& list) {
    for (int i = list.count() - 1; i >= 0; --i) {
        if (list.ticked(i)) {
            list.removeAt(i);
        }
    }
}

std::string copyHint(const std::string& targetFolder) {
    return targetFolder + "にコピーします";
}

std::string moveHint(const std::string& targetFolder) {
    return targetFolder + "に移動します";
}

}  // namespace pictaria
