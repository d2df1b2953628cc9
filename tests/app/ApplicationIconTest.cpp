// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "app/ApplicationIcon.h"
#include "app/MainFormUnit1.h"

namespace pictaria {
namespace {

QImage renderedSvg(int size) {
    QSvgRenderer renderer(QStringLiteral(ICON_SVG_PATH));
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The icon is the SVG installed for the desktop, drawn at every size a frame asks for: a folder
// with a photograph in it, transparent around the folder's tab.
TEST(ApplicationIcon, IsTheDesktopsSvgAtEverySizeAFrameAsksFor) {
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QImage drawn =
            icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(drawn, renderedSvg(size));
    }
    const QImage large = icon.pixmap(128).toImage();
    const QColor folderFront = large.pixelColor(64, 112);
    EXPECT_GT(folderFront.red(), 200);
    EXPECT_GT(folderFront.red(), folderFront.blue() + 100);
    EXPECT_EQ(large.pixelColor(2, 2).alpha(), 0);
}

TEST(ApplicationIcon, IsTheMainWindowsIcon) {
    TForm1 window;
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().pixmap(32).toImage(), applicationIcon().pixmap(32).toImage());
}

}  // namespace
}  // namespace pictaria
