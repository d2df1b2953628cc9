// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/FolderGrid.h"

#include "platform/DirectorySearch.h"
#include "platform/FileServices.h"
#include "platform/NameSort.h"
#include "platform/PathText.h"

namespace pictaria {

std::string pageCaption(const std::string& path) {
    return path.size() == 3 ? path : extractFileName(path);
}

std::vector<std::string> listPlainSubfolders(const std::string& folder) {
    if (!folder.empty()) {
        setCurrentDir(folder);  // a folder that cannot be entered is still searched by its path
    }
    return plainSubfoldersOf(folder);
}

std::vector<std::string> plainSubfoldersOf(const std::string& folder) {
    std::vector<std::string> names;
    if (folder.empty()) {
        return names;
    }
    DirectorySearch search;
    SearchEntry entry;
    for (bool more = search.findFirst(joinPath(folder, "*.*"), attr::Directory, entry); more;
         more = search.findNext(entry)) {
        if (entry.attributes == attr::Directory && textPosition(".", entry.name) != 1) {
            names.push_back(entry.name);
        }
    }
    sortNamesIgnoringCase(names);
    return names;
}

int folderGridRowCount(std::size_t entryCount) {
    return static_cast<int>(entryCount / kFolderGridColumns) + 1;
}

std::vector<std::vector<std::string>> folderGridRows(const std::vector<std::string>& entries) {
    std::vector<std::vector<std::string>> rows(
        static_cast<std::size_t>(folderGridRowCount(entries.size())),
        std::vector<std::string>(kFolderGridColumns));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows[i / kFolderGridColumns][i % kFolderGridColumns] = entries[i];
    }
    return rows;
}

std::string folderOfCell(const std::string& pagePath, const std::string& cellText) {
    if (pagePath.size() == 3 || pagePath.empty()) {
        return pagePath + cellText;
    }
    return pagePath + "\\" + cellText;
}

std::string destinationStatus(const std::string& targetFolder, int pictureCount) {
    return targetFolder + " " + std::to_string(pictureCount) + "個";
}

}  // namespace pictaria
