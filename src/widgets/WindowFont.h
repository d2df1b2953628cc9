#pragma once
// The program's window font: "ＭＳ Ｐゴシック" at 12 pixels. That family does not exist here, so
// it is mapped to IPAPGothic, a proportional gothic of the same design, with Noto Sans CJK JP as
// the fallback.

#include <QFont>

namespace pictaria {

QFont windowFont();

}  // namespace pictaria
