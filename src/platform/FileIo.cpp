#include "platform/FileIo.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace pictaria {

namespace {

ssize_t copyByReadWrite(int in, int out, std::size_t length) {
    static std::vector<char> buffer(1 << 20);  // one thread copies; the buffer is reused
    const ssize_t got = ::read(in, buffer.data(), std::min(length, buffer.size()));
    if (got <= 0) {
        return got;
    }
    ssize_t written = 0;
    while (written < got) {
        const ssize_t n =
            ::write(out, buffer.data() + written, static_cast<std::size_t>(got - written));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        written += n;
    }
    return got;
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
