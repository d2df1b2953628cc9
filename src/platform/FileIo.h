// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few host calls through which files are written, copied, renamed and removed. The program
// uses the system's; tests install one that fails on purpose (a full disk, a read error, a
// source that cannot be removed) to prove that no picture is ever lost.

#include <sys/types.h>

#include <cstddef>

namespace pictaria {

class FileIo {
  public:
    virtual ~FileIo() = default;
    // Copies up to `length` bytes from `in` to `out` at their file offsets; bytes copied, 0 at
    // the end of `in`, -1 with errno on failure.
    virtual ssize_t copyChunk(int in, int out, std::size_t length);
    // Flushes the file or folder `fd` to disk (fsync).
    virtual int syncFile(int fd);
    // Flushes the whole file system holding `fd`, every file's data and every folder's entries
    // (syncfs).
    virtual int syncFileSystem(int fd);
    // Starts writing the file's data to disk without waiting for it (sync_file_range): on a
    // journalling file system a name given to the file afterwards never reaches the disk before
    // the data, and a later flush has less left to wait for.
    virtual int startWriteBack(int fd);
    virtual int removeFile(const char* path);
    // rename(2) that never replaces an existing target (renameat2 with RENAME_NOREPLACE).
    virtual int renameNoReplace(const char* from, const char* to);
};

// The calls in force; the system's until a test installs others.
FileIo& fileIo();
// Installs `io` (not owned; nullptr restores the system's) and returns the previous one.
FileIo* setFileIo(FileIo* io);

}  // namespace pictaria
