// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The slide show's play list and position, with the wrap rules of forward and back.

#include <optional>
#include <string>
#include <vector>

namespace pictaria {

class SlidePlaylist {
  public:
    // Replaces the list and goes back to the first picture; the path to show, if any.
    std::optional<std::string> restart(std::vector<std::string> paths);

    // One step forward, wrapping to the first picture; nothing when the list is empty.
    std::optional<std::string> forward();
    // Where forward() would go, without going there.
    std::optional<std::string> peekForward() const;
    // One step back, wrapping to the last picture; nothing with fewer than two pictures.
    std::optional<std::string> back();

    bool empty() const { return paths_.empty(); }
    int index() const { return index_; }
    const std::vector<std::string>& paths() const { return paths_; }

  private:
    int nextIndex() const;

    std::vector<std::string> paths_;
    int index_ = 0;
};

// Where the slide show's control panel shows: the pointer inside the panel's rectangle, edges
// included.
bool pointerOverPanel(int px, int py, int left, int top, int width, int height);

enum class DockEdge { Left, Top, Right, Bottom };

// The window edge nearest to a point of the window (left and top win ties, in that order).
DockEdge nearestEdge(int x, int y, int width, int height);

}  // namespace pictaria
