// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour profile of the screen the program draws on, which pictures with a profile of their
// own are converted to.

#include "viewer/ColourProfile.h"

namespace pictaria {

// The ICC profile the desktop publishes for the screen (the X11 root window's _ICC_PROFILE
// property, set by the colour manager); sRGB when there is none, on another platform than X11
// (offscreen, Wayland) or without an application. Every picture request asks for it, several
// for each step through the list, so it is read from the screen at most once a second: a
// profile changed while the program runs applies from a picture asked for after that. Call on
// the window's thread.
ColourProfile screenColourProfile();

}  // namespace pictaria
