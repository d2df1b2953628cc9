// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a folder page holds, without any window: its caption, the subfolders it lists, how they
// are laid out five to a row, and the folder a clicked cell stands for.

#include <functional>
#include <string>
#include <vector>

namespace pictaria {

inline constexpr int kFolderGridColumns = 5;

// The tab text of a page: a drive root as it is, any other folder by its last component.
std::string pageCaption(const std::string& path);

// The names of the plain subfolders of `folder` (exactly the directory attribute: not hidden,
// not read-only, not a link or special file) whose names do not begin with '.', sorted without
// regard to case. A folder that cannot be searched gives none. Makes `folder` the current one.
std::vector<std::string> listPlainSubfolders(const std::string& folder);
// The same without making `folder` the current one: safe on any thread.
std::vector<std::string> plainSubfoldersOf(const std::string& folder);

// Rows of a page grid for `entries`: entry i in column i mod 5 of row i div 5, and always room
// for one more (entries div 5 + 1 rows).
int folderGridRowCount(std::size_t entryCount);
std::vector<std::vector<std::string>> folderGridRows(const std::vector<std::string>& entries);

// The folder that a click on a cell of the page of `pagePath` chooses: the cell's text after
// the path, with a backslash unless the path is empty or a drive root.
std::string folderOfCell(const std::string& pagePath, const std::string& cellText);

// The status text after a destination was chosen: "C:\Photos 12個".
std::string destinationStatus(const std::string& targetFolder, int pictureCount);

}  // namespace pictaria
