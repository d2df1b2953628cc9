// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CheckListTickList.h"

#include "widgets/CheckListBox.h"

namespace pictaria {

int CheckListTickList::count() const {
    return list_.count();
}

std::string CheckListTickList::name(int index) const {
    return list_.name(index);
}

void CheckListTickList::setName(int index, const std::string& name) {
    list_.setName(index, name);
}

bool CheckListTickList::ticked(int index) const {
    return list_.checked(index);
}

void CheckListTickList::setTicked(int index, bool ticked) {
    list_.setChecked(index, ticked);
}

void CheckListTickList::removeAt(int index) {
    list_.removeAt(index);
}

void CheckListTickList::clear() {
    list_.clear();
}

}  // namespace pictaria
