// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button caption that must fit a button of fixed width: the caption's font is made smaller,
// a pixel at a time, until the button as the style draws it holds the whole caption.

#include <QString>

class QPushButton;

namespace pictaria {

// Sets the caption, starting from `pixelSize` (the button's designed font size).
void setFittedCaption(QPushButton& button, const QString& caption, int pixelSize);

}  // namespace pictaria
