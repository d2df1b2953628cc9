// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/FolderCommands.h"

#include <cerrno>

#include "platform/FileServices.h"
#include "platform/MountIdentity.h"
#include "platform/PathText.h"
#include "widgets/StringGrid.h"

namespace pictaria {

namespace {

bool fitsPathLimit(const std::string& path) {
    return path.size() <= kMaxPathBytes;
}

// The trash first, once the user agreed; deleting for good only where no trash can take the
// folder and the user agrees to that too.
FsResult removeTree(const std::string& folder, const FolderQuestion& ask, bool& inTrash) {
    if (!ask(kMoveToTrashQuestion + folder)) {
        return FsResult::failure(ECANCELED);
    }
    const FsResult trashed = trashFolder(folder);
    if (trashed.error() != ENOTSUP) {
        inTrash = trashed.ok();
        return trashed;  // done, or a reason that a delete for good would not escape either
    }
    if (!ask(kDeleteForGoodQuestion + folder)) {
        return FsResult::failure(ECANCELED);
    }
    return deleteFolderTree(folder);
}

// A failure with its reason after `message`; a command the user stopped is told nothing.
FolderOutcome told(const char* message, const FsResult& result) {
    FolderOutcome outcome{result, {}};
    if (!result && result.error() != ECANCELED) {
        outcome.message = message + result.message();
    }
    return outcome;
}

FolderOutcome refused(const char* message) {
    return FolderOutcome{FsResult::failure(EPERM), message};
}

// What the user is told of a folder move that did not happen.
FolderOutcome moveFailure(const FsResult& moved, const std::string& destination) {
    switch (moved.error()) {
        case EINVAL:
            return FolderOutcome{moved, kMoveIntoItselfMessage};
        case EALREADY:
            return FolderOutcome{moved, kAlreadyThereMessage};  // nothing was moved
        case ENODEV:
            return FolderOutcome{moved, folderVolumeGoneMessage(destination)};
        default:
            return told(kMoveFailedMessage, moved);
    }
}

}  // namespace

std::string folderVolumeGoneMessage(const std::string& destination) {
    return takenOutMessage(destination, "フォルダを移動しませんでした。");
}

bool isFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/") == std::string::npos && name.size() <= kMaxNameBytes;
}

bool createFolderIn(const std::string& parent, const std::string& name, std::string& created) {
    const std::string path = joinPath(parent, name);
    if (!isFolderName(name) || !fitsPathLimit(path) || !createDir(path)) {
        return false;
    }
    created = path;
    return true;
}

void putIntoFirstEmptyCell(StringGrid& grid, const std::string& name) {
    for (int row = 0; row < grid.rowCount(); ++row) {
        for (int col = 0; col < grid.colCount(); ++col) {
            if (grid.cells(col, row).empty()) {
                grid.setCells(col, row, name);
                return;
            }
        }
    }
    grid.setRowCount(grid.rowCount() + 1);
    grid.setCells(0, grid.rowCount() - 1, name);
}

FolderOutcome deleteChosenFolder(const std::string& folder, const std::string& pagePath,
                                 const FolderQuestion& ask) {
    if (folder == pagePath) {
        return refused(kChooseFolderToDeleteMessage);
    }
    if (isProtectedFolder(folder)) {
        return refused(kProtectedFromDeleteMessage);  // said why, not as if nothing were chosen
    }
    // The folder to delete must not hold the current folder.
    setCurrentDir(isInsideFolder(pagePath, folder) ? extractFileDir(folder) : pagePath);
    bool inTrash = false;
    FolderOutcome outcome = told(kDeleteFailedMessage, removeTree(folder, ask, inTrash));
    outcome.inTrash = inTrash;
    return outcome;
}

bool renameFolder(const std::string& folder, const std::string& pagePath, const std::string& name,
                  std::string& renamedTo) {
    const std::string newPath = joinPath(pagePath, name);
    if (newPath == folder || !isFolderName(name) || !fitsPathLimit(newPath) ||
        isProtectedFolder(folder)) {
        return false;
    }
    setCurrentDir(extractFileDir(folder));
    if (!renameFile(folder, newPath)) {
        return false;
    }
    renamedTo = newPath;
    return true;
}

bool isInsideFolder(const std::string& path, const std::string& folder) {
    return path == folder || path.starts_with(folder + "\\");
}

std::string renamedPath(const std::string& path, const std::string& oldFolder,
                        const std::string& newFolder) {
    if (!isInsideFolder(path, oldFolder)) {
        return path;
    }
    return newFolder + path.substr(oldFolder.size());
}

FolderOutcome moveChosenFolder(const std::string& folder, const std::string& destination,
                               std::string& movedTo, const ProgressScope& during) {
    if (isProtectedFolder(folder)) {
        return refused(kProtectedFromMoveMessage);
    }
    int leftoversKept = 0;
    const FsResult moved = during([&](const FolderProgress& progress) {
        return moveFolderInto(folder, destination, movedTo, progress, &leftoversKept);
    });
    FolderOutcome outcome = moved ? FolderOutcome{moved, {}} : moveFailure(moved, destination);
    outcome.leftoversKept = leftoversKept;
    return outcome;
}

}  // namespace pictaria
