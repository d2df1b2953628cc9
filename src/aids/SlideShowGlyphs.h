// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures on the slide show's control buttons, drawn in code: a 16 by 16 framed square
// holding a black figure, and a greyed, embossed image of the same figure for the disabled state.

#include <QIcon>
#include <QImage>

namespace pictaria {

enum class SlideGlyph {
    Start,    // a right-pointing triangle
    Forward,  // a bar followed by a right-pointing triangle
    Stop,     // two bars
    Back,     // a left-pointing triangle followed by a bar
    Close,    // a filled square
};

QImage slideGlyphImage(SlideGlyph glyph, bool enabled);

// Both images, for the normal and the disabled look.
QIcon slideGlyphIcon(SlideGlyph glyph);

}  // namespace pictaria
