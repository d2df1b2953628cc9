// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a JPEG file for display.

#include <atomic>
#include <string_view>

#include "viewer/JpegDecoder.h"
#include "viewer/LoadedPicture.h"

namespace pictaria {

// Decodes the JPEG file at a path text at the scale `scaleFor` picks. Any failure (no such
// regular file, not a JPEG, too large, hostile) gives an empty result and no message; so does
// a decode given up because `cancelled` became true. Colours are converted from the file's own
// ICC profile, where it has a usable one, to `output`.
LoadedPicture loadJpegFile(std::string_view pathText, const ScaleChooser& scaleFor, bool palette,
                           const std::atomic<bool>* cancelled = nullptr,
                           const ColourProfile& output = {});

}  // namespace pictaria
