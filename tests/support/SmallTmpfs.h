// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tiny RAM file system mounted for one test, so that "disk full" is real. Mounting needs
// privileges; where they are missing, mounted() is false and the test uses injected faults.

#include <string>

#include "support/TempDir.h"

namespace pictaria::test {

class SmallTmpfs {
  public:
    explicit SmallTmpfs(std::size_t bytes);
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    ~SmallTmpfs();

    bool mounted() const { return mounted_; }
    const std::string& path() const { return dir_.path(); }
    const TempDir& dir() const { return dir_; }

  private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace pictaria::test
