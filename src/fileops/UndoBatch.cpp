// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UndoBatch.h"

#include <cerrno>
#include <utility>

#include "fileops/DeleteBatch.h"
#include "fileops/UniqueName.h"
#include "platform/FolderOperations.h"
#include "platform/MountIdentity.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

// A file must be as the command left it; a folder only the same folder (what is inside it may
// have changed, and goes along).
bool unchanged(const UndoRecord& record, bool folder) {
    return sameAsNoted(fileStamp(record.now), record.stamp, folder);
}

// Makes `folder` and those above it that are missing.
FsResult makeFolderWithParents(const std::string& folder) {
    if (directoryExists(folder)) {
        return FsResult::success();
    }
    const std::string parent = extractFileDir(folder);
    if (parent == folder) {
        return FsResult::failure(ENOENT);
    }
    const FsResult above = makeFolderWithParents(parent);
    return above ? createDir(folder) : above;
}

// A copy whose original is still there as it was copied (a copy keeps its original's size and
// time) holds nothing the original does not.
bool isTwinOf(const std::string& copy, const std::string& original) {
    const FileStamp kept = fileStamp(original);
    const FileStamp made = fileStamp(copy);
    return !original.empty() && kept.inode != 0 && kept.size == made.size &&
           kept.modifiedNs == made.modifiedNs;
}

FileOutcome failed(FileOutcome outcome, FsResult reason, std::string message) {
    outcome.result = FileResult::Failed;
    outcome.reason = reason;
    outcome.message = std::move(message);
    return outcome;
}

FileOutcome failedWith(FileOutcome outcome, const FsResult& result, const char* message) {
    return failed(std::move(outcome), result, message + result.message());
}

// Done at `placed`, under a new name when that is not `wanted`; or failed with the reason.
FileOutcome finished(FileOutcome outcome, const FsResult& result, const std::string& placed,
                     const std::string& wanted) {
    if (!result) {
        return failedWith(std::move(outcome), result, kUndoFailedMessage);
    }
    outcome.newName = extractFileName(placed);
    if (placed != wanted) {
        outcome.result = FileResult::DoneUnderNewName;
    }
    return outcome;
}

// Where a record's file or folder is once its step has run.
std::string placedPath(const UndoRecord& record, UndoOperation operation,
                       const FileOutcome& outcome) {
    const std::string& wanted = operation == UndoOperation::PutBack ? record.before : record.now;
    return outcome.newName.empty() ? wanted : joinPath(extractFileDir(wanted), outcome.newName);
}

}  // namespace

std::string undoVolumeGoneMessage(const UndoStep& step) {
    const auto receiving = receivingFolder(step);
    return takenOutMessage(receiving ? receiving->path : std::string(),
                           step.redo ? "やり直しませんでした。" : "元に戻しませんでした。");
}

UndoBatch::UndoBatch(UndoStep step, int uniqueNameCounter)
    : step_(std::move(step)), counter_(uniqueNameCounter) {}

// The receiving folder's volume is asked again before each file is put there: a card taken out
// part way leaves its mount point behind as an empty folder of the disk below, and the rest of
// the files would go there. Once it went, nothing more is tried and the rest stay where they
// are, each failed with the reason.
void UndoBatch::run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                    const ProgressReport& progress) {
    prepareReceivingFolder();
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < step_.records.size(); ++i) {
        items.push_back({static_cast<int>(i), extractFileName(step_.records[i].now)});
    }
    bool volumeGone = false;
    const auto receivingGone = [&] {
        volumeGone = volumeGone || folderOnAnotherMount(step_).has_value();
        return volumeGone;
    };
    runEachItem(items, stop, outcome, progress, [&](const BatchItem& item) {
        const UndoRecord& record = step_.records[static_cast<std::size_t>(item.entry)];
        if (receivingGone()) {
            return notPutBack(record);
        }
        FileOutcome handled = runOne(record);
        return !handled.done() && receivingGone() ? notPutBack(record) : handled;
    });
}

FileOutcome UndoBatch::notPutBack(const UndoRecord& record) const {
    return failed(outcomeOf(extractFileName(record.now), FileResult::Failed),
                  FsResult::failure(ENODEV), undoVolumeGoneMessage(step_));
}

// Files go back where they were even when their folder was removed since (emptied by the very
// command taken back, most often): it is made again, but only on the volume that held it, never
// on another volume or an empty mount folder in its place. What a killed run of the program
// left in the folder is cleared first, as before any transfer into a folder.
void UndoBatch::prepareReceivingFolder() {
    const auto receiving = receivingFolder(step_);
    if (!receiving) {
        return;
    }
    if (!directoryExists(receiving->path) && receiving->mount != 0 &&
        !folderOnAnotherMount(step_)) {
        makeFolderWithParents(receiving->path);  // if it cannot be made, each file says why
    }
    leftoversKept_ = removeLeftovers(receiving->path);
}

