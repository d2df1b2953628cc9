#include "platform/FolderOperations.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/DesktopTrash.h"
#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/HostFiles.h"
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

// Copies what is inside `from` into the existing folder `to`, every file through the safe copy.
FsResult copyTreeContents(const fs::path& from, const fs::path& to, std::int64_t& done,
                          std::int64_t total, const FolderProgress& progress) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const fs::path target = to / entry.path().filename();
        const fs::file_status status = entry.symlink_status();
        FsResult copied = FsResult::success();
        if (fs::is_symlink(status)) {
            fs::copy_symlink(entry.path(), target, error);
            copied = error ? FsResult::failure(error.value()) : FsResult::success();
        } else if (fs::is_directory(status)) {
            copied = fs::create_directory(target, error) && !error
                         ? copyTreeContents(entry.path(), target, done, total, progress)
                         : FsResult::failure(error ? error.value() : EEXIST);
        } else if (fs::is_regular_file(status)) {
            copied = host::copyFileNoReplace(entry.path().string(), target.string());
            done += static_cast<std::int64_t>(entry.file_size(error));
        } else {
            copied = FsResult::failure(ENOTSUP);  // fifos and devices do not travel
        }
        if (!copied) {
            return copied;
        }
        if (progress && !progress(done, total)) {
            return FsResult::failure(ECANCELED);
        }
    }
    return error ? FsResult::failure(error.value()) : FsResult::success();
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

FsResult moveTreeAcrossFileSystems(const std::string& from, const std::string& to,
                                   const FolderProgress& progress) {
    std::error_code error;
    if (!fs::create_directory(to, error) || error) {
        return FsResult::failure(error ? error.value() : EEXIST);
    }
    std::int64_t done = 0;
    const FsResult copied = copyTreeContents(from, to, done, treeSize(from), progress);
    if (!copied) {
        fs::remove_all(to, error);  // only the partial copy this move made
        return copied;
    }
    host::flushFileSystemOf(to);
    fs::remove_all(from, error);
    return error ? FsResult::failure(error.value()) : FsResult::success();
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
    for (const Drive& drive : activeDriveTable().drives()) {
        if (contains(folder, canonicalHost(drive.hostRoot))) {
            return true;
        }
    }
    return false;
}

FsResult trashFolder(const std::string& path) {
    const auto host = hostPathOf(path);
    if (!host) {
        return FsResult::failure(ENOENT);
    }
    return DesktopTrash::moveToTrash(*host);
}

FsResult deleteFolderTree(const std::string& path) {
    const auto host = hostPathOf(path);
    if (!host || !directoryExists(path)) {
        return FsResult::failure(ENOENT);
    }
    std::error_code error;
    fs::remove_all(*host, error);
    return error ? FsResult::failure(error.value()) : FsResult::success();
}

FsResult moveFolderInto(const std::string& path, const std::string& destinationFolder,
                        std::string& movedTo, const FolderProgress& progress) {
    const auto from = hostPathOf(path);
    const auto into = hostPathOf(destinationFolder);
    if (!from || !into || !directoryExists(path) || !directoryExists(destinationFolder)) {
        return FsResult::failure(ENOENT);
    }
    if (contains(canonicalHost(*from), canonicalHost(*into))) {
        return FsResult::failure(EINVAL);
    }
    const std::string target = freeFolderName(destinationFolder, extractFileName(path));
    const auto to = hostPathOf(target);
    if (!to) {
        return FsResult::failure(ENOENT);
    }
    FsResult moved = host::renameNoReplace(*from, *to);
    if (!moved && moved.error() == EXDEV) {
        moved = moveTreeAcrossFileSystems(*from, *to, progress);
    }
    if (moved) {
        movedTo = target;
    }
    return moved;
}

}  // namespace pictaria
