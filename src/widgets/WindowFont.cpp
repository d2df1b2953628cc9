#include "widgets/WindowFont.h"

#include <QStringList>

namespace pictaria {

namespace {

const QString kFamily = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int kPixelSize = 12;

void installSubstitutes() {
    static const bool installed = [] {
        QFont::insertSubstitutions(
            kFamily, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
        return true;
    }();
    (void)installed;
}

}  // namespace

QFont windowFont() {
    installSubstitutes();
    QFont font(kFamily);
    font.setPixelSize(kPixelSize);
    return font;
}

}  // namespace pictaria
