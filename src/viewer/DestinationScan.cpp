#include "viewer/DestinationScan.h"

#include "platform/DirectorySearch.h"
#include "platform/PathText.h"
#include "viewer/PictureKinds.h"

namespace pictaria {

DestinationListing scanDestination(const std::string& folder, DirectorySearch& search) {
    DestinationListing listing;
    SearchEntry entry;
    for (bool more = search.findFirst(joinPath(folder, "*.*"), attr::AnyFile, entry); more;
         more = search.findNext(entry)) {
        if (entry.attributes == attr::Directory && entry.name != "." && entry.name != "..") {
            listing.listNames.push_back(entry.name);
        }
        if (IsKind(extractFileExt(entry.name), FolderPictureKinds)) {
            listing.listNames.push_back(entry.name);
            listing.previewPaths.push_back(joinPath(folder, entry.name));
        }
    }
    search.findClose();
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
