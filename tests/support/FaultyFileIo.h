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
