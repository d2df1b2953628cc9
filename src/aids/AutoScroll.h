// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Auto scroll through the source list: its state is the caption of the button that toggles it
// together with the interval of the timer that steps it.

#include <optional>

namespace pictaria {

// The caption while the scroll stands still: the next click starts it.
inline constexpr char kAutoScrollStopped[] = "Auto Scroll ON";
// The caption while the scroll runs: the next click stops it.
inline constexpr char kAutoScrollRunning[] = "Auto Scroll OFF";

// The entry a tick moves to from `selected` (-1 when none) in a list of `count` entries;
// nothing at the end of the list, where the scroll stops instead of wrapping around.
inline std::optional<int> nextScrollEntry(int selected, int count) {
    return selected + 1 < count ? std::optional<int>(selected + 1) : std::nullopt;
}

}  // namespace pictaria
