#include "platform/StringList.h"

#include <QCollator>
#include <QString>

#include <algorithm>

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
    QCollator collator;  // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    struct Keyed {
        QString key;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries_.size());
    for (auto& entry : entries_) {
        keyed.push_back({QString::fromUtf8(entry.text), std::move(entry)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&collator](const Keyed& a, const Keyed& b) {
        return collator.compare(a.key, b.key) < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        entries_[i] = std::move(keyed[i].entry);
    }
}

std::vector<std::string> StringList::texts() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_) {
        result.push_back(entry.text);
    }
    return result;
}

}  // namespace pictaria
