// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An ordered list of byte strings, each optionally paired with an object that the list does not
// own. Sorting compares case-insensitively in the user's locale.

#include <string>
#include <vector>

class QObject;

namespace pictaria {

class StringList {
  public:
    struct Entry {
        std::string text;
        QObject* object = nullptr;  // not owned
    };

    int count() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }

    const std::string& operator[](int index) const { return entries_.at(index).text; }
    QObject* objectAt(int index) const { return entries_.at(index).object; }

    void add(std::string text, QObject* object = nullptr);
    void removeAt(int index);
    void clear();

    // Stable, so entries that compare equal keep their order.
    void sort();

    std::vector<std::string> texts() const;
    // The first entry whose text is exactly `text`, -1 when none is.
    int indexOf(const std::string& text) const;

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    std::vector<Entry> entries_;
};

}  // namespace pictaria
