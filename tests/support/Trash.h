// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The test run's desktop trash ($XDG_DATA_HOME/Trash, emptied before every test): what it holds,
// and a way to take it away for the length of a test.

#include <filesystem>
#include <map>
#include <string>

namespace pictaria::test {

std::filesystem::path trashFolder();

// Trashed files (not folders) by their name in the trash, with their bytes; only those with
// their restore record.
std::map<std::string, std::string> trashedFiles();

// True when the trash holds a folder trashed under `name` (or a numbered variant) with its
// restore record and the file `inner` inside.
bool folderInTrash(const std::string& name, const std::string& inner);

// Leaves no usable trash for the length of a test: a plain file takes the trash folder's place.
class NoTrash {
  public:
    NoTrash();
    NoTrash(const NoTrash&) = delete;
    NoTrash& operator=(const NoTrash&) = delete;
    ~NoTrash();

  private:
    std::filesystem::path saved_ = trashFolder().string() + ".saved";
    std::error_code error_;
};

}  // namespace pictaria::test
