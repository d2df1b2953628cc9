// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/SendKeys.h"

#include <algorithm>

namespace pictaria {

int SendKeys::use(const std::string& folder) {
    passed_.clear();
    if (folder.empty()) {
        return 0;
    }
    int key = keyOf(folder);
    if (key == 0) {
        const auto free = std::find(folders_.begin(), folders_.end(), std::string());
        const auto slot =
            free != folders_.end()
                ? free - folders_.begin()
                : std::min_element(lastUsed_.begin(), lastUsed_.end()) - lastUsed_.begin();
        folders_[static_cast<std::size_t>(slot)] = folder;
        key = static_cast<int>(slot) + 1;
    }
    lastUsed_[static_cast<std::size_t>(key - 1)] = ++clock_;
    return key;
}

void SendKeys::pass(const std::string& folder) {
    passed_ = folder;
}

void SendKeys::rest(const std::string& destination) {
    if (!passed_.empty() && passed_ == destination) {
        use(destination);
    }
    passed_.clear();
}

void SendKeys::forget(const std::string& folder) {
    if (const int key = keyOf(folder); key != 0) {
        folders_[static_cast<std::size_t>(key - 1)].clear();
        lastUsed_[static_cast<std::size_t>(key - 1)] = 0;
    }
}

std::string SendKeys::folderOfKey(int number) const {
    return number >= 1 && number <= kKeys ? folders_[static_cast<std::size_t>(number - 1)]
                                          : std::string();
}

int SendKeys::keyOf(const std::string& folder) const {
    const auto found = std::find(folders_.begin(), folders_.end(), folder);
    return found == folders_.end() ? 0 : static_cast<int>(found - folders_.begin()) + 1;
}

}  // namespace pictaria
