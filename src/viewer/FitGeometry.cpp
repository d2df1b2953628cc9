// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/FitGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace pictaria {

namespace {

// Truncates toward zero, saturating where the value leaves the int range (a pane of absurd or
// negative size must not overflow).
int truncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), double{INT_MIN}, double{INT_MAX}));
}

// (outer - inner) / 2, truncated toward zero, without overflowing.
int centredOffset(int outer, int inner) {
    const long long half = (static_cast<long long>(outer) - inner) / 2;
    return static_cast<int>(std::clamp<long long>(half, INT_MIN, INT_MAX));
}

// A ratio of two integers, stored in single precision as the comparison needs it.
float storedRatio(int numerator, int denominator) {
    return static_cast<float>(static_cast<double>(numerator) / denominator);
}

// A sliver of a picture shrunk into a pane keeps one pixel across, or it would vanish; in a
// pane with no room at all it stays empty.
int atLeastOnePixel(int side, int paneSide) {
    return paneSide > 0 ? std::max(1, side) : side;
}

PictureBounds naturalSizeCentred(int paneWidth, int paneHeight, int pictureWidth,
                                 int pictureHeight) {
    PictureBounds bounds;
    bounds.height = pictureHeight;
    bounds.width = pictureWidth;
    bounds.top = centredOffset(paneHeight, bounds.height);
    bounds.left = centredOffset(paneWidth, bounds.width);
    return bounds;
}

}  // namespace

std::optional<PictureBounds> fitToPane(int paneWidth, int paneHeight, int pictureWidth,
                                       int pictureHeight) {
    if (paneWidth == 0 || pictureWidth == 0) {
        return std::nullopt;
    }
    const float pictureRatio = storedRatio(pictureHeight, pictureWidth);
    const float paneRatio = storedRatio(paneHeight, paneWidth);
    PictureBounds bounds;
    if (pictureRatio > paneRatio) {
        if (pictureHeight <= paneHeight) {
            return naturalSizeCentred(paneWidth, paneHeight, pictureWidth, pictureHeight);
        }
        bounds.height = paneHeight;
        bounds.width = atLeastOnePixel(
            truncateToInt(static_cast<double>(paneHeight) / pictureRatio), paneHeight);
        bounds.top = 0;
        bounds.left = centredOffset(paneWidth, bounds.width);
    } else {
        if (pictureWidth <= paneWidth) {
            return naturalSizeCentred(paneWidth, paneHeight, pictureWidth, pictureHeight);
        }
        bounds.height = atLeastOnePixel(
            truncateToInt(static_cast<double>(paneWidth) * pictureRatio), paneWidth);
        bounds.width = paneWidth;
        bounds.top = centredOffset(paneHeight, bounds.height);
        bounds.left = 0;
    }
    return bounds;
}

int coveringScaleDenominator(int frameWidth, int frameHeight, int boxWidth, int boxHeight) {
    const auto scaledCovers = [&](int denominator) {
        const auto scaled = [denominator](int size) {
            return (static_cast<long long>(size) + denominator - 1) / denominator;
        };
        return scaled(frameWidth) >= boxWidth && scaled(frameHeight) >= boxHeight;
    };
    for (const int denominator : {8, 4, 2}) {
        if (scaledCovers(denominator)) {
            return denominator;
        }
    }
    return 1;
}

}  // namespace pictaria
