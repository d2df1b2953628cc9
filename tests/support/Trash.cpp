// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Trash.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pictaria::test {

namespace fs = std::filesystem;

fs::path trashFolder() {
    return fs::path(std::getenv("XDG_DATA_HOME")) / "Trash";
}

std::map<std::string, std::string> trashedFiles() {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(trashFolder() / "files", error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && fs::exists(trashFolder() / "info" / (name + ".trashinfo"))) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[name] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

bool folderInTrash(const std::string& name, const std::string& inner) {
    std::error_code error;
    for (const auto& info : fs::directory_iterator(trashFolder() / "info", error)) {
        const std::string trashed = info.path().stem().string();
        if (trashed.starts_with(name) && fs::exists(trashFolder() / "files" / trashed / inner)) {
            return true;
        }
    }
    return false;
}

NoTrash::NoTrash() {
    fs::rename(trashFolder(), saved_, error_);
    std::ofstream(trashFolder()) << "not a folder";
}

NoTrash::~NoTrash() {
    fs::remove(trashFolder());
    if (!error_) {
        fs::rename(saved_, trashFolder());
    }
}

}  // namespace pictaria::test
