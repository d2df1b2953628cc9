#pragma once
// Shows a picture file in an image control fitted into a pane, or at actual size.

#include <string>

namespace pictaria {

class ImageControl;

// Loads the JPEG or bitmap file at `path` (path text), sets the control's bounds so that the
// picture fits a pane of the given size (never enlarged), picks fitted or actual-size drawing
// and hands the picture to the control. Returns the picture's size as "640X480", empty when
// nothing was loaded. A missing file leaves the control untouched.
std::string showPicture(int paneWidth, int paneHeight, ImageControl& image, const std::string& path,
                        bool shrinkToFit);

}  // namespace pictaria
