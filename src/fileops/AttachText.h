#pragma once
// Puts a text in front of the names of the ticked files of the source list, in place.

#include <string>

#include "fileops/TickList.h"

namespace pictaria {

// Renames every ticked file of `sourceFolder` to `text` + its name, never replacing a file;
// a renamed entry takes its new name and keeps its place and tick, a failed one stays as it
// was. A text holding a path separator would move files into other folders, so it renames
// nothing. Returns the number of files renamed.
int attachTextToTicked(TickList& list, const std::string& sourceFolder, const std::string& text);

}  // namespace pictaria
