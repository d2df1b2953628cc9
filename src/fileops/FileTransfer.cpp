#include "fileops/FileTransfer.h"

#include <cerrno>

#include "fileops/UniqueName.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

std::string destinationPath(const std::string& targetFolder, const std::string& subPath,
                            const std::string& sourcePath) {
    return joinPath(targetFolder, subPath + extractFileName(sourcePath));
}

// The byte-copy route; with `deferred`, a move leaves its source for the batch to remove.
TransferOutcome copyBytes(TransferMode mode, const std::string& source,
                          const std::string& destination, DeferredMoves* deferred, int tag) {
    FsResult result = FsResult::success();
    if (mode == TransferMode::Copy) {
        result = copyFile(source, destination);
    } else if (deferred) {
        result = deferred->copy(source, destination, tag);
    } else {
        result = moveFileByCopy(source, destination);
    }
    if (!result) {
        showMessage(mode == TransferMode::Move ? kMoveFailedMessage : kCopyFailedMessage);
        return TransferOutcome::Failed;
    }
    const bool awaitingRemoval = mode == TransferMode::Move && deferred;
    return awaitingRemoval ? TransferOutcome::AwaitingRemoval : TransferOutcome::Done;
}

TransferOutcome transfer(TransferMode mode, const std::string& sourcePath,
                         const std::string& subPath, const std::string& targetFolder,
                         int& uniqueNameCounter, DeferredMoves* deferred, int tag) {
    if (!fileExists(sourcePath) || !directoryExists(targetFolder)) {
        showMessage(kMissingFileOrFolderMessage);
        return TransferOutcome::Failed;
    }
    const std::string destination =
        makeUniqueName(destinationPath(targetFolder, subPath, sourcePath), uniqueNameCounter);

    const bool sameDrive = !destination.empty() && sourcePath.front() == destination.front();
    if (mode == TransferMode::Move && sameDrive) {
        const FsResult renamed = renameFile(sourcePath, destination);
        // One drive letter can span several file systems here; there the rename becomes the
        // same all-or-nothing copy as between two drives.
        if (renamed.error() == EXDEV) {
            return copyBytes(mode, sourcePath, destination, deferred, tag);
        }
        return renamed ? TransferOutcome::Done : TransferOutcome::Failed;
    }
    return copyBytes(mode, sourcePath, destination, deferred, tag);
}

}  // namespace

bool transferFile(TransferMode mode, const std::string& sourcePath, const std::string& subPath,
                  const std::string& targetFolder, int& uniqueNameCounter) {
    return transfer(mode, sourcePath, subPath, targetFolder, uniqueNameCounter, nullptr, 0) ==
           TransferOutcome::Done;
}

TransferOutcome transferFileInBatch(TransferMode mode, const std::string& sourcePath,
                                    const std::string& subPath, const std::string& targetFolder,
                                    int& uniqueNameCounter, DeferredMoves& deferred, int tag) {
    return transfer(mode, sourcePath, subPath, targetFolder, uniqueNameCounter, &deferred, tag);
}

}  // namespace pictaria
