// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file and folder services, on path text. Each translates its path through the active drive
// table at the moment of the call; a path whose drive does not exist fails like a missing file.

#include <string>
#include <string_view>

#include "platform/DriveTable.h"
#include "platform/FsResult.h"

namespace pictaria {

// Longest name and path the host accepts (bytes).
inline constexpr std::size_t kMaxNameBytes = 255;
inline constexpr std::size_t kMaxPathBytes = 4096;

// True when a file (anything but a folder) exists at the path; a link is followed.
bool fileExists(std::string_view path);
// True when a folder exists at the path; a link to a folder counts.
bool directoryExists(std::string_view path);

// Makes the folder the process's current folder (host working directory included) and keeps
// its path text, which currentDir() returns unchanged.
FsResult setCurrentDir(std::string_view path);
std::string currentDir();
// The two halves of setCurrentDir, for a folder checked on another thread than the one that
// makes it current: whether it could be entered (any thread), and taking its path text as the
// current folder's without asking the disk again (only where currentDir is read).
FsResult enterableDir(std::string_view path);
void adoptCurrentDir(std::string_view path);

// Creates one folder level; fails when it exists or its parent is missing.
FsResult createDir(std::string_view path);
// Removes a file (never a folder).
FsResult deleteFile(std::string_view path);

// Moves a file or folder into the desktop's trash (restorable). ENOENT when it is missing,
// ENOTSUP where no trash can take it, else the reason it may not go (EACCES...).
FsResult moveToTrash(std::string_view path);

// What tells a file's present content from an earlier one: which file it is, its size and its
// modification time. A rename keeps all of them, so the stamp finds a file again after it was
// renamed (into the trash, say). A link is stamped as itself, never as what it points to: the
// commands move, rename and trash the link, and the trash is searched for it so. All zero for a
// file that cannot be read.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file that stays where it is, with its inode change time: every write moves
// that on and no user can set it back, so it tells a file rewritten in place whose modification
// time was put back. A rename and a change of owner or mode move it on as well, so nothing that
// follows a file through a rename compares it. It stamps what a reader of the path gets, so a
// link is followed (unlike FileStamp). All zero for a file that cannot be read.
struct ContentStamp {
    FileStamp file;
    long long changedNs = 0;

    bool operator==(const ContentStamp&) const = default;
};

// Takes what was trashed from `originalPath` out of the trash to `toPath`, never replacing;
// `stamp` (taken before the trash took it) tells which of the trashed items of that name.
// ENOENT when the trash does not hold it any more.
FsResult restoreFromTrash(std::string_view originalPath, const FileStamp& stamp, bool folder,
                          std::string_view toPath);

// Removes a folder only when it is empty (ENOTEMPTY otherwise).
FsResult removeEmptyDir(std::string_view path);

// Renames or moves a file or folder, never replacing an existing target. A file that cannot be
// renamed across file systems is copied completely and its source removed afterwards, all or
// nothing; a folder is not moved across file systems here (EXDEV).
FsResult moveFile(std::string_view from, std::string_view to);

// Renames a file or folder on its own file system only, never replacing (EXDEV across them).
FsResult renameFile(std::string_view from, std::string_view to);

// Moves a file by a complete copy and the removal of the source afterwards, all or nothing.
FsResult moveFileByCopy(std::string_view from, std::string_view to);

// Runs `operation` on the host paths of two path texts; a path without a drive fails like a
// missing file, a target path beyond the host's limit as too long.
template <typename Operation>
FsResult onHostPaths(std::string_view from, std::string_view to, Operation operation) {
    const auto hostFrom = hostPathOf(from);
    const auto hostTo = hostPathOf(to);
    if (!hostFrom || !hostTo || from.empty() || to.empty()) {
        return FsResult::failure(ENOENT);
    }
    if (hostTo->size() >= kMaxPathBytes) {
        return FsResult::failure(ENAMETOOLONG);
    }
    return operation(*hostFrom, *hostTo);
}

// Copies a file's bytes to a new file that must not exist yet; no partial file is ever left
// under the target's name.
FsResult copyFile(std::string_view from, std::string_view to);

// Clears the work in progress that an ended run of the program left in the folder into the
// trash (see host::removeStaleTemporaries); how many of them no trash took, so they stayed.
int removeLeftovers(std::string_view folder);

// The file's size in bytes, -1 when it cannot be read.
long long fileSize(std::string_view path);

FileStamp fileStamp(std::string_view path);
ContentStamp contentStamp(std::string_view path);

}  // namespace pictaria
