// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <cstdlib>

#include <memory>

#include "MainWindowProbe.h"
#include "app/MainFormUnit1.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"
#include "widgets/StatusBar.h"

namespace pictaria {
namespace {

using test::stateOf;
using test::waitForPicture;

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
        stateOf(*window).SourceFolder = "C:\\写真";
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
        ASSERT_TRUE(waitForPicture(*window));
    }

    TempDir root;
    TestDrives drives;
    std::unique_ptr<TForm1> window;
};

TEST_F(SourceViewTest, PickingAnItemShowsItsPictureNameAndSize) {
    pick(1);

    EXPECT_EQ(window->Label1->text(), QStringLiteral("tall.JPG"));
    EXPECT_EQ(stateOf(*window).CurrentPicturePath, "C:\\写真\\tall.JPG");
    EXPECT_EQ(window->Image2->picture().size(), QSize(20, 50));
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral("20X50"));
}

// The pictures read ahead tell nothing until they are picked; a key move then shows the one
// read ahead, with its message. Broken bitmaps make every load that is shown visible.
TEST_F(SourceViewTest, PicturesReadAheadTellTheirErrorsOnlyWhenPicked) {
    test::RecordingMessages messages;
    window->CListBox1->clear();
    for (int i = 0; i < 4; ++i) {
        const std::string name = "broken" + std::to_string(i) + ".bmp";
        root.writeFile("写真/" + name, "BM not a bitmap " + std::to_string(i));
        window->CListBox1->addName(name);
    }
    pick(0);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Bitmap image is not valid"});
    QTest::qWait(300);  // broken1 and broken2 are read ahead meanwhile
    EXPECT_EQ(messages.shown.size(), 1u);

    QTest::keyClick(window->CListBox1, Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.shown.size() == 2; }));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("broken1.bmp"));
    QTest::qWait(100);
    EXPECT_EQ(messages.shown.size(), 2u);
}

// A pick that shows no picture of its own empties the view: no picture stands under another
// file's name.
TEST_F(SourceViewTest, APickWithNothingToShowEmptiesTheView) {
    window->CListBox1->addName("photo.CR2");
    for (const int nothingToShow : {2, 3, 4}) {  // a kind not viewed, a missing file, camera RAW
        pick(0);
        pick(nothingToShow);

        EXPECT_EQ(window->Label1->text(), window->CListBox1->item(nothingToShow)->text());
        EXPECT_EQ(stateOf(*window).CurrentPicturePath,
                  "C:\\写真\\" + window->CListBox1->name(nothingToShow));
        EXPECT_TRUE(window->Image2->picture().isNull());
        EXPECT_EQ(window->Image2->toolTip(), QString());
    }
}

// A press, pointer movements with the button held in one-pixel steps, and a release, as a hand
// makes them.
void pressMoveRelease(QWidget* viewport, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(viewport, button, {}, from);
    const int steps = std::max(std::abs(to.y() - from.y()), std::abs(to.x() - from.x()));
    for (int i = 1; i <= steps; ++i) {
        const QPoint point = from + (to - from) * i / steps;
        QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton,
                         button, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, button, {}, to);
}

std::vector<bool> ticksOf(const CheckListBox* list) {
    std::vector<bool> ticks;
    for (int row = 0; row < list->count(); ++row) {
        ticks.push_back(list->checked(row));
    }
    return ticks;
}

// After any gesture in the list, the picture shown, its caption, the current path and the
// entry that a click on the picture ticks are one and the same entry.
TEST_F(SourceViewTest, GesturesInTheListKeepTheShownAndTheActedOnEntryTogether) {
    CheckListBox* list = window->CListBox1;
    const auto centre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
    const QPoint tickBox(list->visualItemRect(list->item(1)).left() + 8, centre(1).y());
    const QPoint belowItems(30, list->visualItemRect(list->item(3)).bottom() + 40);
    struct Gesture {
        const char* what;
        Qt::MouseButton button;
        QPoint from, to;
        int shown;  // the entry shown, and ticked by the click on the picture, afterwards
        std::vector<bool> ticks;  // after the gesture
    };
    const Gesture gestures[] = {
        {"right click on another name",
         Qt::RightButton,
         centre(1),
         centre(1),
         0,
         {false, false, false, false}},
        {"left click below the items",
         Qt::LeftButton,
         belowItems,
         belowItems,
         0,
         {false, false, false, false}},
        {"short drag to the next name",
         Qt::LeftButton,
         centre(1),
         centre(2),
         1,
         {false, true, true, false}},  // a left drag ticks the names it passes
        {"long drag over every name",
         Qt::LeftButton,
         centre(1),
         centre(3),
         1,
         {false, true, true, true}},
        {"tick box clicked with a jitter",
         Qt::LeftButton,
         tickBox,
         tickBox + QPoint(1, 1),
         1,
         {false, true, false, false}},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.what);
        for (int row = 0; row < list->count(); ++row) {
            list->setChecked(row, false);
        }
        pick(0);
        pressMoveRelease(list->viewport(), gesture.button, gesture.from, gesture.to);
        EXPECT_EQ(ticksOf(list), gesture.ticks);

        QTest::mouseClick(window->Image2, Qt::LeftButton);
        std::vector<bool> ticked = gesture.ticks;
        ticked[gesture.shown] = !ticked[gesture.shown];
        EXPECT_EQ(ticksOf(list), ticked);
        const std::string name = list->name(gesture.shown);
        EXPECT_EQ(list->selectedIndex(), gesture.shown);
        EXPECT_EQ(window->Label1->text().toStdString(), name);
        EXPECT_EQ(stateOf(*window).CurrentPicturePath, "C:\\写真\\" + name);
        EXPECT_EQ(window->Image2->picture().size(),
                  gesture.shown == 0 ? QSize(40, 30) : QSize(20, 50));
    }
}

