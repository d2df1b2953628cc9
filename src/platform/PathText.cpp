// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathText.h"

namespace pictaria {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when index `at` holds the colon of a leading drive letter ("C:"); any other colon is an
// ordinary character of a name.
bool isDriveColon(std::string_view path, std::size_t at) {
    return at == 1 && path.size() >= 2 && path[1] == ':' && isAsciiLetter(path[0]);
}

}  // namespace

std::optional<char> driveLetterOf(std::string_view path) {
    if (!isDriveColon(path, 1)) {
        return std::nullopt;
    }
    return path[0] >= 'a' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
}

std::string volumeOf(std::string_view path) {
    const std::optional<char> letter = driveLetterOf(path);
    return letter ? std::string{*letter, ':'} : std::string();
}

std::size_t lastComponentStart(std::string_view path) {
    const std::size_t backslash = path.rfind('\\');
    if (backslash != std::string_view::npos) {
        return backslash + 1;
    }
    return isDriveColon(path, 1) ? 2 : 0;
}

bool isDriveRoot(std::string_view path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (folder.size() != 3) {
        joined += '\\';
    }
    joined += name;
    return joined;
}

std::string extractFileName(std::string_view path) {
    return std::string(path.substr(lastComponentStart(path)));
}

std::string extractFileDir(std::string_view path) {
    std::size_t end = lastComponentStart(path);
    // Drop the separator itself unless another delimiter stands before it, as the colon of a
    // drive root does ("C:\").
    const bool keepSeparator = end < 2 || path[end - 2] == '\\' || isDriveColon(path, end - 2);
    if (end > 0 && path[end - 1] == '\\' && !keepSeparator) {
        --end;
    }
    return std::string(path.substr(0, end));
}

std::string extractFileExt(std::string_view path) {
    const std::string_view name = path.substr(lastComponentStart(path));
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string fileStem(std::string_view path) {
    const std::string name = extractFileName(path);
    return name.substr(0, name.size() - extractFileExt(name).size());
}

std::string removeTrailingBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\' && !isDriveRoot(path)) {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::size_t textPosition(std::string_view needle, std::string_view text) {
    if (needle.empty()) {
        return 0;
    }
    const std::size_t at = text.find(needle);
    return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace pictaria
