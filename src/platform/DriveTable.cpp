// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DriveTable.h"

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/PathText.h"

namespace pictaria {

namespace {

char upper(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

bool hasDriveLetter(std::string_view pathText) {
    return pathText.size() >= 2 && pathText[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(pathText[0]));
}

// Both separators of the original platform become the host's '/'.
std::string hostSeparators(std::string_view rest) {
    std::string host(rest);
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

std::string joinHost(const std::string& root, std::string_view rest) {
    if (rest.empty()) {
        return root;
    }
    std::string joined = root == "/" ? std::string() : root;
    joined += '/';
    joined.append(rest);
    return joined;
}

struct ActiveTable {
    std::mutex mutex;
    std::shared_ptr<const DriveTable> table;
};

ActiveTable& activeTable() {
    static ActiveTable active{{}, [] {
                                  auto table = std::make_shared<DriveTable>();
                                  table->add('C', "/", DriveType::Fixed);
                                  return table;
                              }()};
    return active;
}

}  // namespace

void DriveTable::add(char letter, std::string hostRoot, DriveType type,
                     std::optional<std::uint64_t> volume) {
    letter = upper(letter);
    while (hostRoot.size() > 1 && hostRoot.back() == '/') {
        hostRoot.pop_back();
    }
    std::erase_if(drives_, [letter](const Drive& d) { return d.letter == letter; });
    drives_.push_back(Drive{letter, std::move(hostRoot), type, volume});
    std::sort(drives_.begin(), drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

const Drive* DriveTable::find(char letter) const {
    letter = upper(letter);
    auto it = std::find_if(drives_.begin(), drives_.end(),
                           [letter](const Drive& d) { return d.letter == letter; });
    return it == drives_.end() ? nullptr : &*it;
}

DriveType DriveTable::typeOf(std::string_view rootText) const {
    if (!hasDriveLetter(rootText)) {
        return DriveType::NoRootDir;
    }
    const Drive* drive = find(rootText[0]);
    return drive ? drive->type : DriveType::NoRootDir;
}

std::optional<std::string> DriveTable::toHost(std::string_view pathText) const {
    if (pathText.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (!hasDriveLetter(pathText)) {
        return hostSeparators(pathText);
    }
    const Drive* drive = find(pathText[0]);
    if (!drive) {
        return std::nullopt;
    }
    std::string_view rest = pathText.substr(2);
    while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) {
        rest.remove_prefix(1);
    }
    return joinHost(drive->hostRoot, hostSeparators(rest));
}

std::optional<std::string> DriveTable::fromHost(std::string_view hostPath) const {
    const Drive* best = nullptr;
    for (const Drive& drive : drives_) {
        const std::string& root = drive.hostRoot;
        const bool under = root == "/" ? hostPath.starts_with('/')
                                       : hostPath == root || hostPath.starts_with(root + "/");
        if (under && (!best || root.size() > best->hostRoot.size())) {
            best = &drive;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    std::string_view rest = hostPath.substr(best->hostRoot == "/" ? 1 : best->hostRoot.size());
    while (!rest.empty() && rest.front() == '/') {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && rest.back() == '/') {
        rest.remove_suffix(1);
    }
    std::string text{best->letter, ':', '\\'};
    for (char c : rest) {
        text += c == '/' ? '\\' : c;
    }
    return text;
}

std::shared_ptr<const DriveTable> activeDriveTable() {
    ActiveTable& active = activeTable();
    const std::lock_guard lock(active.mutex);
    return active.table;
}

void setActiveDriveTable(DriveTable table) {
    auto installed = std::make_shared<const DriveTable>(std::move(table));
    ActiveTable& active = activeTable();
    const std::lock_guard lock(active.mutex);
    active.table.swap(installed);
}

std::optional<std::string> hostPathOf(std::string_view pathText) {
    return activeDriveTable()->toHost(pathText);
}

}  // namespace pictaria
