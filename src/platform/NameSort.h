// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sorting names as the user reads them: case-insensitively in the user's locale. Names that are
// not valid UTF-8 sort by their lossy text; equal names keep their order.

#include <string>
#include <vector>

namespace pictaria {

// The positions of `names` in sorted order.
std::vector<std::size_t> sortedOrderIgnoringCase(const std::vector<const std::string*>& names);

void sortNamesIgnoringCase(std::vector<std::string>& names);

// Sorts any items by the name that `nameOf` gives for each.
template <typename Item, typename NameOf>
void sortByNameIgnoringCase(std::vector<Item>& items, NameOf nameOf) {
    std::vector<const std::string*> names;
    names.reserve(items.size());
    for (const Item& item : items) {
        names.push_back(&nameOf(item));
    }
    const std::vector<std::size_t> order = sortedOrderIgnoringCase(names);
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (std::size_t index : order) {
        sorted.push_back(std::move(items[index]));
    }
    items = std::move(sorted);
}

}  // namespace pictaria
