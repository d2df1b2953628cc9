// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File operations on host paths that never lose or overwrite a file. The path-text services
// translate their arguments and call these.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FsResult.h"

namespace pictaria::host {

// Size, times, permission bits and identity of a file.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    std::int64_t accessedSeconds = 0;
    long accessedNanoseconds = 0;
    mode_t permissions = 0;  // the rwx bits for owner, group and others
    bool isDirectory = false;
    bool isRegular = false;

    bool sameFileAs(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
    bool unchangedSince(const FileIdentity& earlier) const {
        return sameFileAs(earlier) && size == earlier.size &&
               modifiedSeconds == earlier.modifiedSeconds &&
               modifiedNanoseconds == earlier.modifiedNanoseconds;
    }
};

enum class LinkMode { NoFollow, Follow };
std::optional<FileIdentity> identify(const std::string& path, LinkMode mode = LinkMode::NoFollow);

// Renames without ever replacing `to`. Where the file system refuses the no-replace flag (some
// FAT, exFAT and FUSE mounts), a file is linked under the new name and its old name removed,
// and where links are refused too the rename happens only after checking that `to` is free.
// Fails with EXDEV across file systems, like rename(2).
FsResult renameNoReplace(const std::string& from, const std::string& to);

// Copies the bytes of the file `from` to the new file `to`: written under a temporary name in
// `to`'s folder that is never more open than the source, checked against the source's size,
// given the source's times and permission bits (so a private picture stays private), its
// writing to disk started (so that on a journalling file system the name never reaches the disk
// before the data) and only then renamed into place without replacing. On any failure the
// temporary file is removed and `to` does not exist (EEXIST when it already did).
FsResult copyFileNoReplace(const std::string& from, const std::string& to);

// Moves a file: a rename where the file system allows it, else a move by copy as below.
FsResult moveFileNoReplace(const std::string& from, const std::string& to);

// Moves a regular file by the complete copy above, even where a rename would do: the copy is
// flushed to disk, named, its folder flushed, and the source removed once it is known to be
// unchanged and not the copy itself. All or nothing: where the source cannot be removed or a
// flush fails, the copy is removed again and the source stays the only one.
FsResult moveFileByCopy(const std::string& from, const std::string& to);

// The steps of a move by copy, for moving many files with one flush of each kind for all: the
// complete copy under a temporary name (`tempPath`) with its writing started (`source` receives
// the identity the source had); once the caller flushed it to disk, its name (nameCopy); once
// the caller flushed the folder, the removal of a source still unchanged and not the copy
// itself; where the source cannot go, its copy is removed. No step leaves a copy behind when
// it fails.
FsResult startMoveByCopy(const std::string& from, const std::string& to, FileIdentity& source,
                         std::string& tempPath);
FsResult finishMoveByCopy(const std::string& from, const std::string& to,
                          const FileIdentity& source);

// Gives the complete copy at `tempPath` its real name `to`, never replacing; where that fails,
// the copy is removed.
FsResult nameCopy(const std::string& tempPath, const std::string& to);

// Gives the file or folder at `path` the times and permission bits of `source`.
FsResult copyAttributes(const std::string& path, const FileIdentity& source);

// Flushes one file or folder (its entries) to disk.
FsResult flushToDisk(const std::string& path);

// Flushes the whole file system that holds the folder `path`, folder entries included.
FsResult flushFileSystemOf(const std::string& path);

// A fresh hidden name in `folder` for work in progress (".pictaria-<pid>-<n>.part"): a file or
// folder under it is complete only once renamed to its real name.
std::string temporaryNameIn(const std::string& folder);

// Clears, in `folder`, work in progress that this program left behind when it ended before
// finishing (its process is gone), into the desktop's trash, never deleting it: a power cut
// can leave a finished copy only under its hidden name after its source was removed (by an
// earlier version, or a disk that did not keep what it said it had flushed), and then it is
// the only copy. Where no trash takes it, it stays: the paths of what stayed are returned, for
// the user to be told. Work of running instances is left alone.
std::vector<std::string> removeStaleTemporaries(const std::string& folder);

// True when the file or folder at `path` may be taken out of its folder by this process (the
// folder is writable, and its sticky bit, if set, does not protect the entry from us).
FsResult checkLeavesItsFolder(const std::string& path);

// True when everything in the tree at `path`, the tree's own folder included, can be removed
// by this process: every folder can be read and written, its parent written, and a folder with
// the sticky bit holds only entries of ours. Otherwise the reason (EACCES, EPERM...).
FsResult checkTreeRemovable(const std::string& path);

// A read-only descriptor of the regular file at a host path, -1 when there is none. A pipe or
// device carrying a file's name is refused without blocking: reading it could wait forever or
// never end.
int openRegularForReading(const std::string& path);

// The folder part of a host path ("." for a bare name).
std::string hostFolderOf(const std::string& path);

}  // namespace pictaria::host
