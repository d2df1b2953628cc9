// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SourcePick.h"

#include <cstdlib>
#include <utility>

namespace pictaria {

void SourcePick::pick(Entry entry, std::string path) {
    entry_ = entry;
    path_ = std::move(path);
    view_ = View::Empty;
    awaited_.reset();
}

void SourcePick::await(PictureRequest request) {
    awaited_ = std::move(request);
    view_ = View::Waiting;
}

bool SourcePick::arrived(const PictureRequest& request) {
    if (!awaited_ || !(*awaited_ == request)) {
        return false;
    }
    awaited_.reset();
    return true;
}

void SourcePick::shown() {
    awaited_.reset();
    view_ = View::Shown;
}

void SourcePick::emptied() {
    awaited_.reset();
    view_ = View::Empty;
}

bool SourcePick::left(Entry entry) {
    if (entry == nullptr || entry != entry_) {
        return false;
    }
    pick(nullptr, {});
    return true;
}

void SourcePick::renamed(std::string path) {
    path_ = std::move(path);
}

void SourcePick::listReplaced() {
    entry_ = nullptr;
    awaited_.reset();
    view_ = view_ == View::Shown || view_ == View::Kept ? View::Kept : View::Empty;
}

int travelAfter(int direction, int from, int to, bool byKey) {
    if (from < 0 || from == to || (!byKey && std::abs(to - from) != 1)) {
        return direction;
    }
    return to < from ? -1 : 1;
}

std::vector<int> rowsWantedAround(int picked, int direction, bool fitted, int count) {
    std::vector<int> around{picked, picked + direction};
    if (fitted) {
        around.insert(around.end(), {picked + 2 * direction, picked - direction});
    }
    std::erase_if(around, [count](int row) { return row < 0 || row >= count; });
    return around;
}

}  // namespace pictaria
