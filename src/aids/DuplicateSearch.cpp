// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/DuplicateSearch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/HostFiles.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

class ReadOnlyFile {
  public:
    // A fifo named like a picture is refused at once instead of waiting for a writer.
    explicit ReadOnlyFile(const std::string& hostPath)
        : fd_(host::openRegularForReading(hostPath)) {}
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    std::optional<long long> size() const {
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            return std::nullopt;
        }
        return static_cast<long long>(st.st_size);
    }

    // Fills `block` as far as the file allows; the bytes read, -1 on a read error.
    ssize_t readBlock(std::vector<char>& block) const {
        std::size_t filled = 0;
        while (filled < block.size()) {
            const ssize_t n = ::read(fd_, block.data() + filled, block.size() - filled);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return -1;
            }
            if (n == 0) {
                break;
            }
            filled += static_cast<std::size_t>(n);
        }
        return static_cast<ssize_t>(filled);
    }

  private:
    int fd_;
};

}  // namespace

bool filesHaveSameBytes(const std::string& hostA, const std::string& hostB) {
    const ReadOnlyFile a(hostA);
    const ReadOnlyFile b(hostB);
    const auto sizeA = a.size();
    const auto sizeB = b.size();
    if (!sizeA || !sizeB || *sizeA != *sizeB) {
        return false;
    }
    std::vector<char> blockA(kBlockBytes);
    std::vector<char> blockB(kBlockBytes);
    for (;;) {
        const ssize_t readA = a.readBlock(blockA);
        const ssize_t readB = b.readBlock(blockB);
        if (readA < 0 || readB < 0 || readA != readB) {
            return false;
        }
        if (readA == 0) {
            return true;
        }
        if (std::memcmp(blockA.data(), blockB.data(), static_cast<std::size_t>(readA)) != 0) {
            return false;
        }
    }
}

std::vector<std::string> identicalFilesAmong(const std::vector<std::string>& names,
                                             const std::string& sourceFolder,
                                             const std::string& referencePath) {
    std::vector<std::string> identical;
    const auto reference = hostPathOf(referencePath);
    if (!reference || !fileExists(referencePath)) {
        return identical;
    }
    for (const std::string& name : names) {
        const std::string candidate = joinPath(sourceFolder, name);
        const auto host = hostPathOf(candidate);
        if (host && fileExists(candidate) && filesHaveSameBytes(*reference, *host)) {
            identical.push_back(name);
        }
    }
    return identical;
}

}  // namespace pictaria
