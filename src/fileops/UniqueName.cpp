// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UniqueName.h"

#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

std::string makeUniqueName(const std::string& candidate, int& counter,
                           const std::function<bool(const std::string&)>& alsoTaken) {
    std::string name = candidate;
    while (fileExists(name) || (alsoTaken && alsoTaken(name))) {
        const std::string extension = extractFileExt(name);
        name = name.substr(0, name.size() - extension.size()) + std::to_string(counter) + extension;
        ++counter;
    }
    counter = 2;
    return name;
}

}  // namespace pictaria
