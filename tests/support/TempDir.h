// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary host folder for one test, removed with everything in it afterwards.

#include <map>
#include <string>
#include <string_view>

namespace pictaria::test {

class TempDir {
  public:
    // Made under `parent` (the system's temporary folder by default, e.g. "/dev/shm" for a
    // second file system).
    explicit TempDir(const std::string& parent = "");
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return path_; }
    // Host path of a relative path inside the folder.
    std::string host(std::string_view relative) const;

    // Creates folders (with parents) and files with the given bytes, relative to the folder.
    void makeFolder(std::string_view relative) const;
    void writeFile(std::string_view relative, std::string_view bytes) const;
    std::string readFile(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    // Every folder and file inside, by host path, with the bytes of each file ("<folder>" for
    // a folder): two trees compare equal when they hold the same things.
    std::map<std::string, std::string> tree() const;

  private:
    std::string path_;
};

}  // namespace pictaria::test
