// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a Windows bitmap for display, through Qt's BMP reader: every variant it accepts
// (1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8, bit-field masks) is shown. A bitmap
// that cannot be loaded is an error the user sees, so failures throw.

#include <QIODevice>
#include <string_view>

#include "viewer/LoadedPicture.h"

namespace pictaria {

// Largest bitmap the reader may allocate, in MiB; in line with the JPEG limit.
inline constexpr int kBitmapAllocationLimitMb = 1024;

// Reads a bitmap from an open device. Throws PictureLoadError when it is not a valid bitmap.
QImage readBitmap(QIODevice& device, int allocationLimitMb = kBitmapAllocationLimitMb);

// Loads the bitmap file at a path text. Throws PictureLoadError when the file cannot be
// opened or is not a valid bitmap.
LoadedPicture loadBitmapFile(std::string_view pathText);

}  // namespace pictaria
