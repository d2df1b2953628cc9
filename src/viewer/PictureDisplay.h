// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows a picture file in an image control fitted into a pane, or at actual size. Every picture
// the program shows goes through here.

#include <atomic>
#include <exception>
#include <string>

#include "viewer/ColourProfile.h"
#include "viewer/LoadedPicture.h"

namespace pictaria {

class ImageControl;

// What to load: a file for a pane of a size, fitted or at actual size, in full colour or for a
// palette screen, on a screen with so many device pixels to the pane's pixel and this colour
// profile (pictures carrying a profile of their own are converted to it).
struct PictureRequest {
    std::string path;
    int paneWidth = 0;
    int paneHeight = 0;
    bool shrinkToFit = true;
    bool palette = false;
    double devicePixelRatio = 1;
    ColourProfile outputProfile{};

    bool operator==(const PictureRequest&) const = default;
};

// A picture loaded for a request, ready to be handed to an image control. Loading touches no
// widget, so it may run on any thread; what the user is told of a failure waits in `error`
// until the picture is shown.
struct PreparedPicture {
    bool fileFound = false;  // false: showing it leaves the control untouched
    LoadedPicture picture;
    std::exception_ptr error;  // what loading threw (a PictureLoadError for a broken bitmap)
};

// `cancelled`, where given, gives up a JPEG decode part way (the result is then empty). A picture
// that does not fit in the pictures' memory (see PictureMemory.h) comes with a PictureLoadError
// naming the file (pictureTooLargeText), and picture.lackedMemory set.
PreparedPicture preparePicture(const PictureRequest& request,
                               const std::atomic<bool>* cancelled = nullptr);

// What the user is told of a picture that does not fit in memory.
std::string pictureTooLargeText(const std::string& path);

// Hands a prepared picture to the control as showPicture does, on the window's thread; throws
// the prepared error before the control is touched.
std::string presentPicture(const PreparedPicture& prepared, const PictureRequest& request,
                           ImageControl& image);

// The request for `path` in a pane, for the screen the program runs on (its depth and colour
// profile, read now); `devicePixelRatio` is the image control's.
PictureRequest pictureRequest(const std::string& path, int paneWidth, int paneHeight,
                              bool shrinkToFit, double devicePixelRatio);

// Loads the JPEG or bitmap file at `path` (path text), sets the control's bounds so that the
// picture fits a pane of the given size (never enlarged, centred), picks fitted or actual-size
// drawing and hands the picture to the control. Returns the picture's size as "640X480",
// empty when nothing was loaded.
//
// - A missing file leaves the control untouched.
// - A file of no displayable kind (camera RAW, anything else) empties the control.
// - A JPEG that cannot be decoded empties the control, silently.
// - A bitmap that cannot be loaded throws PictureLoadError before the control is touched.
// - A picture that does not fit in memory throws PictureLoadError naming the file, likewise.
//
// In fitted mode a JPEG is decoded at the smallest DCT scale that still covers the fitted
// bounds, so the control's picture may be smaller than the returned size; the control scales
// it to its bounds. At actual size it is decoded in full. Colour JPEGs decode to an 8-bit
// palette on a screen of 8 bits or fewer (see ScreenDepth.h).
std::string showPicture(int paneWidth, int paneHeight, ImageControl& image, const std::string& path,
                        bool shrinkToFit);

}  // namespace pictaria