// The path itself when nothing is there, else the first free name of the usual numbering.
std::string UndoBatch::freePathFor(const std::string& path) {
    if (!fileExists(path) && !directoryExists(path)) {
        return path;
    }
    return makeUniqueName(path, counter_);
}

FileOutcome UndoBatch::runOne(const UndoRecord& record) {
    FileOutcome outcome = outcomeOf(extractFileName(record.now), FileResult::Done);
    const bool folder = step_.isFolderCommand();
    const UndoOperation operation = operationOf(step_);
    const bool foundByItself =
        operation == UndoOperation::FromTrash || operation == UndoOperation::MakeFolder;
    if (!foundByItself && !unchanged(record, folder)) {
        return failed(std::move(outcome), FsResult::failure(ESTALE), kChangedSinceMessage);
    }
    switch (operation) {
        case UndoOperation::PutBack:
            return putBack(record, std::move(outcome));
        case UndoOperation::FromTrash:
            return fromTrash(record, std::move(outcome));
        case UndoOperation::ToTrash: {
            FsResult trashed = moveToTrash(record.now);
            if (trashed.error() == ENOTSUP && step_.kind == UndoKind::Copy &&
                isTwinOf(record.now, record.before)) {
                trashed = deleteFile(record.now);  // where no trash is, a twin of a kept original
            }
            return trashed ? outcome : failedWith(std::move(outcome), trashed, kTrashFailedMessage);
        }
        case UndoOperation::RemoveFolder: {
            const FsResult removed = removeEmptyDir(record.now);
            if (!removed && (removed.error() == ENOTEMPTY || removed.error() == EEXIST)) {
                return failed(std::move(outcome), removed, kChangedSinceMessage);
            }
            return removed ? outcome : failedWith(std::move(outcome), removed, kUndoFailedMessage);
        }
        case UndoOperation::MakeFolder: {
            const FsResult made = createDir(record.now);
            return made ? outcome : failedWith(std::move(outcome), made, kUndoFailedMessage);
        }
    }
    return outcome;
}

FileOutcome UndoBatch::putBack(const UndoRecord& record, FileOutcome outcome) {
    if (step_.kind == UndoKind::RenameFolder) {
        return finished(std::move(outcome), renameFile(record.now, record.before), record.before,
                        record.before);
    }
    if (step_.kind == UndoKind::MoveFolder) {
        // The folder moves under the name it has now (which its destination may have
        // numbered) and then takes its own name back, if that is free.
        std::string movedTo;
        const FsResult moved = moveFolderInto(record.now, extractFileDir(record.before), movedTo);
        if (moved && movedTo != record.before && renameFile(movedTo, record.before)) {
            movedTo = record.before;
        }
        return finished(std::move(outcome), moved, movedTo, record.before);
    }
    const std::string back = freePathFor(record.before);
    return finished(std::move(outcome), moveFile(record.now, back), back, record.before);
}

// A copy done again that is no longer in the trash is copied afresh from its original.
FileOutcome UndoBatch::fromTrash(const UndoRecord& record, FileOutcome outcome) {
    const bool folder = step_.isFolderCommand();
    const std::string back = folder ? record.now : freePathFor(record.now);
    FsResult restored = restoreFromTrash(record.now, record.stamp, folder, back);
    if (restored.error() == ENOENT && step_.kind == UndoKind::Copy && fileExists(record.before)) {
        restored = copyFile(record.before, back);
    } else if (restored.error() == ENOENT) {
        return failed(std::move(outcome), restored, kNotInTrashMessage);
    }
    return finished(std::move(outcome), restored, back, record.now);
}

UndoStep UndoBatch::reversed(const std::map<int, FileOutcome>& outcomes) const {
    UndoStep back{step_.kind, step_.sourceFolder, {}, !step_.redo};
    const UndoOperation operation = operationOf(step_);
    for (const auto& [index, outcome] : outcomes) {
        if (!outcome.done()) {
            continue;
        }
        const UndoRecord& record = step_.records[static_cast<std::size_t>(index)];
        const std::string placed = placedPath(record, operation, outcome);
        switch (operation) {
            case UndoOperation::PutBack:
                back.records.push_back(undoRecord(placed, record.now, record.entry, record.ticked));
                break;
            case UndoOperation::ToTrash:
            case UndoOperation::RemoveFolder:
                back.records.push_back(record);  // known in the trash by the stamp it had
                break;
            case UndoOperation::FromTrash:
            case UndoOperation::MakeFolder: {
                const std::string original = step_.kind == UndoKind::Copy ? record.before : placed;
                UndoRecord made = undoRecord(placed, original, record.entry, record.ticked);
                if (placed == record.now &&
                    !sameAsNoted(made.stamp, record.stamp, step_.isFolderCommand())) {
                    made.replaced = record.stamp;  // made afresh: another file to the system
                }
                back.records.push_back(std::move(made));
                break;
            }
        }
    }
    return back;
}

}  // namespace pictaria
