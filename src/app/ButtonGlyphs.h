// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small pictures on the main window's buttons, drawn in code. Each glyph is 16 by 16
// pixels; the disabled look is derived by the icon itself.

#include <QIcon>

namespace pictaria {

enum class Glyph {
    None,
    Open,
    Copy,
    Move,
    Out,
    Clear,
    Delete,
    Slide,
    Change,
    ClosePage,
    AttachText,
    Search,
    SelectFolder,
    Next,
};

QIcon glyphIcon(Glyph glyph);

}  // namespace pictaria
