// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outcome of a file-system call: success, or the host's error number.

#include <cerrno>
#include <string>

namespace pictaria {

class FsResult {
  public:
    static FsResult success() { return FsResult(0); }
    static FsResult failure(int error) { return FsResult(error == 0 ? EIO : error); }
    // The failure that the last system call left in errno.
    static FsResult fromErrno() { return failure(errno); }

    bool ok() const { return error_ == 0; }
    explicit operator bool() const { return ok(); }
    int error() const { return error_; }
    std::string message() const;

  private:
    explicit FsResult(int error) : error_(error) {}
    int error_;
};

}  // namespace pictaria
