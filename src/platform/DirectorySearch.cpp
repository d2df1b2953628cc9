// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DirectorySearch.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>

#include "platform/DriveTable.h"
#include "platform/PathText.h"
#include "work/JobContext.h"

namespace pictaria {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Steps over one UTF-8 character starting at `at` (a lone or broken byte counts as one).
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t n = 1;
    while (n < length && at + n < text.size() &&
           (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

bool wildcardFrom(std::string_view name, std::size_t n, std::string_view pattern, std::size_t p) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*') {
                ++p;
            }
            if (p == pattern.size()) {
                return true;
            }
            for (std::size_t start = n; start <= name.size();
                 start += start < name.size() ? characterLength(name, start) : 1) {
                if (wildcardFrom(name, start, pattern, p)) {
                    return true;
                }
            }
            return false;
        }
        if (n >= name.size()) {
            return false;
        }
        if (pattern[p] == '?') {
            n += characterLength(name, n);
            ++p;
            continue;
        }
        if (lower(pattern[p]) != lower(name[n])) {
            return false;
        }
        ++n;
        ++p;
    }
    return n == name.size();
}

std::uint32_t attributesOf(const std::string& name, const struct stat& st) {
    std::uint32_t attributes = 0;
    if (S_ISLNK(st.st_mode)) {
        attributes |= attr::ReparsePoint;
    } else if (S_ISDIR(st.st_mode)) {
        attributes |= attr::Directory;
    } else if (!S_ISREG(st.st_mode)) {
        attributes |= attr::System;
    }
    if ((st.st_mode & S_IWUSR) == 0) {
        attributes |= attr::ReadOnly;
    }
    if (name.starts_with('.') && name != "." && name != "..") {
        attributes |= attr::Hidden;
    }
    return attributes;
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") {
        return true;
    }
    return wildcardFrom(name, 0, pattern, 0);
}

bool matchesMask(std::string_view name, std::string_view mask) {
    while (true) {
        const std::size_t end = mask.find(';');
        const std::string_view pattern = mask.substr(0, end);
        if (!pattern.empty() && matchesWildcard(name, pattern)) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        mask.remove_prefix(end + 1);
    }
}

bool DirectorySearch::findFirst(std::string_view pattern, std::uint32_t attributeMask,
                                SearchEntry& entry) {
    findClose();
    const std::size_t split = lastComponentStart(pattern);
    std::string folder(pattern.substr(0, split));
    wildcard_ = std::string(pattern.substr(split));
    mask_ = attributeMask;
    const auto host = folder.empty() ? std::optional<std::string>(".") : hostPathOf(folder);
    if (!host || wildcard_.empty()) {
        return false;
    }
    dir_ = ::opendir(host->empty() ? "." : host->c_str());
    if (!dir_) {
        return false;
    }
    dotEntriesLeft_ = 2;
    return findNext(entry);
}

bool DirectorySearch::findNext(SearchEntry& entry) {
    if (!dir_) {
        return false;
    }
    while (dotEntriesLeft_ > 0) {
        const char* name = dotEntriesLeft_-- == 2 ? "." : "..";
        struct stat st {};
        if (::fstatat(::dirfd(dir_), name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            entry = SearchEntry{name, attributesOf(name, st), static_cast<long long>(st.st_size)};
            if (qualifies(entry)) {
                return true;
            }
        }
    }
    while (const dirent* d = ::readdir(dir_)) {
        noteVolumeAnswered();  // a slow volume lists on; a job on it is not given up
        const std::string name = d->d_name;
        if (name == "." || name == ".." || name.find('\\') != std::string::npos) {
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(dir_), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone since it was listed
        }
        entry = SearchEntry{name, attributesOf(name, st), static_cast<long long>(st.st_size)};
        if (qualifies(entry)) {
            return true;
        }
    }
    return false;
}

void DirectorySearch::findClose() {
    if (dir_) {
        ::closedir(dir_);
        dir_ = nullptr;
    }
}

bool DirectorySearch::qualifies(const SearchEntry& entry) const {
    constexpr std::uint32_t special =
        attr::Hidden | attr::System | attr::VolumeId | attr::Directory;
    return (entry.attributes & special & ~mask_) == 0 && matchesWildcard(entry.name, wildcard_);
}

}  // namespace pictaria
