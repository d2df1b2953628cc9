// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/DestinationScan.h"

#include "platform/DirectorySearch.h"
#include "platform/NameSort.h"
#include "platform/PathText.h"
#include "viewer/PictureKinds.h"

namespace pictaria {

namespace {

// The folder's entries in name order, as the user reads them; the file system's own order
// (hash order on most) means nothing to a person stepping through the pictures.
std::vector<SearchEntry> entriesByName(const std::string& folder, DirectorySearch& search) {
    std::vector<SearchEntry> entries;
    SearchEntry entry;
    for (bool more = search.findFirst(joinPath(folder, "*.*"), attr::AnyFile, entry); more;
         more = search.findNext(entry)) {
        entries.push_back(entry);
    }
    search.findClose();
    sortByNameIgnoringCase(entries,
                           [](const SearchEntry& e) -> const std::string& { return e.name; });
    return entries;
}

}  // namespace

DestinationListing scanDestination(const std::string& folder, DirectorySearch& search) {
    DestinationListing listing;
    for (const SearchEntry& entry : entriesByName(folder, search)) {
        if (entry.attributes == attr::Directory && entry.name != "." && entry.name != "..") {
            listing.listNames.push_back(entry.name);
        }
        if (IsKind(extractFileExt(entry.name), FolderPictureKinds)) {
            listing.listNames.push_back(entry.name);
            listing.previewPaths.push_back(joinPath(folder, entry.name));
        }
    }
    return listing;
}

std::optional<std::size_t> firstPreviewIndex(const std::vector<std::string>& previewPaths) {
    for (std::size_t i = 0; i < previewPaths.size(); ++i) {
        if (IsKind(extractFileExt(previewPaths[i]), FirstPreviewKinds)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace pictaria
