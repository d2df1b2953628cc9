// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderOperations.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/HostFiles.h"
#include "platform/MountIdentity.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

namespace fs = std::filesystem;

// The canonical host path, or the path as given when it cannot be resolved.
std::string canonicalHost(const std::string& hostPath) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(hostPath, error);
    return error ? hostPath : canonical.string();
}

bool contains(const std::string& folder, const std::string& inner) {
    return folder == "/" || inner == folder || inner.starts_with(folder + "/");
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        home = g_get_home_dir();
    }
    return home ? canonicalHost(home) : std::string();
}

// What a copy of a tree is made with: how far it has come, and the mount its destination was
// on when the move began, asked again before anything is written there.
struct TreeCopy {
    std::int64_t done = 0;
    std::int64_t total = 0;
    const FolderProgress& progress;
    const FolderMount& destination;
};

FsResult copyFolder(const fs::path& from, const fs::path& to, TreeCopy& copy);

// Copies what is inside `from` into the existing folder `to`, every file through the safe copy,
// every folder with its permission bits and times. Never throws: a folder that cannot be read
// fails the copy.
FsResult copyTreeContents(const fs::path& from, const fs::path& to, TreeCopy& copy) {
    std::error_code error;
    fs::directory_iterator it(from, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        const fs::path target = to / entry.path().filename();
        const fs::file_status status = entry.symlink_status(error);
        FsResult copied = copy.destination.check();
        if (!copied) {
            return copied;
        }
        if (error) {
            copied = FsResult::failure(error.value());
        } else if (fs::is_symlink(status)) {
            fs::copy_symlink(entry.path(), target, error);
            copied = error ? FsResult::failure(error.value()) : FsResult::success();
        } else if (fs::is_directory(status)) {
            copied = copyFolder(entry.path(), target, copy);
        } else if (fs::is_regular_file(status)) {
            copied = host::copyFileNoReplace(entry.path().string(), target.string());
            copy.done += static_cast<std::int64_t>(entry.file_size(error));
        } else {
            copied = FsResult::failure(ENOTSUP);  // fifos and devices do not travel
        }
        if (!copied) {
            return copied;
        }
        if (copy.progress && !copy.progress(copy.done, copy.total)) {
            return FsResult::failure(ECANCELED);
        }
    }
    return error ? FsResult::failure(error.value()) : FsResult::success();
}

// Makes the folder `to` and copies `from` into it; the folder's times are set last, as every
// entry made in it changes them.
FsResult copyFolder(const fs::path& from, const fs::path& to, TreeCopy& copy) {
    const auto source = host::identify(from.string());
    if (!source) {
        return FsResult::fromErrno();
    }
    if (FsResult mounted = copy.destination.check(); !mounted) {
        return mounted;
    }
    if (::mkdir(to.c_str(), 0700) != 0) {
        return FsResult::fromErrno();
    }
    if (FsResult copied = copyTreeContents(from, to, copy); !copied) {
        return copied;
    }
    return host::copyAttributes(to.string(), *source);
}

std::int64_t treeSize(const fs::path& root) {
    std::int64_t total = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) {
            total += static_cast<std::int64_t>(it->file_size(error));
        }
    }
    return total;
}

// The whole tree is checked to be removable before anything is copied, copied under a hidden
// temporary name that only a complete copy leaves, flushed, and only then is the source
// removed. A failure before that point removes the partial copy and leaves the source whole.
// Once the destination lies on another volume than when the move began (its card was taken
// out), nothing more is written there and the source stays whole; what was copied before is no
// longer on the folder's path, so nothing is removed there either (another card may be in its
// place).
FsResult moveTreeAcrossFileSystems(const std::string& from, const std::string& to,
                                   const FolderProgress& progress, const FolderMount& destination,
                                   int& leftoversKept) {
    if (FsResult removable = host::checkTreeRemovable(from); !removable) {
        return removable;
    }
    const std::string folder = host::hostFolderOf(to);
    leftoversKept = static_cast<int>(host::removeStaleTemporaries(folder).size());
    const std::string temporary = host::temporaryNameIn(folder);
    FsResult moved = FsResult::success();
    try {
        TreeCopy copy{0, treeSize(from), progress, destination};
        moved = copyFolder(from, temporary, copy);
    } catch (const std::exception&) {
        moved = FsResult::failure(ENOMEM);
    }
    if (moved) {
        moved = host::flushFileSystemOf(temporary);
    }
    if (moved) {
        moved = destination.check();
    }
    if (moved) {
        moved = host::renameNoReplace(temporary, to);
    }
    std::error_code ignored;
    if (!moved) {
        if (destination.check().error() == ENODEV) {
            return FsResult::failure(ENODEV);  // a failure while the volume went is its doing
        }
        fs::remove_all(temporary, ignored);  // only the partial copy this move made
        return moved;
    }
    // The tree's name must be on the disk before the source goes: a power cut in between would
    // leave it only under its hidden name. Where that cannot be made sure, the move fails and
    // the source stays the only one.
    if (FsResult named = host::flushToDisk(folder); !named) {
        fs::remove_all(to, ignored);
        return named;
    }
    // A flush of the folder left behind by a card taken out succeeds as well: the volume is
    // asked once more, so that the source never goes for a copy that may not be there.
    if (FsResult mounted = destination.check(); !mounted) {
        return mounted;
    }
    // Every file has arrived: a source that cannot be removed in full after all (it changed
    // since the check) stays where it is beside the complete copy, and the move counts as done.
    fs::remove_all(from, ignored);
    return FsResult::success();
}

