#include "fileops/BatchCommands.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "fileops/FileTransfer.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
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

// Sends the files of the given entries to the trash and returns the entries whose file is gone.
// Files no trash can take are deleted for good only after one question for all of them.
std::vector<int> deleteEntries(const TickList& list, const std::string& sourceFolder,
                               const std::vector<int>& entries) {
    std::vector<int> gone;
    std::vector<int> noTrash;
    FsResult refused = FsResult::success();
    for (int index : entries) {
        const std::string path = joinPath(sourceFolder, list.name(index));
        if (!fileExists(path)) {
            continue;  // a missing file, or a folder: Delet acts on files only
        }
        const FsResult trashed = moveToTrash(path);
        if (trashed) {
            gone.push_back(index);
        } else if (trashed.error() == ENOTSUP) {
            noTrash.push_back(index);
        } else if (refused) {
            refused = trashed;
        }
    }
    if (!noTrash.empty() &&
        messageSink().confirm(std::to_string(noTrash.size()) + kDeleteForGoodFilesQuestion)) {
        for (int index : noTrash) {
            const FsResult deleted = deleteFile(joinPath(sourceFolder, list.name(index)));
            if (deleted) {
                gone.push_back(index);
            } else if (refused) {
                refused = deleted;
            }
        }
    }
    if (!refused) {
        showMessage(kTrashFailedMessage + refused.message());
    }
    std::sort(gone.begin(), gone.end());
    return gone;
}

bool refusedForSameFolder(const std::string& sourceFolder, const std::string& targetFolder,
                          const char* message) {
    if (sourceFolder == targetFolder) {
        showMessage(message);
        return true;
    }
    return false;
}

}  // namespace

void copyTicked(TickList& list, const std::string& sourceFolder, const std::string& targetFolder,
                int& uniqueNameCounter) {
    if (refusedForSameFolder(sourceFolder, targetFolder, kChooseCopyFolderMessage)) {
        return;
    }
    removeLeftovers(targetFolder);
    forEachTicked(list, [&](int, const std::string& name) {
        transferFile(TransferMode::Copy, joinPath(sourceFolder, name), "", targetFolder,
                     uniqueNameCounter);
        return false;
    });
}

void moveTicked(TickList& list, const std::string& sourceFolder, const std::string& targetFolder,
                int& uniqueNameCounter) {
    if (refusedForSameFolder(sourceFolder, targetFolder, kChooseMoveFolderMessage)) {
        return;
    }
    removeLeftovers(targetFolder);
    // Files copied across file systems are flushed to disk together, and their sources removed
    // only after that.
    DeferredMoves deferred;
    forEachTicked(list, [&](int index, const std::string& name) {
        return transferFileInBatch(TransferMode::Move, joinPath(sourceFolder, name), "",
                                   targetFolder, uniqueNameCounter, deferred,
                                   index) == TransferOutcome::Done;
    });
    for (const auto& [index, removed] : deferred.finish()) {
        if (removed) {
            list.setName(index, std::string());
        } else {
            showMessage(kMoveFailedMessage);
        }
    }
    removeMarkedEntries(list);
}

void deleteTicked(TickList& list, const std::string& sourceFolder) {
    std::vector<int> chosen;
    for (int i = 0; i < list.count(); ++i) {
        if (list.ticked(i)) {
            chosen.push_back(i);
        }
    }
    for (int index : deleteEntries(list, sourceFolder, chosen)) {
        list.setName(index, std::string());
    }
    removeMarkedEntries(list);
}

void deleteAllListed(TickList& list, const std::string& sourceFolder) {
    std::vector<int> every(static_cast<std::size_t>(list.count()));
    std::iota(every.begin(), every.end(), 0);
    deleteEntries(list, sourceFolder, every);
    list.clear();
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
