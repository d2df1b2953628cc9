// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "aids/DockablePanel.h"
#include "aids/Slid_Unit3.h"
#include "aids/SlideShowGlyphs.h"
#include "platform/MessageSink.h"
#include "support/TestDrives.h"
#include "widgets/ImageControl.h"
#include "widgets/Timer.h"

namespace pictaria {
namespace {

// A slide show over a list of made-up paths whose "pictures" are only recorded; the one named
// "broken" fails to load, which tells the user through the message seam.
class SlideShowTest : public ::testing::Test {
  protected:
    SlideShowTest()
        : show([this] { return paths; },
               [this](int width, int height, ImageControl* image, const std::string& path,
                      const std::function<void()>& done) {
                   shown.push_back(path);
                   if (path == "broken") {
                       showMessage("Bitmap image is not valid");
                   }
                   paneSize = QSize(width, height);
                   EXPECT_EQ(image, show.Image1);
                   if (deferred) {
                       awaiting.push_back(done);  // on its way, from a card
                   } else {
                       done();
                   }
               }) {}

    // Presents the window as the main window's button does, and waits for the activation that
    // starts the show.
    void activate() {
        mainWindow.show();
        mainWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
        const std::size_t before = shown.size();
        show.present();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&show));
        if (!paths.empty()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() > before; }));
        }
    }

    // A pointer movement over `control` of the slide show, delivered through its window as the
    // system would (the main window may stand at the same place).
    void moveOver(QWidget* control, QPoint point) {
        QTest::mouseMove(show.windowHandle(), control->mapTo(&show, point));
    }

    std::vector<std::string> paths;
    std::vector<std::string> shown;
    bool deferred = false;
    std::vector<std::function<void()>> awaiting;
    QSize paneSize;
    QWidget mainWindow;
    TSlidShowForm show;
};

TEST_F(SlideShowTest, CreatedHiddenWithTheTimerRunningOverNothing) {
    EXPECT_FALSE(show.isVisible());
    EXPECT_EQ(show.Timer1->interval(), 1000);
    EXPECT_EQ(show.CSpinEdit1->value(), 2);
    show.Timer1Timer();
    show.BitBtn4Click();
    EXPECT_TRUE(shown.empty());
}

TEST_F(SlideShowTest, ActivationCoversTheScreenAndShowsTheFirstPictureAtOneSecond) {
    paths = {"a", "b", "c"};
    activate();

    EXPECT_EQ(show.geometry(), show.screen()->geometry());
    EXPECT_EQ(paneSize, show.screen()->geometry().size());
    EXPECT_EQ(shown, std::vector<std::string>{"a"});
    EXPECT_EQ(show.Timer1->interval(), 1000);  // not the 2 seconds the field shows
}

TEST_F(SlideShowTest, ForwardAndBackWrapAroundThroughTheButtonsMenuAndTimer) {
    paths = {"a", "b", "c"};
    activate();

    show.BitBtn4->click();  // back from the first: the last
    show.Timer1Timer();     // forward from the last: the first
    show.N4->trigger();
    show.N5->trigger();
    show.BitBtn2->click();
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "c", "a", "b", "a", "b"}));
}

TEST_F(SlideShowTest, StartStopAndTheSecondsFieldSetTheStep) {
    paths = {"a", "b"};
    activate();

    show.BitBtn1->click();
    EXPECT_EQ(show.Timer1->interval(), 2000);
    show.N3->trigger();
    EXPECT_EQ(show.Timer1->interval(), 0);
    show.CSpinEdit1->setValue(5);  // a change while stopped starts the show
    EXPECT_EQ(show.Timer1->interval(), 5000);
    show.CSpinEdit1->setValue(0);
    EXPECT_EQ(show.Timer1->interval(), 0);
    show.CSpinEdit1->setValue(-3);  // a negative step stops the show as well
    EXPECT_EQ(show.Timer1->interval(), 0);
    show.N2->trigger();
    EXPECT_EQ(show.Timer1->interval(), 0);
}

// A picture read from a card arrives later: the step waits for it and counts from its arrival;
// one asked for meanwhile takes its place and goes on with the show's step, and a show stopped
// meanwhile stays stopped.
TEST_F(SlideShowTest, TheStepWaitsForThePictureOnItsWay) {
    paths = {"a", "b", "c"};
    activate();
    show.BitBtn1Click();
    deferred = true;
    show.Timer1Timer();
    EXPECT_EQ(show.Timer1->interval(), 0);
    show.BitBtn2Click();
    awaiting[0]();  // late: no longer the one awaited
    EXPECT_EQ(show.Timer1->interval(), 0);
    awaiting[1]();
    EXPECT_EQ(show.Timer1->interval(), 2000);

    show.Timer1Timer();
    show.BitBtn3Click();
    awaiting[2]();
    EXPECT_EQ(show.Timer1->interval(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "b", "c", "a"}));
}

