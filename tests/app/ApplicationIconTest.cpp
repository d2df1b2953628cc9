#include <gtest/gtest.h>

#include <QImage>

#include "app/ApplicationIcon.h"
#include "app/MainFormUnit1.h"

namespace pictaria {
namespace {

// The icon is the SVG compiled into the program: a folder with a photograph in it, transparent
// around the folder's tab.
TEST(ApplicationIcon, IsDrawnFromTheSvgAtEverySizeAFrameAsksFor) {
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(128, 128)));

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
