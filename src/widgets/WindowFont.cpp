// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/WindowFont.h"

#include <QStringList>

namespace pictaria {

namespace {

constexpr int kPixelSize = 12;

}  // namespace

QFont windowFont() {
    // The families are named directly rather than as substitutes for "ＭＳ Ｐゴシック": for a
    // family that is not installed, Qt asks fontconfig which fonts could stand in for it each
    // time a font is loaded, and those queries cost about as much as loading the font itself.
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(kPixelSize);
    return font;
}

}  // namespace pictaria