// "Name", "Name (2)", "Name (3)"... the first that is free in `folder`.
std::string freeFolderName(const std::string& folder, const std::string& name) {
    std::string candidate = joinPath(folder, name);
    for (int n = 2; fileExists(candidate) || directoryExists(candidate); ++n) {
        candidate = joinPath(folder, name + " (" + std::to_string(n) + ")");
    }
    return candidate;
}

}  // namespace

bool isProtectedFolder(const std::string& path) {
    if (path.empty() || isDriveRoot(path) || path.size() <= 3) {
        return true;
    }
    const auto host = hostPathOf(path);
    if (!host) {
        return true;
    }
    const std::string folder = canonicalHost(*host);
    if (folder == "/" || contains(folder, homeFolder())) {
        return true;
    }
    const auto drives = activeDriveTable();
    for (const Drive& drive : drives->drives()) {
        // A lettered volume's root is a mount point the kernel listed, canonical already;
        // resolving it again would wait on a volume that hangs.
        const std::string root = drive.volume ? drive.hostRoot : canonicalHost(drive.hostRoot);
        if (contains(folder, root)) {
            return true;
        }
    }
    return false;
}

FsResult trashFolder(const std::string& path) {
    return moveToTrash(path);
}

FsResult deleteFolderTree(const std::string& path) {
    const auto host = hostPathOf(path);
    if (!host || !directoryExists(path)) {
        return FsResult::failure(ENOENT);
    }
    // Nothing goes unless everything can: a half-deleted folder is the worst outcome.
    if (FsResult removable = host::checkTreeRemovable(*host); !removable) {
        return removable;
    }
    std::error_code error;
    fs::remove_all(*host, error);
    return error ? FsResult::failure(error.value()) : FsResult::success();
}

FsResult moveFolderInto(const std::string& path, const std::string& destinationFolder,
                        std::string& movedTo, const FolderProgress& progress, int* leftoversKept) {
    const FolderMount destinationMount(destinationFolder);
    const auto from = hostPathOf(path);
    const auto into = hostPathOf(destinationFolder);
    if (!from || !into || !directoryExists(path) || !directoryExists(destinationFolder)) {
        return FsResult::failure(ENOENT);
    }
    if (contains(canonicalHost(*from), canonicalHost(*into))) {
        return FsResult::failure(EINVAL);
    }
    const auto parent = host::identify(host::hostFolderOf(*from), host::LinkMode::Follow);
    const auto destination = host::identify(*into, host::LinkMode::Follow);
    if (parent && destination && parent->sameFileAs(*destination)) {
        return FsResult::failure(EALREADY);  // it is where it is to go: nothing to do
    }
    const std::string target = freeFolderName(destinationFolder, extractFileName(path));
    const auto to = hostPathOf(target);
    if (!to) {
        return FsResult::failure(ENOENT);
    }
    FsResult moved = destinationMount.check();
    if (moved) {
        moved = host::renameNoReplace(*from, *to);
    }
    int kept = 0;
    if (!moved && moved.error() == EXDEV) {
        moved = moveTreeAcrossFileSystems(*from, *to, progress, destinationMount, kept);
    }
    if (leftoversKept) {
        *leftoversKept = kept;
    }
    if (moved) {
        movedTo = target;
    }
    return moved;
}

}  // namespace pictaria
