// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileIo.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace pictaria {

namespace {

// Writes all of `data`; false with errno on failure.
bool writeAll(int out, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(out, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Copies up to `length` bytes through a buffer small enough to stay in the processor's cache
// between the read and the write: with a buffer of 1 MiB a copy runs about half as fast.
ssize_t copyByReadWrite(int in, int out, std::size_t length) {
    static std::vector<char> buffer(128 << 10);  // one thread copies; the buffer is reused
    std::size_t copied = 0;
    while (copied < length) {
        const ssize_t got = ::read(in, buffer.data(), std::min(length - copied, buffer.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        if (!writeAll(out, buffer.data(), static_cast<std::size_t>(got))) {
            return -1;
        }
        copied += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(copied);
}

FileIo systemIo;
FileIo* installedIo = nullptr;

}  // namespace

ssize_t FileIo::copyChunk(int in, int out, std::size_t length) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, length, 0);
    if (n >= 0) {
        return n;
    }
    // Not every file system (or kernel) copies ranges; plain reads and writes always work.
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
        errno == EBADF) {
        return copyByReadWrite(in, out, length);
    }
    return -1;
}

int FileIo::syncFile(int fd) {
    return ::fsync(fd);
}

int FileIo::syncFileSystem(int fd) {
    return ::syncfs(fd);
}

int FileIo::startWriteBack(int fd) {
    return ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

int FileIo::removeFile(const char* path) {
    return ::unlink(path);
}

int FileIo::renameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

FileIo& fileIo() {
    return installedIo ? *installedIo : systemIo;
}

FileIo* setFileIo(FileIo* io) {
    FileIo* previous = installedIo;
    installedIo = io;
    return previous;
}

}  // namespace pictaria
