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
    virtual int syncFile(int fd);
    virtual int removeFile(const char* path);
    // rename(2) that never replaces an existing target (renameat2 with RENAME_NOREPLACE).
    virtual int renameNoReplace(const char* from, const char* to);
};

// The calls in force; the system's until a test installs others.
FileIo& fileIo();
// Installs `io` (not owned; nullptr restores the system's) and returns the previous one.
FileIo* setFileIo(FileIo* io);

}  // namespace pictaria
