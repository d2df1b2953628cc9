// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/FolderBrowser.h"

#include <algorithm>

#include "platform/DirectorySearch.h"
#include "platform/FileServices.h"
#include "platform/NameSort.h"
#include "platform/PathText.h"

namespace pictaria {

namespace {

template <typename Keep>
std::vector<std::string> listEntries(const std::string& folder, std::uint32_t mask, Keep keep) {
    std::vector<std::string> names;
    DirectorySearch search;
    SearchEntry entry;
    for (bool more = search.findFirst(joinPath(folder, "*.*"), mask, entry); more;
         more = search.findNext(entry)) {
        if (keep(entry)) {
            names.push_back(entry.name);
        }
    }
    sortNamesIgnoringCase(names);
    return names;
}

}  // namespace

std::vector<std::string> listSubfolders(const std::string& folder) {
    return listEntries(folder, attr::Directory, [&](const SearchEntry& e) {
        const bool realFolder = (e.attributes & attr::Directory) != 0;
        const bool linkToFolder =
            (e.attributes & attr::ReparsePoint) != 0 && directoryExists(joinPath(folder, e.name));
        return (realFolder || linkToFolder) && !e.name.starts_with('.');
    });
}

std::vector<std::string> listMatchingFiles(const std::string& folder, const std::string& mask) {
    return listEntries(folder, 0, [&](const SearchEntry& e) {
        const bool ordinary = (e.attributes & (attr::Directory | attr::System | attr::Hidden)) == 0;
        const bool linkToFile = (e.attributes & attr::ReparsePoint) != 0;
        return ordinary && (!linkToFile || fileExists(joinPath(folder, e.name))) &&
               matchesMask(e.name, mask);
    });
}

std::vector<FolderTreeRow> folderTreeRows(const std::string& folder) {
    std::vector<FolderTreeRow> rows;
    std::vector<std::string> levels;
    for (std::string level = folder; !level.empty(); level = extractFileDir(level)) {
        levels.push_back(level);
        if (isDriveRoot(level) || extractFileDir(level) == level) {
            break;
        }
    }
    std::reverse(levels.begin(), levels.end());
    int depth = 0;
    for (const std::string& level : levels) {
        const std::string label = isDriveRoot(level) ? level : extractFileName(level);
        rows.push_back({level, label, depth++, true});
    }
    for (const std::string& name : listSubfolders(folder)) {
        rows.push_back({joinPath(folder, name), name, depth, false});
    }
    return rows;
}

}  // namespace pictaria
