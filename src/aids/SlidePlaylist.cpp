// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/SlidePlaylist.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pictaria {

std::optional<std::string> SlidePlaylist::restart(std::vector<std::string> paths) {
    paths_ = std::move(paths);
    if (paths_.empty()) {
        return std::nullopt;
    }
    index_ = 0;
    return paths_.front();
}

std::optional<std::string> SlidePlaylist::forward() {
    if (paths_.empty()) {
        return std::nullopt;
    }
    index_ = nextIndex();
    return paths_[static_cast<std::size_t>(index_)];
}

std::optional<std::string> SlidePlaylist::peekForward() const {
    if (paths_.empty()) {
        return std::nullopt;
    }
    return paths_[static_cast<std::size_t>(nextIndex())];
}

int SlidePlaylist::nextIndex() const {
    return index_ + 1 < static_cast<int>(paths_.size()) ? index_ + 1 : 0;
}

std::optional<std::string> SlidePlaylist::back() {
    if (paths_.size() < 2) {
        return std::nullopt;
    }
    index_ = index_ <= 0 ? static_cast<int>(paths_.size()) - 1 : index_ - 1;
    return paths_[static_cast<std::size_t>(index_)];
}

bool pointerOverPanel(int px, int py, int left, int top, int width, int height) {
    return left <= px && px <= left + width && top <= py && py <= top + height;
}

DockEdge nearestEdge(int x, int y, int width, int height) {
    const std::array<std::pair<int, DockEdge>, 4> distances{{{x, DockEdge::Left},
                                                             {y, DockEdge::Top},
                                                             {width - x, DockEdge::Right},
                                                             {height - y, DockEdge::Bottom}}};
    return std::min_element(distances.begin(), distances.end(),
                            [](const auto& a, const auto& b) { return a.first < b.first; })
        ->second;
}

}  // namespace pictaria
