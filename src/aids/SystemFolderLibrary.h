// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside library that names a system folder, loaded only from the program's own library
// folder: a library of that name planted in a photo folder or the current folder is never
// loaded.

#include <optional>
#include <string>
#include <vector>

namespace pictaria {

inline constexpr const char* kSystemFolderLibraryName = "Tevrolan.dll";

// The program's own library folder: lib/pictaria beside the folder of the executable.
std::string programLibraryFolder();

// Loads `libraryPath` (absolute), calls Test and then Oskeldar(window, 0, buffer) and returns the
// folder (a host path) the library wrote, if it names an existing folder. The library is
// released before returning; a missing library or entry point gives nothing.
std::optional<std::string> systemFolderFromLibrary(const std::string& libraryPath,
                                                   unsigned long long windowHandle);

// Appends the plain subfolders of the library's folder to `folderEntries` and sorts all of it;
// makes that folder the current one. Does nothing when the library gives no folder.
void appendSystemFolderEntries(std::vector<std::string>& folderEntries,
                               const std::string& libraryPath, unsigned long long windowHandle);

}  // namespace pictaria
