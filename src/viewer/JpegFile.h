// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a JPEG file for display.

#include <sys/types.h>
#include <atomic>
#include <cstddef>
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

// Reads a JPEG file's bytes from an open descriptor, as read(2) does. Set, every JPEG file is read
// through it (a benchmark slows the reads down to a memory card's pace); unset, straight from
// the file. Set it before any picture is read.
using PictureFileReader = ssize_t (*)(int fd, void* buffer, std::size_t size);
void setPictureFileReader(PictureFileReader reader);

}  // namespace pictaria
