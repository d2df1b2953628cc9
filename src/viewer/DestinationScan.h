// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the destination folder holds for the lower list and the preview cycle.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pictaria {

class DirectorySearch;

struct DestinationListing {
    // In name order: plain subfolders and picture files (a picture folder stands twice).
    std::vector<std::string> listNames;
    // Full paths of the picture files, in name order.
    std::vector<std::string> previewPaths;
};

// Lists `folder` (path text) through `search`: plain subfolders (exactly the directory
// attribute, not "." or "..") and entries whose extension is a folder picture kind. Only
// entries of `folder` itself are listed, whatever the current folder is.
DestinationListing scanDestination(const std::string& folder, DirectorySearch& search);

// The index of the first path that can be the first preview.
std::optional<std::size_t> firstPreviewIndex(const std::vector<std::string>& previewPaths);

}  // namespace pictaria
