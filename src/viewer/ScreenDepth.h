// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen's colour depth (bits per pixel), which decides whether JPEGs decode to a palette.

namespace pictaria {

// The depth of the primary screen, measured at the first call and kept for the process;
// 24 when there is no screen.
int screenDepth();

// Replaces the measured depth (tests, and screens the toolkit misreports).
void setScreenDepth(int bitsPerPixel);

}  // namespace pictaria
