#include "platform/PathText.h"

namespace pictaria {

namespace {

// Index just past the last path delimiter ('\' or the drive colon), 0 when there is none.
std::size_t lastComponentStart(std::string_view path) {
    const std::size_t delimiter = path.find_last_of("\\:");
    return delimiter == std::string_view::npos ? 0 : delimiter + 1;
}

}  // namespace

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
    const bool keepSeparator = end < 2 || path[end - 2] == '\\' || path[end - 2] == ':';
    if (end > 0 && path[end - 1] == '\\' && !keepSeparator) {
        --end;
    }
    return std::string(path.substr(0, end));
}

std::string extractFileExt(std::string_view path) {
    const std::size_t dot = path.find_last_of(".\\:");
    if (dot == std::string_view::npos || path[dot] != '.') {
        return {};
    }
    return std::string(path.substr(dot));
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
