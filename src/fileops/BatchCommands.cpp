#include "fileops/BatchCommands.h"

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
    forEachTicked(list, [&](int, const std::string& name) {
        return deleteFile(joinPath(sourceFolder, name)).ok();
    });
    removeMarkedEntries(list);
}

void deleteAllListed(TickList& list, const std::string& sourceFolder) {
    for (int i = 0; i < list.count(); ++i) {
        deleteFile(joinPath(sourceFolder, list.name(i)));
    }
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
