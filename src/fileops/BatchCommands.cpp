#include "fileops/BatchCommands.h"

#include "fileops/TransferBatch.h"

#include <map>
#include <numeric>
#include <vector>

#include "fileops/FileTransfer.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

std::vector<TransferItem> tickedItems(const TickList& list) {
    std::vector<TransferItem> items;
    for (int i = 0; i < list.count(); ++i) {
        if (list.ticked(i)) {
            items.push_back({i, list.name(i)});
        }
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

// Sends the files of the given entries to the trash and marks the entries whose file went
// (an empty name). Files no trash can take are deleted for good only when `askForGood` agrees.
std::vector<FileOutcome> deleteEntries(TickList& list, const std::string& sourceFolder,
                                       const std::vector<int>& entries,
                                       const DeleteForGoodQuestion& askForGood) {
    std::vector<FileOutcome> outcomes;
    std::vector<std::size_t> noTrash;
    for (int index : entries) {
        FileOutcome outcome;
        outcome.name = list.name(index);
        const std::string path = joinPath(sourceFolder, outcome.name);
        // A missing file, or a folder: Delet acts on files only, and says nothing of these.
        outcome.reason = fileExists(path) ? moveToTrash(path) : FsResult::failure(ENOENT);
        if (outcome.reason) {
            outcome.result = FileResult::Done;
            list.setName(index, std::string());
        } else if (outcome.reason.error() == ENOTSUP) {
            noTrash.push_back(outcomes.size());
        } else if (outcome.reason.error() != ENOENT) {
            outcome.message = kTrashFailedMessage + outcome.reason.message();
        }
        outcomes.push_back(std::move(outcome));
    }
    if (noTrash.empty() || !askForGood(noTrash.size())) {
        return outcomes;
    }
    for (std::size_t at : noTrash) {
        FileOutcome& outcome = outcomes[at];
        outcome.reason = deleteFile(joinPath(sourceFolder, outcome.name));
        if (outcome.reason) {
            outcome.result = FileResult::Done;
            list.setName(entries[at], std::string());
        } else {
            outcome.message = kTrashFailedMessage + outcome.reason.message();
        }
    }
    return outcomes;
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
    std::map<int, FileOutcome> byEntry;
    const std::atomic<bool> never{false};
    batch.run(never, [&](int entry, const FileOutcome& outcome) { byEntry[entry] = outcome; });
    uniqueNameCounter = batch.uniqueNameCounter();
    std::vector<FileOutcome> outcomes;
    for (const auto& [entry, outcome] : byEntry) {
        if (mode == TransferMode::Move && outcome.done()) {
            list.setName(entry, std::string());
        }
        outcomes.push_back(outcome);
    }
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
    std::vector<int> chosen;
    for (int i = 0; i < list.count(); ++i) {
        if (list.ticked(i)) {
            chosen.push_back(i);
        }
    }
    std::vector<FileOutcome> outcomes = deleteEntries(list, sourceFolder, chosen, askForGood);
    removeMarkedEntries(list);
    return outcomes;
}

std::vector<FileOutcome> deleteAllListed(TickList& list, const std::string& sourceFolder,
                                         const DeleteForGoodQuestion& askForGood) {
    std::vector<int> every(static_cast<std::size_t>(list.count()));
    std::iota(every.begin(), every.end(), 0);
    std::vector<FileOutcome> outcomes = deleteEntries(list, sourceFolder, every, askForGood);
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
