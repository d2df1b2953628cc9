// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UndoBatch.h"

#include <cerrno>
#include <utility>

#include "fileops/DeleteBatch.h"
#include "fileops/UniqueName.h"
#include "platform/FolderOperations.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

// A file must be as the command left it; a folder only the same folder (what is inside it may
// have changed, and goes along).
bool unchanged(const UndoRecord& record, bool folder) {
    const FileStamp now = fileStamp(record.now);
    if (folder) {
        return now.inode != 0 && now.device == record.stamp.device &&
               now.inode == record.stamp.inode;
    }
    return now.inode != 0 && now == record.stamp;
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

// Done at `backAt`, under a new name when that is not `wanted`; or failed with the reason.
FileOutcome finished(FileOutcome outcome, const FsResult& result, const std::string& backAt,
                     const std::string& wanted, bool fromTrash = false) {
    if (!result) {
        return failed(std::move(outcome), result,
                      fromTrash && result.error() == ENOENT
                          ? kNotInTrashMessage
                          : kUndoFailedMessage + result.message());
    }
    if (backAt != wanted) {
        outcome.result = FileResult::DoneUnderNewName;
        outcome.newName = extractFileName(backAt);
    }
    return outcome;
}

}  // namespace

UndoBatch::UndoBatch(UndoStep step, int uniqueNameCounter)
    : step_(std::move(step)), counter_(uniqueNameCounter) {}

void UndoBatch::run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                    const ProgressReport& progress) {
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < step_.records.size(); ++i) {
        items.push_back({static_cast<int>(i), extractFileName(step_.records[i].now)});
    }
    runEachItem(items, stop, outcome, progress, [this](const BatchItem& item) {
        return undoOne(step_.records[static_cast<std::size_t>(item.entry)]);
    });
}

// The path itself when nothing is there, else the first free name of the usual numbering.
std::string UndoBatch::freePathFor(const std::string& path) {
    if (!fileExists(path) && !directoryExists(path)) {
        return path;
    }
    return makeUniqueName(path, counter_);
}

FileOutcome UndoBatch::undoOne(const UndoRecord& record) {
    FileOutcome outcome = outcomeOf(extractFileName(record.now), FileResult::Done);
    const bool folder = step_.isFolderCommand();
    const bool deleted = step_.kind == UndoKind::Delete || step_.kind == UndoKind::DeleteFolder;
    if (!deleted && !unchanged(record, folder)) {
        return failed(std::move(outcome), FsResult::failure(ESTALE), kChangedSinceMessage);
    }
    switch (step_.kind) {
    case UndoKind::Copy: {
        FsResult trashed = moveToTrash(record.now);
        if (trashed.error() == ENOTSUP && isTwinOf(record.now, record.before)) {
            trashed = deleteFile(record.now);  // where no trash is, a twin of a kept original
        }
        return trashed ? outcome
                       : failed(std::move(outcome), trashed,
                                kTrashFailedMessage + trashed.message());
    }
    case UndoKind::Move:
    case UndoKind::AttachText: {
        const std::string back = freePathFor(record.before);
        return finished(std::move(outcome), moveFile(record.now, back), back, record.before);
    }
    case UndoKind::Delete: {
        const std::string back = freePathFor(record.now);
        return finished(std::move(outcome),
                        restoreFromTrash(record.now, record.stamp, false, back), back, record.now,
                        true);
    }
    case UndoKind::NewFolder: {
        const FsResult removed = removeEmptyDir(record.now);
        if (!removed && (removed.error() == ENOTEMPTY || removed.error() == EEXIST)) {
            return failed(std::move(outcome), removed, kChangedSinceMessage);
        }
        return finished(std::move(outcome), removed, record.now, record.now);
    }
    case UndoKind::RenameFolder:
        return finished(std::move(outcome), renameFile(record.now, record.before), record.before,
                        record.before);
    case UndoKind::MoveFolder: {
        std::string movedTo;
        const FsResult moved = moveFolderInto(record.now, extractFileDir(record.before), movedTo);
        return finished(std::move(outcome), moved, movedTo, record.before);
    }
    case UndoKind::DeleteFolder: {
        return finished(std::move(outcome),
                        restoreFromTrash(record.now, record.stamp, true, record.now), record.now,
                        record.now, true);
    }
    }
    return outcome;
}

}  // namespace pictaria
