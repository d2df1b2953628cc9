// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UndoStep.h"

#include <utility>

#include "platform/MountIdentity.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

const char* commandName(UndoKind kind) {
    switch (kind) {
        case UndoKind::Copy:
            return "コピー";
        case UndoKind::Move:
            return "移動";
        case UndoKind::Delete:
            return "削除";
        case UndoKind::AttachText:
            return "文字の添付";
        case UndoKind::NewFolder:
            return "フォルダ作成";
        case UndoKind::RenameFolder:
            return "フォルダ名の変更";
        case UndoKind::MoveFolder:
            return "フォルダ移動";
        case UndoKind::DeleteFolder:
            return "フォルダ削除";
    }
    return "";
}

// The mount that holds `folder`, or that would hold it if it were made again: a folder removed
// since is on the volume of the nearest folder above it that is still there.
std::uint64_t mountHolding(std::string folder) {
    while (!directoryExists(folder)) {
        std::string parent = extractFileDir(folder);
        if (parent == folder) {
            break;
        }
        folder = std::move(parent);
    }
    return folder.empty() ? 0 : mountIdentityOf(folder);
}

std::uint64_t mountOf(const std::string& pathText, const FolderMounts& known) {
    if (pathText.empty()) {
        return 0;
    }
    const std::string folder = extractFileDir(pathText);
    const auto noted = known.find(folder);
    return noted != known.end() ? noted->second : mountHolding(folder);
}

}  // namespace

FolderMounts mountsOf(const std::vector<std::string>& folders) {
    FolderMounts mounts;
    for (const std::string& folder : folders) {
        mounts[folder] = mountHolding(folder);
    }
    return mounts;
}

void noteMounts(UndoStep& step, const FolderMounts& known) {
    if (step.records.empty()) {
        return;
    }
    step.nowMount = mountOf(step.records.front().now, known);
    step.beforeMount = mountOf(step.records.front().before, known);
}

bool sameAsNoted(const FileStamp& now, const FileStamp& noted, bool folder) {
    if (folder) {
        return now.inode != 0 && now.device == noted.device && now.inode == noted.inode;
    }
    return now.inode != 0 && now == noted;
}

std::optional<ReceivingFolder> receivingFolder(const UndoStep& step) {
    if (step.records.empty()) {
        return std::nullopt;
    }
    const UndoOperation operation = operationOf(step);
    const bool intoBefore = operation == UndoOperation::PutBack;
    const bool intoNow =
        operation == UndoOperation::FromTrash || operation == UndoOperation::MakeFolder;
    if (!intoBefore && !intoNow) {
        return std::nullopt;
    }
    const UndoRecord& first = step.records.front();
    return ReceivingFolder{extractFileDir(intoBefore ? first.before : first.now),
                           intoBefore ? step.beforeMount : step.nowMount};
}

std::optional<std::string> folderOnAnotherMount(const UndoStep& step) {
    const auto receiving = receivingFolder(step);
    if (!receiving || receiving->mount == 0 || mountHolding(receiving->path) == receiving->mount) {
        return std::nullopt;
    }
    return receiving->path;
}

UndoOperation operationOf(const UndoStep& step) {
    switch (step.kind) {
        case UndoKind::Copy:
            return step.redo ? UndoOperation::FromTrash : UndoOperation::ToTrash;
        case UndoKind::Delete:
        case UndoKind::DeleteFolder:
            return step.redo ? UndoOperation::ToTrash : UndoOperation::FromTrash;
        case UndoKind::NewFolder:
            return step.redo ? UndoOperation::MakeFolder : UndoOperation::RemoveFolder;
        case UndoKind::Move:
        case UndoKind::AttachText:
        case UndoKind::RenameFolder:
        case UndoKind::MoveFolder:
            break;
    }
    return UndoOperation::PutBack;
}

std::string undoHint(const UndoStep& step) {
    std::string hint = commandName(step.kind);
    if (!step.isFolderCommand()) {
        hint += ' ';
        hint += std::to_string(step.records.size());
        hint += " 枚";
    }
    hint += step.redo ? "をやり直す" : "を元に戻す";
    return hint;
}

UndoRecord recordOf(const FileOutcome& outcome, std::string now, std::string before, int entry,
                    bool ticked) {
    UndoRecord record;
    record.stamp = outcome.stamp;
    record.now = std::move(now);
    record.before = std::move(before);
    record.entry = entry;
    record.ticked = ticked;
    return record;
}

UndoRecord undoRecord(std::string now, std::string before, int entry, bool ticked) {
    FileOutcome here;
    here.stamp = fileStamp(now);
    return recordOf(here, std::move(now), std::move(before), entry, ticked);
}

}  // namespace pictaria
