#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>

#include <memory>

#include "app/MainFormUnit1.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"
#include "widgets/ImageControl.h"

namespace pictaria {
namespace {

using test::TempDir;
using test::TestDrives;

class SourceViewTest : public ::testing::Test {
  protected:
    SourceViewTest() {
        drives.map('C', root.path());
        root.makeFolder("写真");
        savePicture("写真/wide.bmp", QSize(40, 30), "BMP");
        savePicture("写真/tall.JPG", QSize(20, 50), "JPEG");
        savePicture("写真/scan.jpeg", QSize(60, 60), "JPEG");
        window = std::make_unique<TForm1>();
        window->SourceFolder = "C:\\写真";
        for (const char* name : {"wide.bmp", "tall.JPG", "scan.jpeg", "missing.bmp"}) {
            window->CListBox1->addName(name);
        }
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void savePicture(const char* relative, QSize size, const char* format) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(QString::fromStdString(root.host(relative)), format));
    }

    void pick(int index) {
        CheckListBox* list = window->CListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(index)).center());
    }

    TempDir root;
    TestDrives drives;
    std::unique_ptr<TForm1> window;
};

TEST_F(SourceViewTest, PickingAnItemShowsItsPictureNameAndSize) {
    pick(1);

    EXPECT_EQ(window->Label1->text(), QStringLiteral("tall.JPG"));
    EXPECT_EQ(window->CurrentPicturePath, "C:\\写真\\tall.JPG");
    EXPECT_EQ(window->Image2->picture().size(), QSize(20, 50));
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral("20X50"));
}

TEST_F(SourceViewTest, AKindThatIsNotViewedChangesOnlyTheCaption) {
    pick(0);
    pick(2);

    EXPECT_EQ(window->Label1->text(), QStringLiteral("scan.jpeg"));
    EXPECT_EQ(window->CurrentPicturePath, "C:\\写真\\scan.jpeg");
    EXPECT_EQ(window->Image2->picture().size(), QSize(40, 30));
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral("40X30"));
}

TEST_F(SourceViewTest, AMissingFileKeepsThePreviousPicture) {
    pick(0);
    pick(3);

    EXPECT_EQ(window->Label1->text(), QStringLiteral("missing.bmp"));
    EXPECT_EQ(window->Image2->picture().size(), QSize(40, 30));
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral(""));
}

TEST_F(SourceViewTest, ResizingBeforeAnythingIsPickedShowsNothing) {
    window->resize(1000, 700);
    QCoreApplication::processEvents();

    EXPECT_TRUE(window->Image2->picture().isNull());
    EXPECT_TRUE(window->Image1->picture().isNull());
    EXPECT_TRUE(window->Label1->text().isEmpty());
}

TEST_F(SourceViewTest, ResizingShowsThePreviewEntryAtTheIndexAndThePickedPictureAgain) {
    window->PreviewPaths.add("C:\\写真\\wide.bmp");
    window->PreviewPaths.add("C:\\写真\\tall.JPG");
    window->PreviewIndex = 1;
    window->CListBox1->setItemIndex(0);

    window->resize(1000, 700);
    QCoreApplication::processEvents();

    EXPECT_EQ(window->Image1->picture().size(), QSize(20, 50));
    EXPECT_EQ(window->Image2->picture().size(), QSize(40, 30));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("wide.bmp"));
}

}  // namespace
}  // namespace pictaria
