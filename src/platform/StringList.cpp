// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StringList.h"

#include "platform/NameSort.h"

namespace pictaria {

void StringList::add(std::string text, QObject* object) {
    entries_.push_back({std::move(text), object});
}

void StringList::removeAt(int index) {
    entries_.erase(entries_.begin() + index);
}

void StringList::clear() {
    entries_.clear();
}

void StringList::sort() {
    sortByNameIgnoringCase(entries_,
                           [](const Entry& entry) -> const std::string& { return entry.text; });
}

std::vector<std::string> StringList::texts() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_) {
        result.push_back(entry.text);
    }
    return result;
}

int StringList::indexOf(const std::string& text) const {
    for (int index = 0; index < count(); ++index) {
        if (entries_[static_cast<std::size_t>(index)].text == text) {
            return index;
        }
    }
    return -1;
}

}  // namespace pictaria
