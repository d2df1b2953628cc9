// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileServices.h"

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/DesktopTrash.h"
#include "platform/DriveTable.h"
#include "platform/FileIo.h"
#include "platform/HostFiles.h"

namespace pictaria {

namespace {

std::string& currentDirText() {
    static std::string text;
    return text;
}

// The status of what the path names; of a link itself when `followLink` is false.
std::optional<struct stat> statPath(std::string_view path, bool followLink = true) {
    const auto host = hostPathOf(path);
    struct stat st {};
    if (path.empty() || !host ||
        (followLink ? ::stat(host->c_str(), &st) : ::lstat(host->c_str(), &st)) != 0) {
        return std::nullopt;
    }
    return st;
}

long long nanoseconds(const struct timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

FileStamp stampOf(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<long long>(st.st_size), nanoseconds(st.st_mtim)};
}

}  // namespace

bool fileExists(std::string_view path) {
    const auto st = statPath(path);
    return st && !S_ISDIR(st->st_mode);
}

bool directoryExists(std::string_view path) {
    const auto st = statPath(path);
    return st && S_ISDIR(st->st_mode);
}

FsResult setCurrentDir(std::string_view path) {
    const FsResult entered = enterableDir(path);
    if (entered) {
        adoptCurrentDir(path);
    }
    return entered;
}

FsResult enterableDir(std::string_view path) {
    const auto host = hostPathOf(path);
    if (!host || path.empty()) {
        return FsResult::failure(ENOENT);
    }
    // The process's own working folder stays where it is: one on a card would keep the card busy,
    // so that the desktop could not remove it safely. The folder is checked as entering it would.
    struct stat st {};
    if (::stat(host->c_str(), &st) != 0) {
        return FsResult::fromErrno();
    }
    if (!S_ISDIR(st.st_mode)) {
        return FsResult::failure(ENOTDIR);
    }
    if (::access(host->c_str(), X_OK) != 0) {
        return FsResult::fromErrno();
    }
    return FsResult::success();
}

void adoptCurrentDir(std::string_view path) {
    currentDirText() = std::string(path);
}

std::string currentDir() {
    // Until a folder is set, the folder the process started in, in drive-letter form.
    if (currentDirText().empty()) {
        char buffer[kMaxPathBytes];
        if (::getcwd(buffer, sizeof buffer)) {
            currentDirText() = activeDriveTable()->fromHost(buffer).value_or("C:\\");
        }
    }
    return currentDirText();
}

FsResult createDir(std::string_view path) {
    const auto host = hostPathOf(path);
    if (!host || path.empty()) {
        return FsResult::failure(ENOENT);
    }
    return ::mkdir(host->c_str(), 0777) == 0 ? FsResult::success() : FsResult::fromErrno();
}

FsResult deleteFile(std::string_view path) {
    const auto host = hostPathOf(path);
    if (!host || path.empty()) {
        return FsResult::failure(ENOENT);
    }
    if (directoryExists(path)) {
        return FsResult::failure(EISDIR);
    }
    return fileIo().removeFile(host->c_str()) == 0 ? FsResult::success() : FsResult::fromErrno();
}

FsResult moveFile(std::string_view from, std::string_view to) {
    return onHostPaths(from, to, host::moveFileNoReplace);
}

FsResult renameFile(std::string_view from, std::string_view to) {
    return onHostPaths(from, to, host::renameNoReplace);
}

FsResult moveFileByCopy(std::string_view from, std::string_view to) {
    return onHostPaths(from, to, host::moveFileByCopy);
}

FsResult copyFile(std::string_view from, std::string_view to) {
    return onHostPaths(from, to, host::copyFileNoReplace);
}

long long fileSize(std::string_view path) {
    const auto st = statPath(path);
    return st ? static_cast<long long>(st->st_size) : -1;
}

FileStamp fileStamp(std::string_view path) {
    const auto st = statPath(path, false);
    return st ? stampOf(*st) : FileStamp{};
}

ContentStamp contentStamp(std::string_view path) {
    const auto st = statPath(path);
    return st ? ContentStamp{stampOf(*st), nanoseconds(st->st_ctim)} : ContentStamp{};
}

FsResult moveToTrash(std::string_view path) {
    const auto host = hostPathOf(path);
    if (!host || path.empty()) {
        return FsResult::failure(ENOENT);
    }
    return DesktopTrash::moveToTrash(*host);
}

FsResult restoreFromTrash(std::string_view originalPath, const FileStamp& stamp, bool folder,
                          std::string_view toPath) {
    return onHostPaths(originalPath, toPath, [&](const std::string& from, const std::string& to) {
        return DesktopTrash::restore(from, stamp, folder, to);
    });
}

FsResult removeEmptyDir(std::string_view path) {
    const auto host = hostPathOf(path);
    if (!host || path.empty()) {
        return FsResult::failure(ENOENT);
    }
    return ::rmdir(host->c_str()) == 0 ? FsResult::success() : FsResult::fromErrno();
}

int removeLeftovers(std::string_view folder) {
    if (const auto host = hostPathOf(folder)) {
        return static_cast<int>(host::removeStaleTemporaries(*host).size());
    }
    return 0;
}

}  // namespace pictaria
