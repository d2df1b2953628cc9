// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UndoStep.h"

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

std::uint64_t mountOf(const std::string& pathText) {
    return pathText.empty() ? 0 : mountIdentityOf(extractFileDir(pathText));
}

}  // namespace

void noteMounts(UndoStep& step) {
    if (step.records.empty()) {
        return;
    }
    step.nowMount = mountOf(step.records.front().now);
    step.beforeMount = mountOf(step.records.front().before);
}

std::optional<std::string> folderOnAnotherMount(const UndoStep& step) {
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
    const std::string& path = intoBefore ? step.records.front().before : step.records.front().now;
    const std::uint64_t noted = intoBefore ? step.beforeMount : step.nowMount;
    if (noted == 0 || mountOf(path) == noted) {
        return std::nullopt;
    }
    return extractFileDir(path);
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

UndoRecord undoRecord(std::string now, std::string before, int entry, bool ticked) {
    UndoRecord record;
    record.stamp = fileStamp(now);
    record.now = std::move(now);
    record.before = std::move(before);
    record.entry = entry;
    record.ticked = ticked;
    return record;
}

}  // namespace pictaria
