// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture as a loader hands it to the display: the pixels to draw and the picture's natural
// size. The two differ when a JPEG was decoded at a reduced scale for a shrunken display.

#include <QImage>
#include <QSize>

namespace pictaria {

struct LoadedPicture {
    QImage image;               // null when nothing was loaded
    QSize naturalSize{0, 0};    // the size in the file's header; 0 by 0 when nothing was loaded
    bool lackedMemory = false;  // nothing was loaded because the picture did not fit in memory

    bool loaded() const { return !image.isNull(); }
};

}  // namespace pictaria
