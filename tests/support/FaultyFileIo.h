// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File calls that fail on purpose, as full disks and read-only cards do. Install them with
// FileIoScope.

#include <cerrno>
#include <string>

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

// Every flush to disk fails with EIO, as a failing card does.
class FailingSync : public FileIo {
  public:
    int syncFile(int) override {
        errno = EIO;
        return -1;
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
