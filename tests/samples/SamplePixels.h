// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures drawn by program for tests, benchmarks and fuzz seeds.

#include <QColor>
#include <QImage>
#include <cstdint>

namespace pictaria::samples {

// One colour all over (24-bit RGB).
QImage solidPicture(int width, int height, QColor colour);

// Smooth colour ramps: red across, green down, blue along the diagonal (24-bit RGB).
QImage gradientPicture(int width, int height);

// Photo-like content: soft colour fields under fine random grain, the way a camera's sensor
// noise sits on a scene (24-bit RGB). The same seed always gives the same picture.
QImage grainyPicture(int width, int height, std::uint32_t seed);

}  // namespace pictaria::samples
