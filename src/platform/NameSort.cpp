#include "platform/NameSort.h"

#include <QCollator>
#include <QString>

#include <algorithm>

namespace pictaria {

void sortNamesIgnoringCase(std::vector<std::string>& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One collation key per name: comparing keys is much cheaper than collating every pair. Not
    // every collation backend folds case in its keys, so the names are folded first.
    std::vector<std::pair<QCollatorSortKey, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        keyed.emplace_back(
            collator.sortKey(
                QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toCaseFolded()),
            std::move(name));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        names[i] = std::move(keyed[i].second);
    }
}

}  // namespace pictaria
