#pragma once
// Puts a text in front of the names of the ticked files of the source list, in place.

#include <string>

#include "fileops/TickList.h"

namespace pictaria {

// False for a text that would move files into other folders (it holds a path separator) or
// hide them (a leading dot hides a file on this platform).
bool isAttachableText(const std::string& text);

// Renames every ticked file of `sourceFolder` to `text` + its name, never replacing a file;
// a renamed entry takes its new name and keeps its place and tick, a failed one stays as it
// was. A text that is not attachable renames nothing. Returns the number of files renamed.
int attachTextToTicked(TickList& list, const std::string& sourceFolder, const std::string& text);

}  // namespace pictaria
