#include "fileops/BatchCommands.h"

#include <map>
#include <numeric>
#include <vector>

#include "fileops/FileTransfer.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

// Runs `handle` on every ticked entry, from the first on, re-reading the count at every step.
// A failure of one entry never stops the batch. `handle` returns true when the entry's file is
// gone from the source folder, which marks the entry for removal (an empty name).
template <typename Handle>
void forEachTicked(TickList& list, Handle handle) {
    for (int i = 0; i < list.count(); ++i) {
        if (!list.ticked(i)) {
            continue;
        }
        try {
            if (handle(i, list.name(i))) {
                list.setName(i, std::string());
            }
        } catch (...) {
            // This entry stays as it is; the next one is handled all the same.
        }
    }
}

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
    std::vector<FileOutcome> outcomes;
    if (sameFolderRefusal(TransferMode::Copy, sourceFolder, targetFolder)) {
        return outcomes;
    }
    removeLeftovers(targetFolder);
    forEachTicked(list, [&](int, const std::string& name) {
        outcomes.push_back(transferFile(TransferMode::Copy, joinPath(sourceFolder, name), "",
                                        targetFolder, uniqueNameCounter));
        return false;
    });
    return outcomes;
}

std::vector<FileOutcome> moveTicked(TickList& list, const std::string& sourceFolder,
                                    const std::string& targetFolder, int& uniqueNameCounter) {
    std::vector<FileOutcome> outcomes;
    if (sameFolderRefusal(TransferMode::Move, sourceFolder, targetFolder)) {
        return outcomes;
    }
    removeLeftovers(targetFolder);
    // Files copied across file systems are flushed to disk together, and their sources removed
    // only after that.
    DeferredMoves deferred;
    std::map<int, std::size_t> awaiting;  // entry to its outcome
    forEachTicked(list, [&](int index, const std::string& name) {
        bool awaitingRemoval = false;
        outcomes.push_back(transferFileInBatch(TransferMode::Move, joinPath(sourceFolder, name), "",
                                               targetFolder, uniqueNameCounter, deferred, index,
                                               awaitingRemoval));
        if (awaitingRemoval) {
            awaiting[index] = outcomes.size() - 1;
        }
        return outcomes.back().done() && !awaitingRemoval;
    });
    for (const auto& [index, removed] : deferred.finish()) {
        if (removed) {
            list.setName(index, std::string());
            continue;
        }
        FileOutcome& outcome = outcomes[awaiting[index]];
        outcome.result = FileResult::Failed;
        outcome.reason = removed;
        outcome.message = kMoveFailedMessage;
    }
    removeMarkedEntries(list);
    return outcomes;
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