TEST_F(SlideShowTest, NothingToPlayStopsTheTimerAndKeepsThePicture) {
    activate();
    EXPECT_EQ(show.Timer1->interval(), 0);
    show.BitBtn2->click();
    EXPECT_TRUE(shown.empty());
    show.BitBtn1->click();
    EXPECT_EQ(show.Timer1->interval(), 2000);
}

TEST_F(SlideShowTest, PresentingAgainRestartsFromTheFirstPictureOfTheNewList) {
    paths = {"a", "b", "c", "d", "e"};
    activate();
    for (int i = 0; i < 3; ++i) {
        show.BitBtn2Click();
    }
    show.BitBtn1Click();
    paths = {"x", "y"};

    show.present();  // already active: the show restarts all the same
    EXPECT_EQ(shown.back(), "x");
    EXPECT_EQ(show.SlideIndex(), 0);
    EXPECT_EQ(show.Timer1->interval(), 1000);
}

// Getting the activation back from the program's own windows (a load error's message box, the
// floating panel whose seconds field is typed into) goes on with the show as it was.
TEST_F(SlideShowTest, ActivationBackFromTheProgramsOwnWindowsDoesNotRestart) {
    paths = {"a", "b", "c"};
    activate();
    show.BitBtn2Click();
    show.BitBtn3Click();  // stopped on "b"

    QMessageBox box(&show);
    box.setText(QStringLiteral("Bitmap image is not valid"));
    QTimer::singleShot(100, &box, [&box] {
        EXPECT_EQ(QApplication::activeWindow(), &box);
        box.accept();
    });
    box.exec();
    show.activateWindow();  // a window manager hands the activation back
    ASSERT_TRUE(QTest::qWaitForWindowActive(&show));

    show.Panel1->tearOff(show.mapToGlobal(QPoint(40, 40)));
    show.Panel1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(show.Panel1));
    QTest::keyClicks(show.CSpinEdit1, QStringLiteral("5"));
    show.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&show));

    EXPECT_EQ(shown, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(show.SlideIndex(), 1);
    EXPECT_EQ(show.Timer1->interval(), show.CSpinEdit1->value() * 1000);  // the typed step

    show.present();  // the Slide button is a new show
    EXPECT_EQ(shown.back(), "a");
}

// Messages recorded as they are raised; the next one stays open while `whileOpen` runs, as a
// modal box does with its own event loop.
class LingeringMessages : public test::RecordingMessages {
  public:
    void showMessage(std::string_view text) override {
        RecordingMessages::showMessage(text);
        if (const auto open = std::exchange(whileOpen, nullptr)) {
            open();
        }
    }

    std::function<void()> whileOpen;
};

// A picture's load error raises a box; the running show must not raise another over it while the
// box is open, and goes on once it is closed, unless the show was ended meanwhile.
TEST_F(SlideShowTest, TimerWaitsWhileAPicturesMessageIsOpen) {
    paths = {"broken"};
    show.PlayList.restart(paths);
    show.Timer1->setInterval(20);
    LingeringMessages messages;
    messages.whileOpen = [] { QTest::qWait(300); };  // fifteen periods of the timer

    show.BitBtn2Click();  // returns when the box is closed
    EXPECT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(show.Timer1->interval(), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.shown.size() > 1; }));  // it goes on

    messages.whileOpen = [this] { show.BitBtn5Click(); };
    show.BitBtn2Click();
    EXPECT_FALSE(show.Timer1->isRunning());
}

TEST_F(SlideShowTest, CloseHidesAndStopsWhetherByButtonOrBySystem) {
    paths = {"a"};
    activate();
    show.Close1->trigger();
    EXPECT_FALSE(show.isVisible());
    EXPECT_EQ(show.Timer1->interval(), 0);

    activate();
    EXPECT_EQ(show.Timer1->interval(), 1000);
    show.close();
    EXPECT_FALSE(show.isVisible());
    EXPECT_EQ(show.Timer1->interval(), 0);

    activate();
    QTest::keyClick(&show, Qt::Key_Escape);
    EXPECT_FALSE(show.isVisible());
    EXPECT_EQ(show.Timer1->interval(), 0);
}

