// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a camera stored a photograph: the EXIF Orientation tag (TIFF tag 0x0112 of the first image
// directory), and the turn or mirroring that shows the picture upright.

#include <QSize>

#include <cstddef>

namespace pictaria {

// The EXIF orientations: 1 as stored; 2 mirrored left to right; 3 turned half round; 4 mirrored
// top to bottom; 5 transposed; 6 to be turned a quarter clockwise; 7 transversed; 8 to be
// turned a quarter anticlockwise.
inline constexpr int kStoredUpright = 1;

// The orientation in the TIFF structure of an EXIF block (what follows "Exif\0\0" in the APP1
// segment). A missing, broken or out-of-range tag, or a block that is cut short, gives 1.
int exifOrientation(const unsigned char* tiff, std::size_t size);

// The size of the upright picture.
QSize uprightSize(QSize stored, int orientation);

}  // namespace pictaria
