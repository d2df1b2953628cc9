#include "app/ApplicationIcon.h"

#include <QFile>

namespace pictaria {

namespace {

// Drawn from data/org.pictaria.Pictaria.svg at build time (src/app/CMakeLists.txt) and compiled
// into the program: rendering the SVG here would cost a visible part of the start-up.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128};

QString resourceOfSize(int size) {
    return QStringLiteral(":/icons/window/%1.png").arg(size);
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : kIconSizes) {
        const QString resource = resourceOfSize(size);
        if (QFile::exists(resource)) {
            icon.addFile(resource, QSize(size, size));
        }
    }
    return icon;
}

}  // namespace pictaria
