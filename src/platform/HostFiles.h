#pragma once
// File operations on host paths that never lose or overwrite a file. The path-text services
// translate their arguments and call these.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FsResult.h"

namespace pictaria::host {

// Size, modification time and identity of a file.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
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
// `to`'s folder, checked against the source's size, given the source's modification time and
// only then renamed into place without replacing. On any
// failure the temporary file is removed and `to` does not exist (EEXIST when it already did).
FsResult copyFileNoReplace(const std::string& from, const std::string& to);

// Moves a file: a rename where the file system allows it, else a complete copy (as above, and
// flushed to disk with its folder), then removal of the source once it is known to be unchanged and
// not the copy itself. If the source cannot be removed, the copy is removed again and the move
// fails: all or nothing.
FsResult moveFileNoReplace(const std::string& from, const std::string& to);

// Moves a regular file by the complete copy above, flushed to disk, followed by the removal of
// the source, even where a rename would do. All or nothing, like moveFileNoReplace.
FsResult moveFileByCopy(const std::string& from, const std::string& to);

// Whether a copy is on the disk when the call returns: a move removes the source next, a plain
// copy leaves it in place.
enum class Durability { Cached, Flushed };

// The two halves of a move by copy, for moving many files with one flush in between: the
// complete copy (`source` receives the identity the source had), and the removal of a source
// still unchanged and not the copy itself; where the source cannot go, its copy is removed.
FsResult startMoveByCopy(const std::string& from, const std::string& to, FileIdentity& source,
                         Durability durability);
FsResult finishMoveByCopy(const std::string& from, const std::string& to,
                          const FileIdentity& source);

// Flushes one file or folder (its entries) to disk.
FsResult flushToDisk(const std::string& path);

// Flushes the whole file system that holds the folder `path`, folder entries included.
void flushFileSystemOf(const std::string& path);

// The folder part of a host path ("." for a bare name).
std::string hostFolderOf(const std::string& path);

}  // namespace pictaria::host
