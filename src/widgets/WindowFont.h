// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's window font: "ＭＳ Ｐゴシック" at 12 pixels. That family does not exist here; its
// place is taken by IPAPGothic, a proportional gothic of the same design, with Noto Sans CJK JP
// where IPAPGothic is missing.

#include <QFont>

namespace pictaria {

QFont windowFont();

}  // namespace pictaria
