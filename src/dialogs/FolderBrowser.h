// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the folder selection dialog lists, without any window: the folder tree in its classic
// form (the path from the drive root down to the shown folder, then the shown folder's
// subfolders) and the ordinary files of a folder that match a mask.

#include <string>
#include <vector>

namespace pictaria {

struct FolderTreeRow {
    std::string path;    // path text of the folder the row opens
    std::string label;   // what the row shows: the drive root or one folder name
    int depth = 0;       // indentation level
    bool onPath = true;  // a level of the shown folder itself (open), or one of its subfolders
};

// Rows for `folder` (path text): its drive root, each level down to it, then its subfolders
// (plain folders, no dot names), sorted without regard to case.
std::vector<FolderTreeRow> folderTreeRows(const std::string& folder);

// Names of the visible subfolders of `folder`, sorted without regard to case.
std::vector<std::string> listSubfolders(const std::string& folder);

// Names of the ordinary files (not folders, not hidden, not special files) of `folder` that
// match the ';'-separated wildcard mask, sorted without regard to case.
std::vector<std::string> listMatchingFiles(const std::string& folder, const std::string& mask);

}  // namespace pictaria
