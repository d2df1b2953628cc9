// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding byte-identical copies of a picture among the source list's files.

#include <string>

#include "fileops/TickList.h"

namespace pictaria {

// True when both files can be read and hold the same bytes. Sizes are compared first; files of
// equal size are compared block by block, so memory stays small whatever their size.
bool filesHaveSameBytes(const std::string& hostA, const std::string& hostB);

// Ticks every entry of `list` whose file in `sourceFolder` holds exactly the bytes of
// `referencePath` (path text); no tick is removed. Nothing happens when the reference is not an
// existing file; missing or unreadable entries are passed over. Returns the number ticked.
int tickIdenticalFiles(TickList& list, const std::string& sourceFolder,
                       const std::string& referencePath);

}  // namespace pictaria
