#include "app/ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace pictaria {

namespace {

// Compiled into the program from data/ (src/app/CMakeLists.txt).
constexpr char kIconResource[] = ":/icons/org.pictaria.Pictaria.svg";

// Rendered once per size here rather than left to an icon engine plugin: the program then
// depends on the SVG library itself, which the package's dependencies name.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128};

}  // namespace

QIcon applicationIcon() {
    QSvgRenderer renderer(QString::fromLatin1(kIconResource));
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    for (const int size : kIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace pictaria
