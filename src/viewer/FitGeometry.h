// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a picture goes in its pane: the fitted bounds of the image control, computed exactly as
// the display always has (single-precision ratios, truncated sizes, truncating halvings), and
// the JPEG scale that still covers those bounds.

#include <optional>

namespace pictaria {

// Bounds of the image control, relative to the pane, listed in the order they are applied.
struct PictureBounds {
    int height = 0;
    int width = 0;
    int top = 0;
    int left = 0;

    bool operator==(const PictureBounds&) const = default;
};

// Fits a picture of the given natural size into the pane: shrunk to the pane keeping its
// aspect ratio when it is larger, otherwise kept at its natural size, and centred. Nothing
// (the control keeps its bounds) when the pane or the picture has width 0.
std::optional<PictureBounds> fitToPane(int paneWidth, int paneHeight, int pictureWidth,
                                       int pictureHeight);

// The largest of the DCT scale denominators 8, 4, 2, 1 at which a JPEG of the given frame size
// decodes to at least boxWidth by boxHeight pixels (libjpeg rounds scaled sizes up).
int coveringScaleDenominator(int frameWidth, int frameHeight, int boxWidth, int boxHeight);

}  // namespace pictaria
