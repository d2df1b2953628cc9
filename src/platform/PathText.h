// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Path text: paths as the program shows and keeps them, in drive-letter form ("C:\Photos\2004").
// A folder is either a drive root of exactly three characters or has no trailing backslash.
// The bytes are UTF-8; a multi-byte character never holds the bytes of '\', ':' or '.', so
// scanning bytes treats every character as a whole.

#include <optional>
#include <string>
#include <string_view>

namespace pictaria {

// True for exactly three characters: letter, colon, backslash ("C:\").
bool isDriveRoot(std::string_view path);

// The drive letter a path begins with ("e:\Photos" gives 'E'), upper case; none without one.
std::optional<char> driveLetterOf(std::string_view path);
// The volume a path lies on, as the work layer names it ("E:"); empty without a drive letter.
std::string volumeOf(std::string_view path);

// Folder + name, with a backslash between them unless the folder is three characters long.
std::string joinPath(std::string_view folder, std::string_view name);

// Index just past the last backslash, or past the colon of a leading drive letter ("C:"), 0
// when there is neither. Any other colon is an ordinary character of a name ("12:30.jpg").
std::size_t lastComponentStart(std::string_view path);

// The part after the last backslash or drive colon ("C:\Photos\2004" gives "2004").
std::string extractFileName(std::string_view path);

// Everything before the last component, without its trailing backslash, except that a drive
// root keeps it ("C:\Photos\2004" gives "C:\Photos", "C:\Photos" gives "C:\", "C:\" stays).
std::string extractFileDir(std::string_view path);

// From the last '.' of the last component to the end, dot included; empty without a dot.
std::string extractFileExt(std::string_view path);

// The last component without its extension ("x.tar.jpg" gives "x.tar").
std::string fileStem(std::string_view path);

// Removes one trailing backslash, except from a drive root.
std::string removeTrailingBackslash(std::string_view path);

// 1-based position of the first occurrence of needle in text, 0 when absent or needle is empty.
std::size_t textPosition(std::string_view needle, std::string_view text);

}  // namespace pictaria
