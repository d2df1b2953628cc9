// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDialog>
#include <QLabel>

#include <algorithm>

#include "MainWindowFixture.h"
#include "MainWindowProbe.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "support/ModalAnswers.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"

namespace pictaria {
namespace {

using test::stateOf;
using test::waitForPicture;

using Names = std::vector<std::string>;

class DestinationPreviewTest : public test::MainWindowFixture {
  protected:
    void scan(const std::string& folder) {
        stateOf(*window).TargetFolder = folder;
        window->CListBox2->clear();
        window->ScanTargetFolder();
        EXPECT_TRUE(test::waitForListings(*window));
    }
};

TEST_F(DestinationPreviewTest, ListsFoldersAndPicturesAndCyclesThroughThePreview) {
    c.writeFile("Dest/a.CRW", "raw bytes");
    savePicture(c, "Dest/b.jpg", QSize(64, 48));
    c.makeFolder("Dest/Sub");
    c.makeFolder("Dest/.hidden");
    savePicture(c, "Dest/.hidden.jpg", QSize(32, 24));
    c.writeFile("Dest/raw.crw", "lower case is no folder picture");
    scan("C:\\Dest");

    // In name order.
    EXPECT_EQ(names(window->CListBox2), (Names{".hidden.jpg", "a.CRW", "b.jpg", "Sub"}));
    EXPECT_EQ(stateOf(*window).PreviewCount, 3);
    EXPECT_EQ(stateOf(*window).PreviewIndex, 0);
    EXPECT_EQ(window->Image1->picture().size(), QSize(32, 24));  // the first previewable picture
    EXPECT_EQ(currentDir(), "C:\\Dest");

    // "Next" walks every entry and wraps; a RAW entry empties the preview.
    bool sawEmpty = false;
    for (int step = 0; step < stateOf(*window).PreviewCount; ++step) {
        window->BitBtn8Click();
        ASSERT_TRUE(waitForPicture(*window));
        sawEmpty = sawEmpty || window->Image1->picture().isNull();
    }
    EXPECT_EQ(stateOf(*window).PreviewIndex, 0);
    EXPECT_TRUE(sawEmpty);
}

TEST_F(DestinationPreviewTest, OnlyJpegUpperCaseIsNoFirstPreviewAndTheRootJoinsWithoutBackslash) {
    savePicture(d, "x.JPEG", QSize(30, 20));
    scan("D:\\");
    ASSERT_EQ(stateOf(*window).PreviewPaths.count(), 1);
    EXPECT_EQ(stateOf(*window).PreviewPaths[0], "D:\\x.JPEG");
    const QImage blank = window->Image1->picture();
    EXPECT_EQ(blank.pixelColor(blank.width() / 2, blank.height() / 2), QColor(Qt::white));
    window->BitBtn8Click();
    ASSERT_TRUE(waitForPicture(*window));
    EXPECT_EQ(window->Image1->picture().size(), QSize(30, 20));
}

TEST_F(DestinationPreviewTest, EmptyOrMissingFolderClearsThePreviewAndNextDoesNothing) {
    scan("C:\\Missing");
    EXPECT_EQ(window->CListBox2->count(), 0);
    EXPECT_EQ(stateOf(*window).PreviewCount, 0);
    window->BitBtn8Click();
    EXPECT_EQ(stateOf(*window).PreviewIndex, 0);
}

TEST_F(DestinationPreviewTest, PickingADestinationFolderShowsNothing) {
    c.makeFolder("Dest/Sub");
    savePicture(c, "Dest/b.jpg", QSize(10, 10));
    scan("C:\\Dest");
    const auto list = names(window->CListBox2);
    const int sub = static_cast<int>(std::find(list.begin(), list.end(), "Sub") - list.begin());
    window->Image1->setPicture(QImage());
    clickItem(window->CListBox2, sub);
    EXPECT_EQ(stateOf(*window).CurrentPicturePath, "C:\\Dest\\Sub");
    EXPECT_EQ(window->Label2->text(), "Sub");
    EXPECT_TRUE(window->Image1->picture().isNull());
}

TEST_F(DestinationPreviewTest, ClickingTheLargePictureTurnsTheCurrentTickOver) {
    window->Image2Click();  // no current item: nothing
    window->CListBox1->addNames({"a.jpg", "b.jpg"});
    clickItem(window->CListBox1, 1);
    window->Image2Click();
    EXPECT_TRUE(window->CListBox1->checked(1));
    EXPECT_FALSE(window->CListBox1->checked(0));
    window->Image2Click();
    EXPECT_FALSE(window->CListBox1->checked(1));
}

TEST_F(DestinationPreviewTest, OpenFillsTheSourceListFromTheDialogAndCancelKeepsIt) {
    savePicture(c, "Card/IMG_1.JPG", QSize(8, 8));
    c.writeFile("Card/IMG_2.CR2", "not in the mask");
    c.writeFile("Card/a.Raw", "raw");
    setCurrentDir("C:\\Card");
    {
        test::ModalAnswers ok([](QDialog&) { return 1; });
        window->BitBtn5Click();
    }
    EXPECT_EQ(stateOf(*window).SourceFolder, "C:\\Card");
    EXPECT_EQ(names(window->CListBox1), (Names{"a.Raw", "IMG_1.JPG"}));
    EXPECT_FALSE(window->CListBox1->checked(0));

    test::ModalAnswers cancel([](QDialog& dialog) {
        static_cast<TSelectDirForm&>(dialog).openFolder("C:\\");
        return 2;
    });
    window->BitBtn5Click();
    window->BitBtn5Click();
    EXPECT_EQ(stateOf(*window).SourceFolder, "C:\\Card");
    EXPECT_EQ(window->CListBox1->count(), 2);
    EXPECT_EQ(window->findChildren<TSelectDirForm*>().size(), 1);  // one dialog at a time
}

TEST_F(DestinationPreviewTest, BrokenBitmapIsReportedAndEmptiesTheView) {
    savePicture(c, "Src/good.bmp", QSize(40, 30), "BMP");
    c.writeFile("Src/broken.bmp", "BM this is no bitmap");
    stateOf(*window).SourceFolder = "C:\\Src";
    window->CListBox1->addNames({"good.bmp", "broken.bmp"});
    test::RecordingMessages messages;
    clickItem(window->CListBox1, 0);
    clickItem(window->CListBox1, 1);  // the error leaves the handler through the event loop
    ASSERT_TRUE(waitForPicture(*window));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(messages.shown[0].empty());
    EXPECT_TRUE(window->Image2->picture().isNull());
    EXPECT_EQ(window->Label1->text(), "broken.bmp");

    // Told once per pick: resizing does not bring the message back, a new pick does.
    for (int width : {900, 950, 1000}) {
        window->resize(width, 700);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(messages.shown.size(), 1u);
    clickItem(window->CListBox1, 0);
    clickItem(window->CListBox1, 1);
    ASSERT_TRUE(waitForPicture(*window));
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace pictaria
