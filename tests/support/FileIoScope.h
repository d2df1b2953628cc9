// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Installs a fault-injecting FileIo for the length of a scope.

#include "platform/FileIo.h"

namespace pictaria::test {

class FileIoScope {
  public:
    explicit FileIoScope(FileIo& io) : previous_(setFileIo(&io)) {}
    FileIoScope(const FileIoScope&) = delete;
    FileIoScope& operator=(const FileIoScope&) = delete;
    ~FileIoScope() { setFileIo(previous_); }

  private:
    FileIo* previous_;
};

}  // namespace pictaria::test
