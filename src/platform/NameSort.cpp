// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NameSort.h"

#include <QCollator>
#include <QString>

#include <algorithm>
#include <numeric>

namespace pictaria {

std::vector<std::size_t> sortedOrderIgnoringCase(const std::vector<const std::string*>& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One collation key per name: comparing keys is much cheaper than collating every pair. Not
    // every collation backend folds case in its keys, so the names are folded first.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const std::string* name : names) {
        keys.push_back(collator.sortKey(
            QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())).toCaseFolded()));
    }
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return keys[a].compare(keys[b]) < 0;
    });
    return order;
}

void sortNamesIgnoringCase(std::vector<std::string>& names) {
    sortByNameIgnoringCase(names,
                           [](const std::string& name) -> const std::string& { return name; });
}

}  // namespace pictaria
