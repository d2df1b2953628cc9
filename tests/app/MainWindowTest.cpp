// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "MainWindowProbe.h"
#include "aids/Slid_Unit3.h"
#include "app/MainFormUnit1.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/ScrollBox.h"
#include "widgets/SplitterBar.h"
#include "widgets/StringGrid.h"
#include "widgets/Timer.h"

namespace pictaria {
namespace {

using test::stateOf;

using test::TempDir;
using test::TestDrives;

class MainWindowTest : public ::testing::Test {
  protected:
    void createWindow() { window = std::make_unique<TForm1>(); }

    void showWindow() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename Control = QWidget>
    Control* control(const char* name) const {
        return window->findChild<Control*>(QString::fromLatin1(name));
    }

    // Waits until the posted layout requests have run.
    static bool settlesTo(const QWidget* widget, const QRect& geometry) {
        return QTest::qWaitFor([&] { return widget->geometry() == geometry; }, 2000);
    }

    TempDir root;
    TestDrives drives;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, DriveGridListsRemovableAndFixedDrivesInLetterOrder) {
    drives.map('A', root.path(), DriveType::Removable)
        .map('C', root.path(), DriveType::Fixed)
        .map('D', root.path(), DriveType::Fixed)
        .map('E', root.path(), DriveType::CdRom)
        .map('F', root.path(), DriveType::Remote);
    createWindow();

    StringGrid* grid = control<StringGrid>("StringGrid1");
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->cells(0, 0), "A:\\");
    EXPECT_EQ(grid->cells(0, 1), "C:\\");
    EXPECT_EQ(grid->cells(0, 2), "D:\\");
    EXPECT_EQ(grid->cells(1, 0), "");
    EXPECT_EQ(stateOf(*window).FolderEntries.texts(),
              (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
}

TEST_F(MainWindowTest, StartStateWithOnlyAFixedDriveC) {
    drives.map('C', root.path(), DriveType::Fixed);
    createWindow();

    EXPECT_EQ(control<StringGrid>("StringGrid1")->rowCount(), 1);
    EXPECT_EQ(control<StringGrid>("StringGrid1")->cells(0, 0), "C:\\");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\");
    EXPECT_EQ(stateOf(*window).SourceFolder, "");
    EXPECT_EQ(window->Timer1->interval(), 0);
    EXPECT_FALSE(window->Timer1->isRunning());
    EXPECT_TRUE(stateOf(*window).PreviewPaths.empty());
    EXPECT_TRUE(stateOf(*window).PageGrids.empty());
    EXPECT_TRUE(stateOf(*window).ShrinkToFit);
    EXPECT_EQ(stateOf(*window).PageCounter, 1);
    EXPECT_EQ(stateOf(*window).UniqueNameCounter, 2);
}

TEST_F(MainWindowTest, OnlyChangeStartsDisabledAndOnlyTheThreeSpareButtonsAreHidden) {
    drives.map('C', root.path());
    createWindow();
    showWindow();

    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QString name = button->objectName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(button->isEnabled(), name != "BitBtn10");
        const bool spare = name == "BitBtn1" || name == "BitBtn14" || name == "BitBtn15";
        EXPECT_EQ(button->isVisible(), !spare);
        // Every visible command has a key, shown in its tooltip; the spare buttons have none.
        EXPECT_EQ(button->shortcut().isEmpty(), spare);
        if (!spare) {
            EXPECT_TRUE(
                button->toolTip().contains(button->shortcut().toString(QKeySequence::NativeText)));
        }
    }
    EXPECT_EQ(window->BitBtn5->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(window->BitBtn3->toolTip(), QStringLiteral("A  (F6)"));  // after its own hint
}

struct Placement {
    const char* name;
    QRect geometry;  // relative to the parent
};

TEST_F(MainWindowTest, ControlsStartAtTheirPlaces) {
    drives.map('C', root.path());
    createWindow();
    showWindow();

    EXPECT_EQ(window->pos(), QPoint(77, 33));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ピクタリア"));
    const Placement places[] = {
        {"Panel3", {0, 0, 847, 345}},      {"Splitter1", {0, 345, 847, 4}},
        {"Panel5", {0, 349, 847, 292}},    {"StatusBar1", {0, 641, 847, 19}},
        {"Panel1", {1, 1, 347, 343}},      {"CListBox1", {1, 1, 136, 341}},
        {"CListBox2", {200, 0, 137, 253}}, {"BitBtn5", {141, 5, 58, 25}},
        {"BitBtn9", {232, 285, 109, 25}},  {"CSpinEdit1", {310, 314, 35, 21}},
        {"Panel4", {348, 1, 498, 343}},    {"Label1", {1, 329, 496, 13}},
        {"Image2", {0, 0, 105, 105}},      {"PageControl1", {1, 1, 464, 290}},
        {"Panel2", {465, 1, 381, 290}},    {"Image1", {119, 56, 89, 81}},
        {"Label2", {1, 277, 379, 12}},     {"BitBtn8", {5, 2, 57, 25}},
    };
    for (const Placement& place : places) {
        SCOPED_TRACE(place.name);
        const QWidget* found = control(place.name);
        ASSERT_NE(found, nullptr);
        EXPECT_TRUE(settlesTo(found, place.geometry))
            << found->geometry().x() << "," << found->geometry().y() << " " << found->width() << "x"
            << found->height();
    }
}

TEST_F(MainWindowTest, ResizingGrowsOnlyTheTwoPicturePanes) {
    drives.map('C', root.path());
    createWindow();
    showWindow();

    window->resize(1047, 760);

    EXPECT_TRUE(settlesTo(control("Panel4"), QRect(348, 1, 698, 343)));
    EXPECT_TRUE(settlesTo(control("Panel2"), QRect(465, 1, 581, 390)));
    EXPECT_EQ(control("Panel1")->width(), 347);
    EXPECT_EQ(control("PageControl1")->width(), 464);
    EXPECT_EQ(control("Panel3")->height(), 345);
}

TEST_F(MainWindowTest, DraggingTheSplitterDownMakesTheUpperHalfTaller) {
    drives.map('C', root.path());
    createWindow();
    showWindow();
    QWidget* splitter = control("Splitter1");
    const QPoint grip(400, 2);

    QTest::mousePress(splitter, Qt::LeftButton, {}, grip);
    QTest::mouseMove(splitter, grip + QPoint(0, 40));
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, grip + QPoint(0, 40));

    EXPECT_TRUE(settlesTo(control("Panel3"), QRect(0, 0, 847, 385)));
    EXPECT_TRUE(settlesTo(control("PageControl1"), QRect(1, 1, 464, 250)));
    EXPECT_TRUE(settlesTo(control("Panel4"), QRect(348, 1, 498, 383)));
}

TEST_F(MainWindowTest, WindowFontIsAProportionalJapaneseGothicAt12Pixels) {
    drives.map('C', root.path());
    createWindow();

    const QFontInfo resolved(control("BitBtn9")->font());
    EXPECT_TRUE(resolved.family() == "IPAPGothic" || resolved.family() == "Noto Sans CJK JP")
        << resolved.family().toStdString();
    EXPECT_EQ(resolved.pixelSize(), 12);
}

QMenu* menuOpenedByRightClickOn(QWidget* target) {
    const QPoint point(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, target->mapToGlobal(point));
    QApplication::sendEvent(target, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu) {
        menu->close();
    }
    return menu;
}

TEST_F(MainWindowTest, RightClicksOpenTheMenusOfTheListAndOfThePicturePane) {
    drives.map('C', root.path());
    createWindow();
    showWindow();

    EXPECT_EQ(menuOpenedByRightClickOn(window->CListBox1->viewport()), window->PopupMenu2);
    EXPECT_EQ(menuOpenedByRightClickOn(window->Image2), window->PopupMenu3);
    EXPECT_EQ(menuOpenedByRightClickOn(window->ScrollBox1->viewport()), window->PopupMenu3);
    EXPECT_EQ(menuOpenedByRightClickOn(window->CListBox2->viewport()), nullptr);

    QStringList captions;
    for (const QAction* item : window->PopupMenu3->actions()) {
        captions << item->text();
    }
    EXPECT_EQ(captions, (QStringList{"メニュー", "縮小して表示", "等倍で表示"}));
}

TEST_F(MainWindowTest, AboutMessageIsOneLineThroughTheMessageSeam) {
    drives.map('C', root.path());
    createWindow();
    test::RecordingMessages messages;

    window->CopyRight1->trigger();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(messages.shown[0].empty());
    EXPECT_EQ(messages.shown[0].find('\n'), std::string::npos);
}

TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheMessageLoopWhileTheSlideShowIsOpen) {
    drives.map('C', root.path());
    createWindow();
    showWindow();
    TSlidShowForm slideShow(
        [] { return std::vector<std::string>{}; },
        [](int, int, ImageControl*, const std::string&, const std::function<void()>&) {});
    slideShow.show();
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(3000);
    QTimer::singleShot(0, window.get(), &QWidget::close);

    EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace pictaria
