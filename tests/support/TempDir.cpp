// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pictaria::test {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& parent) {
    const std::string base = parent.empty() ? fs::temp_directory_path().string() : parent;
    std::string pattern = base + "/pictaria-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder under " + base);
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::host(std::string_view relative) const {
    return relative.empty() ? path_ : path_ + "/" + std::string(relative);
}

void TempDir::makeFolder(std::string_view relative) const {
    fs::create_directories(host(relative));
}

void TempDir::writeFile(std::string_view relative, std::string_view bytes) const {
    const fs::path file = host(relative);
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::readFile(std::string_view relative) const {
    std::ifstream in(host(relative), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::map<std::string, std::string> TempDir::tree() const {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
        const std::string host = entry.path().string();
        entries[host] = entry.is_directory() ? "<folder>" : readFile(host.substr(path_.size() + 1));
    }
    return entries;
}

bool TempDir::exists(std::string_view relative) const {
    std::error_code ignored;
    return fs::symlink_status(host(relative), ignored).type() != fs::file_type::not_found;
}

}  // namespace pictaria::test
