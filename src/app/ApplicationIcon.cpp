// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationIcon.h"

#include <QDir>
#include <QFileInfo>

namespace pictaria {

namespace {

// Drawn from data/org.pictaria.Pictaria.svg at build time, one "<size>.png" per size
// (src/app/CMakeLists.txt), and compiled into the program: rendering the SVG here would cost a
// visible part of the start-up.
constexpr char kIconFolder[] = ":/icons/window";

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    const QDir folder(QString::fromLatin1(kIconFolder));
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
        const int size = file.baseName().toInt();
        icon.addFile(file.filePath(), QSize(size, size));
    }
    return icon;
}

}  // namespace pictaria
