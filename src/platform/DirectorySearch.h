// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Find first / next / close over one folder, with the attribute words of the original platform
// mapped onto host file types:
//   directory (16)  a real folder, not a symbolic link
//   read-only (1)   the owner's write permission bit is off (a flag, not an access check)
//   hidden (2)      the name begins with '.' (but not "." and "..")
//   system (4)      neither a regular file, a folder nor a symbolic link (fifo, socket, device)
//   reparse (0x400) a symbolic link
//   archive (32)    never set
// "." and ".." are returned first, as the original platform does. Host names holding a
// backslash cannot be written as path text and are skipped.

#include <dirent.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pictaria {

namespace attr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t VolumeId = 0x08;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t AnyFile = 0x3F;
inline constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace attr

struct SearchEntry {
    std::string name;  // the host name's bytes
    std::uint32_t attributes = 0;
    long long size = 0;
};

// True when a name matches one wildcard pattern, ignoring ASCII case: '*' any run of bytes,
// '?' one character. "*.*" matches every name, with or without a dot.
bool matchesWildcard(std::string_view name, std::string_view pattern);
// True when a name matches one of the ';'-separated patterns of a mask.
bool matchesMask(std::string_view name, std::string_view mask);

class DirectorySearch {
  public:
    DirectorySearch() = default;
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;
    ~DirectorySearch() { findClose(); }

    // `pattern` is path text: a folder, a backslash and a wildcard ("C:\Photos\*.*"), or a bare
    // wildcard for the current folder. Entries carrying hidden, system, volume or directory
    // bits outside `attributeMask` are passed over; plain files always qualify.
    bool findFirst(std::string_view pattern, std::uint32_t attributeMask, SearchEntry& entry);
    bool findNext(SearchEntry& entry);
    void findClose();

  private:
    bool qualifies(const SearchEntry& entry) const;

    DIR* dir_ = nullptr;
    std::string wildcard_;
    std::uint32_t mask_ = 0;
    int dotEntriesLeft_ = 0;  // "." and ".." still to return
};

}  // namespace pictaria
