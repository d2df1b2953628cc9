// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File calls that fail on purpose, as full disks and read-only cards do. Install them with
// FileIoScope.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileIo.h"

namespace pictaria::test {

// Copies `goodChunks` small chunks, then every further chunk fails with `error`.
class FailingCopy : public FileIo {
  public:
    explicit FailingCopy(int goodChunks, int error = ENOSPC)
        : goodChunks_(goodChunks), error_(error) {}
    ssize_t copyChunk(int in, int out, std::size_t length) override {
        if (goodChunks_-- <= 0) {
            errno = error_;
            return -1;
        }
        return FileIo::copyChunk(in, out, std::min<std::size_t>(length, 1000));
    }

  private:
    int goodChunks_;
    int error_;
};

// Reports the end of the source after `bytes` bytes, as a file cut short under the copy would.
class ShortCopy : public FileIo {
  public:
    explicit ShortCopy(std::size_t bytes) : left_(bytes) {}
    ssize_t copyChunk(int in, int out, std::size_t length) override {
        const std::size_t allowed = std::min(length, left_);
        if (allowed == 0) {
            return 0;
        }
        const ssize_t n = FileIo::copyChunk(in, out, allowed);
        left_ -= n > 0 ? static_cast<std::size_t>(n) : 0;
        return n;
    }

  private:
    std::size_t left_;
};

// Flushes to disk fail with EIO, as a failing card's do: every one, or only those of folders
// (their entries) or of whole file systems.
class FailingSync : public FileIo {
  public:
    enum Kind { Every, Folders, FileSystems };
    explicit FailingSync(Kind kind = Every) : kind_(kind) {}
    int syncFile(int fd) override {
        struct stat st {};
        const bool folder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
        return (kind_ == Every || (kind_ == Folders && folder)) ? failed() : FileIo::syncFile(fd);
    }
    int syncFileSystem(int fd) override {
        return kind_ == Folders ? FileIo::syncFileSystem(fd) : failed();
    }

  private:
    static int failed() {
        errno = EIO;
        return -1;
    }
    Kind kind_;
};

// Passes every call on and writes down, in order, each that makes something durable or changes
// a name, as it is made: "sync <path>" (a file's or folder's flush), "syncfs <path>", "writeback
// <path>", "rename <from> <to>", "remove <path>", host paths as the kernel resolves them.
class CallLog : public FileIo {
  public:
    int syncFile(int fd) override {
        note("sync " + pathOf(fd));
        return FileIo::syncFile(fd);
    }
    int syncFileSystem(int fd) override {
        note("syncfs " + pathOf(fd));
        return FileIo::syncFileSystem(fd);
    }
    int startWriteBack(int fd) override {
        note("writeback " + pathOf(fd));
        return FileIo::startWriteBack(fd);
    }
    int removeFile(const char* path) override {
        note("remove " + resolved(path));
        return FileIo::removeFile(path);
    }
    int renameNoReplace(const char* from, const char* to) override {
        note("rename " + resolved(from) + " " + resolved(to));
        return FileIo::renameNoReplace(from, to);
    }

    // Where `call` was first made from the call `from` on (calls.size() when never).
    std::size_t at(const std::string& call, std::size_t from = 0) const {
        const auto start = calls.begin() + static_cast<std::ptrdiff_t>(from);
        return static_cast<std::size_t>(std::find(start, calls.end(), call) - calls.begin());
    }
    bool made(const std::string& call) const { return at(call) < calls.size(); }

    std::vector<std::string> calls;

  private:
    void note(std::string call) { calls.push_back(std::move(call)); }
    static std::string pathOf(int fd) {
        return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).string();
    }
    static std::string resolved(const char* path) {
        return std::filesystem::weakly_canonical(path).string();
    }
};

// Refuses to remove any file whose host path starts with `prefix` (a folder or one file).
class RefusedRemoval : public FileIo {
  public:
    explicit RefusedRemoval(std::string prefix) : prefix_(std::move(prefix)) {}
    int removeFile(const char* path) override {
        if (std::string(path).starts_with(prefix_)) {
            errno = EROFS;
            return -1;
        }
        return FileIo::removeFile(path);
    }

  private:
    std::string prefix_;
};

}  // namespace pictaria::test
