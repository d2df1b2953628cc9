// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding byte-identical copies of a picture among the source list's files.

#include <string>
#include <vector>

namespace pictaria {

// True when both files can be read and hold the same bytes. Sizes are compared first; files of
// equal size are compared block by block, so memory stays small whatever their size.
bool filesHaveSameBytes(const std::string& hostA, const std::string& hostB);

// The names among `names` whose file in `sourceFolder` holds exactly the bytes of
// `referencePath` (path text). None when the reference is not an existing file; missing or
// unreadable files are passed over.
std::vector<std::string> identicalFilesAmong(const std::vector<std::string>& names,
                                             const std::string& sourceFolder,
                                             const std::string& referencePath);

}  // namespace pictaria