TEST_F(SlideShowTest, PanelShowsOnlyWhileThePointerIsOverItsPlace) {
    activate();
    const QRect panel = show.Panel1->geometry();
    const int y = panel.top() + 10;

    moveOver(&show, QPoint(panel.right() + 20, y));
    EXPECT_FALSE(show.Panel1->isVisible());
    moveOver(&show, QPoint(panel.left() + panel.width(), y));  // the edge counts
    EXPECT_TRUE(show.Panel1->isVisible());
    moveOver(&show, QPoint(panel.left() + panel.width() + 1, y));
    EXPECT_FALSE(show.Panel1->isVisible());
    moveOver(&show, QPoint(panel.left(), panel.top()));
    EXPECT_TRUE(show.Panel1->isVisible());

    // Over the picture the point counts in the window's coordinates, not the picture's.
    show.Image1->setGeometry(0, 300, 200, 100);
    show.Image1->show();
    moveOver(show.Image1, QPoint(5, 10));
    EXPECT_FALSE(show.Panel1->isVisible());
}

TEST_F(SlideShowTest, DraggedPanelFloatsAndDocksAtTheEdgeNearestTheLastPress) {
    activate();
    DockablePanel* panel = show.Panel1;
    panel->show();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(230, 5));
    const QPoint dragged(200, 30);
    QMouseEvent drag(QEvent::MouseMove, dragged, panel->mapToGlobal(dragged), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &drag);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, dragged);
    EXPECT_TRUE(panel->isFloating());
    EXPECT_EQ(panel->rectInSite().topLeft(), QPoint(-30, 8 + 25));

    show.BitBtn5Click();  // a floating panel goes and comes with the window
    EXPECT_FALSE(panel->isVisible());
    activate();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isFloating());

    const QPoint nearRightEdge(show.width() - 5, show.height() / 2);
    QTest::mousePress(&show, Qt::RightButton, {}, nearRightEdge);
    EXPECT_EQ(show.LastPress, nearRightEdge);
    show.N1->trigger();
    EXPECT_FALSE(panel->isFloating());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry().right(), show.width() - 1);
    EXPECT_TRUE(panel->geometry().contains(nearRightEdge.x(), nearRightEdge.y()));

    // A press on the picture is not a press on the background.
    show.Image1->setGeometry(0, 0, 100, 100);
    show.Image1->show();
    QTest::mousePress(show.Image1, Qt::LeftButton, {}, QPoint(2, 50));
    EXPECT_EQ(show.LastPress, nearRightEdge);
    QTest::mouseRelease(show.Image1, Qt::LeftButton, {}, QPoint(2, 50));
}

TEST(DockedTopLeft, CentresOnThePointAlongTheEdgeAndStaysInside) {
    const QSize panel(240, 40);
    const QSize site(1000, 800);
    EXPECT_EQ(dockedTopLeft(DockEdge::Right, QPoint(990, 400), panel, site), QPoint(760, 380));
    EXPECT_EQ(dockedTopLeft(DockEdge::Left, QPoint(3, 790), panel, site), QPoint(0, 760));
    EXPECT_EQ(dockedTopLeft(DockEdge::Top, QPoint(50, 2), panel, site), QPoint(0, 0));
    EXPECT_EQ(dockedTopLeft(DockEdge::Bottom, QPoint(500, 799), panel, site), QPoint(380, 760));
}

int pixelsOf(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(SlideGlyphs, EachFigureIsDistinctAndHasAGreyedImage) {
    const SlideGlyph glyphs[] = {SlideGlyph::Start, SlideGlyph::Forward, SlideGlyph::Stop,
                                 SlideGlyph::Back, SlideGlyph::Close};
    std::vector<QImage> seen;
    for (const SlideGlyph glyph : glyphs) {
        const QImage normal = slideGlyphImage(glyph, true);
        const QImage greyed = slideGlyphImage(glyph, false);
        EXPECT_EQ(normal.size(), QSize(16, 16));
        EXPECT_GT(pixelsOf(normal, Qt::black), 20);
        EXPECT_EQ(pixelsOf(greyed, Qt::black), 0);
        for (const QImage& other : seen) {
            EXPECT_NE(normal, other);
        }
        seen.push_back(normal);
        EXPECT_FALSE(slideGlyphIcon(glyph).pixmap(16, QIcon::Disabled).isNull());
    }
}

}  // namespace
}  // namespace pictaria
