// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileTransfer.h"

#include <cerrno>

#include "fileops/UniqueName.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

std::string destinationPath(const std::string& targetFolder, const std::string& subPath,
                            const std::string& sourcePath) {
    return joinPath(targetFolder, subPath + extractFileName(sourcePath));
}

FileOutcome failed(const std::string& name, FsResult reason, const char* message) {
    FileOutcome outcome;
    outcome.name = name;
    outcome.result = FileResult::Failed;
    outcome.reason = reason;
    outcome.message = message ? message : "";
    return outcome;
}

FileOutcome arrived(const std::string& name, const std::string& destination) {
    FileOutcome outcome;
    outcome.name = name;
    outcome.newName = extractFileName(destination);
    outcome.result = outcome.newName == name ? FileResult::Done : FileResult::DoneUnderNewName;
    return outcome;
}

// The byte-copy route; with `deferred`, a move leaves its source for the batch to remove.
FileOutcome copyBytes(TransferMode mode, const std::string& source, const std::string& destination,
                      DeferredMoves* deferred, int tag, bool& awaitingRemoval) {
    FsResult result = FsResult::success();
    if (mode == TransferMode::Copy) {
        result = copyFile(source, destination);
    } else if (deferred) {
        result = deferred->copy(source, destination, tag);
    } else {
        result = moveFileByCopy(source, destination);
    }
    const std::string name = extractFileName(source);
    if (!result) {
        return transferFailure(mode, name, result);  // a full card, a name it cannot take...
    }
    awaitingRemoval = mode == TransferMode::Move && deferred;
    return arrived(name, destination);
}

FileOutcome transfer(TransferMode mode, const std::string& sourcePath, const std::string& subPath,
                     const std::string& targetFolder, int& uniqueNameCounter,
                     DeferredMoves* deferred, int tag, bool& awaitingRemoval) {
    awaitingRemoval = false;
    const std::string name = extractFileName(sourcePath);
    if (!fileExists(sourcePath) || !directoryExists(targetFolder)) {
        return failed(name, FsResult::failure(ENOENT), kMissingFileOrFolderMessage);
    }
    // A batch's copies get their names only at its end: the names promised to them are taken.
    const auto promised = [deferred](const std::string& path) {
        return deferred && deferred->willName(path);
    };
    const std::string destination = makeUniqueName(
        destinationPath(targetFolder, subPath, sourcePath), uniqueNameCounter, promised);

    const bool sameDrive = !destination.empty() && sourcePath.front() == destination.front();
    if (mode == TransferMode::Move && sameDrive) {
        const FsResult renamed = renameFile(sourcePath, destination);
        // One drive letter can span several file systems here; there the rename becomes the
        // same all-or-nothing copy as between two drives.
        if (renamed.error() == EXDEV) {
            return copyBytes(mode, sourcePath, destination, deferred, tag, awaitingRemoval);
        }
        return renamed ? arrived(name, destination) : transferFailure(mode, name, renamed);
    }
    return copyBytes(mode, sourcePath, destination, deferred, tag, awaitingRemoval);
}

}  // namespace

FileOutcome transferFailure(TransferMode mode, const std::string& name, FsResult reason) {
    const std::string message =
        mode == TransferMode::Move ? kMoveFailedMessage : kCopyFailedMessage;
    return failed(name, reason, (message + "\n" + reason.message()).c_str());
}

FileOutcome transferFile(TransferMode mode, const std::string& sourcePath,
                         const std::string& subPath, const std::string& targetFolder,
                         int& uniqueNameCounter) {
    bool awaitingRemoval = false;
    return transfer(mode, sourcePath, subPath, targetFolder, uniqueNameCounter, nullptr, 0,
                    awaitingRemoval);
}

FileOutcome transferFileInBatch(TransferMode mode, const std::string& sourcePath,
                                const std::string& subPath, const std::string& targetFolder,
                                int& uniqueNameCounter, DeferredMoves& deferred, int tag,
                                bool& awaitingRemoval) {
    return transfer(mode, sourcePath, subPath, targetFolder, uniqueNameCounter, &deferred, tag,
                    awaitingRemoval);
}

}  // namespace pictaria
