#include "fileops/AttachText.h"

#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

bool isAttachableText(const std::string& text) {
    return !text.empty() && text.find_first_of("\\/") == std::string::npos &&
           !text.starts_with('.');
}

int attachTextToTicked(TickList& list, const std::string& sourceFolder, const std::string& text) {
    if (!isAttachableText(text)) {
        return 0;
    }
    const std::string folder = removeTrailingBackslash(sourceFolder);
    int renamed = 0;
    for (int i = 0; i < list.count(); ++i) {
        if (!list.ticked(i)) {
            continue;
        }
        try {
            const std::string name = list.name(i);
            if (renameFile(joinPath(folder, name), joinPath(folder, text + name))) {
                list.setName(i, text + name);
                ++renamed;
            }
        } catch (...) {
            // This entry keeps its name; the next one is handled all the same.
        }
    }
    return renamed;
}

}  // namespace pictaria
