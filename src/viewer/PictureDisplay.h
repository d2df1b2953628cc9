#pragma once
// Shows a picture file in an image control fitted into a pane, or at actual size. Every picture
// the program shows goes through here.

#include <string>

namespace pictaria {

class ImageControl;

// Loads the JPEG or bitmap file at `path` (path text), sets the control's bounds so that the
// picture fits a pane of the given size (never enlarged, centred), picks fitted or actual-size
// drawing and hands the picture to the control. Returns the picture's size as "640X480",
// empty when nothing was loaded.
//
// - A missing file leaves the control untouched.
// - A file of no displayable kind (camera RAW, anything else) empties the control.
// - A JPEG that cannot be decoded empties the control, silently.
// - A bitmap that cannot be loaded throws PictureLoadError before the control is touched.
//
// In fitted mode a JPEG is decoded at the smallest DCT scale that still covers the fitted
// bounds, so the control's picture may be smaller than the returned size; the control scales
// it to its bounds. At actual size it is decoded in full. Colour JPEGs decode to an 8-bit
// palette on a screen of 8 bits or fewer (see ScreenDepth.h).
std::string showPicture(int paneWidth, int paneHeight, ImageControl& image, const std::string& path,
                        bool shrinkToFit);

}  // namespace pictaria
