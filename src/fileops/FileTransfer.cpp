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

bool copyBytes(TransferMode mode, const std::string& source, const std::string& destination) {
    const FsResult result = mode == TransferMode::Move ? moveFileByCopy(source, destination)
                                                       : copyFile(source, destination);
    if (!result) {
        showMessage(mode == TransferMode::Move ? kMoveFailedMessage : kCopyFailedMessage);
    }
    return result.ok();
}

}  // namespace

bool transferFile(TransferMode mode, const std::string& sourcePath, const std::string& subPath,
                  const std::string& targetFolder, int& uniqueNameCounter) {
    if (!fileExists(sourcePath) || !directoryExists(targetFolder)) {
        showMessage(kMissingFileOrFolderMessage);
        return false;
    }
    const std::string destination =
        makeUniqueName(destinationPath(targetFolder, subPath, sourcePath), uniqueNameCounter);

    const bool sameDrive = !destination.empty() && sourcePath.front() == destination.front();
    if (mode == TransferMode::Move && sameDrive) {
        const FsResult renamed = renameFile(sourcePath, destination);
        // One drive letter can span several file systems here; there the rename becomes the
        // same all-or-nothing copy as between two drives.
        if (renamed.error() == EXDEV) {
            return copyBytes(mode, sourcePath, destination);
        }
        return renamed.ok();
    }
    return copyBytes(mode, sourcePath, destination);
}

}  // namespace pictaria
