// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a Windows bitmap for display, through Qt's BMP reader: every variant it accepts
// (1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8, bit-field masks) is shown. A bitmap
// that cannot be loaded is an error the user sees, so failures throw.

#include <QIODevice>
#include <string>
#include <string_view>

#include "viewer/ColourProfile.h"
#include "viewer/LoadedPicture.h"

namespace pictaria {

// Largest bitmap the reader may allocate, in MiB; in line with the JPEG limit.
inline constexpr int kBitmapAllocationLimitMb = 1024;

// Reads a bitmap from an open device, from its current position. Throws PictureLoadError when
// it is not a valid bitmap. A bitmap that embeds an ICC profile (see embeddedBitmapProfile) has
// its colours converted from it to `output`.
QImage readBitmap(QIODevice& device, int allocationLimitMb = kBitmapAllocationLimitMb,
                  const ColourProfile& output = {});

// The ICC profile embedded in the bitmap that starts at `start` on a seekable device: a V5 header
// (124 bytes) whose colour space type says PROFILE_EMBEDDED, and whose profile offset and size
// lie within the device behind the header. Empty otherwise: no V5 header, a profile linked by
// file name (never opened), fields pointing elsewhere, a profile too large.
std::string embeddedBitmapProfile(QIODevice& device, qint64 start = 0);

// Loads the bitmap file at a path text. Throws PictureLoadError when the file cannot be
// opened or is not a valid bitmap.
LoadedPicture loadBitmapFile(std::string_view pathText, const ColourProfile& output = {});

}  // namespace pictaria