// The entry shown leaves the list (moved or deleted): a click on the picture then ticks no
// other entry.
TEST_F(SourceViewTest, RemovingTheShownEntryLeavesNothingToTick) {
    CheckListBox* list = window->CListBox1;
    pick(1);
    list->removeAt(1);
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    EXPECT_EQ(ticksOf(list), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(list->selectedIndex(), -1);
    EXPECT_TRUE(window->Label1->text().isEmpty());
    EXPECT_TRUE(window->Image2->picture().isNull());
}

// A key pick of a picture not read ahead empties the view under the new name at once; its
// picture, read late, is shown only if no other pick came in between: a pick in the
// destination list does not take the large view, an auto-scroll step replaces the pick.
TEST_F(SourceViewTest, ALatePictureIsShownOnlyWhileItsPickWaitsForIt) {
    CheckListBox* list = window->CListBox1;
    savePicture("写真/far.JPG", QSize(30, 70), "JPEG");
    list->addName("far.JPG");  // entry 4: not read ahead from entry 0
    window->CListBox2->addName("tall.JPG");
    stateOf(*window).TargetFolder = "C:\\写真";
    const auto endWhileWaiting = [&] {
        pick(0);
        QTest::keyClick(list, Qt::Key_End);  // no event is handled until the next step is done
        EXPECT_EQ(window->Label1->text(), QStringLiteral("far.JPG"));
        EXPECT_TRUE(window->Image2->picture().isNull());
    };

    endWhileWaiting();
    window->CListBox2->setItemIndex(0);
    window->CListBox2Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Image2->picture().isNull(); }));
    EXPECT_EQ(window->Image2->picture().size(), QSize(30, 70));
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral("30X70"));

    endWhileWaiting();
    list->setItemIndex(0);  // as if the scroll had been there
    window->Timer1Timer();
    QTest::qWait(200);
    EXPECT_EQ(list->selectedIndex(), 1);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("tall.JPG"));
    EXPECT_EQ(window->Image2->picture().size(), QSize(20, 50));
}

// Long names and paths are cut with "…" and never widen the window.
TEST_F(SourceViewTest, LongCaptionsKeepTheWindowsWidth) {
    const int width = window->width();
    const std::string longName = std::string(251, 'n') + ".JPG";
    std::string deepFolder = "C:";
    for (int level = 0; level < 40; ++level) {
        deepFolder += "\\フォルダ" + std::to_string(level);
    }
    window->CListBox1->addName(longName);
    pick(4);
    window->StatusBar1->setSimpleText(deepFolder + " 12個");
    QCoreApplication::processEvents();

    EXPECT_EQ(window->width(), width);
    EXPECT_EQ(window->minimumSizeHint().width() <= width, true);
    EXPECT_EQ(window->Label1->toolTip().toStdString(), longName);
    EXPECT_TRUE(window->Label1->shownText().endsWith(QChar(0x2026)));
}

TEST_F(SourceViewTest, ResizingBeforeAnythingIsPickedShowsNothing) {
    window->resize(1000, 700);
    QCoreApplication::processEvents();
    ASSERT_TRUE(waitForPicture(*window));

    EXPECT_TRUE(window->Image2->picture().isNull());
    EXPECT_TRUE(window->Image1->picture().isNull());
    EXPECT_TRUE(window->Label1->text().isEmpty());
}

TEST_F(SourceViewTest, ResizingShowsThePreviewEntryAtTheIndexAndThePickedPictureAgain) {
    stateOf(*window).PreviewPaths.add("C:\\写真\\wide.bmp");
    stateOf(*window).PreviewPaths.add("C:\\写真\\tall.JPG");
    stateOf(*window).PreviewIndex = 1;
    window->CListBox1->setItemIndex(0);

    window->resize(1000, 700);
    QCoreApplication::processEvents();
    ASSERT_TRUE(waitForPicture(*window));

    EXPECT_EQ(window->Image1->picture().size(), QSize(20, 50));
    EXPECT_EQ(window->Image2->picture().size(), QSize(40, 30));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("wide.bmp"));
}

}  // namespace
}  // namespace pictaria
