// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's SVG icon into PNG files at the sizes the window icon offers, at build
// time, so that the program neither renders SVG nor loads the SVG library when it starts.
//   render_icon ICON.svg OUTPUT_FOLDER SIZE...   writes OUTPUT_FOLDER/SIZE.png for each size

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

bool renderAt(QSvgRenderer& renderer, int size, const QString& path) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_icon ICON.svg OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = folder + QStringLiteral("/%1.png").arg(size);
        if (size <= 0 || !renderAt(renderer, size, path)) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
