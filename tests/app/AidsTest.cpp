// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MainWindowProbe.h"
#include "aids/Slid_Unit3.h"
#include "aids/SystemFolderLibrary.h"
#include "app/MainFormUnit1.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"
#include "widgets/Timer.h"

namespace pictaria {
namespace {

using test::stateOf;
using test::waitForPicture;

using test::TempDir;
using test::TestDrives;

// The main window over drive C: with a source folder of five pictures of distinct widths.
class AidsTest : public ::testing::Test {
  protected:
    AidsTest() {
        drives.map('C', root.path());
        root.makeFolder("src");
        window = std::make_unique<TForm1>();
        stateOf(*window).SourceFolder = "C:\\src";
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void addPictures(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            savePicture("src/" + name, 10 + i);
            window->CListBox1->addName(name);
        }
    }

    void savePicture(const std::string& relative, int width) {
        QImage picture(width, 8, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(root.host(relative)), "BMP"));
    }

    int shownWidth() const { return window->Image2->picture().width(); }

    TempDir root;
    TestDrives drives;
    std::unique_ptr<TForm1> window;
};

TEST_F(AidsTest, EmptyListArmsStartsAndStopsAtTheFirstTick) {
    window->BitBtn13->click();
    EXPECT_EQ(window->BitBtn13->text(), QStringLiteral("Auto Scroll ON"));
    EXPECT_EQ(window->BitBtn13->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    EXPECT_EQ(window->Timer1->interval(), 0);

    // Ctrl+P goes on working whatever the caption says.
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Timer1->interval() > 0; }));
    EXPECT_EQ(window->BitBtn13->text(), QStringLiteral("Auto Scroll OFF"));
    EXPECT_EQ(window->BitBtn13->palette().color(QPalette::ButtonText),
              QPalette().color(QPalette::Highlight));
    EXPECT_TRUE(window->BitBtn13->font().bold());
    // The caption fits its button (with the style's margins) rather than being cut at both ends.
    EXPECT_LT(QFontMetrics(window->BitBtn13->font()).horizontalAdvance(window->BitBtn13->text()),
              window->BitBtn13->width() - 8);
    EXPECT_EQ(window->Timer1->interval(), 1000);

    window->Timer1Timer();
    EXPECT_EQ(window->BitBtn13->text(), QStringLiteral("Auto Scroll ON"));
    EXPECT_EQ(window->Timer1->interval(), 0);
    EXPECT_EQ(window->BitBtn13->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(window->Label1->text().isEmpty());
    EXPECT_TRUE(window->Image2->picture().isNull());
}

TEST_F(AidsTest, ScrollWalksToTheLastEntryAndStopsWithoutTheEffectsOfAClick) {
    addPictures(5);
    window->CSpinEdit1->setValue(3);
    window->BitBtn13->setText(QStringLiteral("Auto Scroll ON"));

    window->BitBtn13->click();
    ASSERT_TRUE(waitForPicture(*window));
    EXPECT_EQ(window->CListBox1->selectedIndex(), 0);
    EXPECT_EQ(shownWidth(), 10);
    EXPECT_EQ(window->Timer1->interval(), 3000);

    window->CSpinEdit1->setValue(5);  // read only when the scroll starts
    for (int i = 1; i <= 4; ++i) {
        window->Timer1Timer();
        ASSERT_TRUE(waitForPicture(*window));
        EXPECT_EQ(window->CListBox1->selectedIndex(), i);
        EXPECT_EQ(window->Label1->text(), QString::fromStdString("p" + std::to_string(i) + ".bmp"));
        EXPECT_EQ(shownWidth(), 10 + i);
        EXPECT_EQ(window->Timer1->interval(), 3000);
    }
    EXPECT_TRUE(stateOf(*window).CurrentPicturePath.empty());
    EXPECT_EQ(window->Image2->toolTip(), QStringLiteral("14X8"));  // the size of what is shown

    window->Timer1Timer();
    EXPECT_EQ(window->CListBox1->selectedIndex(), 4);
    EXPECT_EQ(window->BitBtn13->text(), QStringLiteral("Auto Scroll ON"));
    EXPECT_EQ(window->Timer1->interval(), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(window->CListBox1->checked(i));
    }
}

TEST_F(AidsTest, StartingOnTheLastEntryStopsAtTheFirstTick) {
    addPictures(3);
    window->CListBox1->setItemIndex(2);
    window->BitBtn13->click();
    window->BitBtn13->click();
    ASSERT_EQ(window->Timer1->interval(), 1000);

    window->Timer1Timer();
    EXPECT_EQ(window->Timer1->interval(), 0);
    EXPECT_EQ(window->CListBox1->selectedIndex(), 2);
    EXPECT_TRUE(window->Image2->picture().isNull());
}

// A pointer movement over the source list's rows with the given buttons held.
void moveOverList(CheckListBox* list, Qt::MouseButtons buttons, const QPoint& point) {
    QMouseEvent move(QEvent::MouseMove, point, list->viewport()->mapToGlobal(point), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
}

TEST_F(AidsTest, LeftDragTicksEveryEntryPassedAndOtherMovesTickNothing) {
    addPictures(5);
    CheckListBox* list = window->CListBox1;
    list->setChecked(1, true);
    const auto rowCentre = [list](int row) {
        return list->visualItemRect(list->item(row)).center();
    };

    moveOverList(list, Qt::NoButton, rowCentre(3));
    moveOverList(list, Qt::RightButton, rowCentre(3));
    moveOverList(list, Qt::RightButton, rowCentre(4));
    for (int row = 0; row < 3; ++row) {
        moveOverList(list, Qt::LeftButton, rowCentre(row));
    }
    const QPoint belowTheRows = rowCentre(4) + QPoint(0, 40);
    moveOverList(list, Qt::NoButton, belowTheRows);
    moveOverList(list, Qt::LeftButton, belowTheRows);  // a drag of its own below the last row

    const std::vector<bool> expected{true, true, true, false, false};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list->checked(row), expected[static_cast<std::size_t>(row)]) << row;
    }
}

// The entries ticked in a list, by index.
std::vector<int> tickedRows(const CheckListBox* list) {
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->checked(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

// A fast pointer's movements come farther apart than a row: a drag ticks every entry between two
// of its movements, and a new drag does not reach back to where the last one ended.
TEST_F(AidsTest, FastLeftDragTicksTheEntriesBetweenItsMovements) {
    addPictures(24);
    CheckListBox* list = window->CListBox1;
    const int x = list->viewport()->width() - 10;  // clear of the tick boxes
    const auto rowCentre = [list, x](int row) {
        return QPoint(x, list->visualItemRect(list->item(row)).center().y());
    };
    ASSERT_EQ(rowCentre(1).y() - rowCentre(0).y(), 12);
    ASSERT_GT(list->viewport()->height(), rowCentre(23).y() + 12);

    moveOverList(list, Qt::NoButton, rowCentre(2));
    for (int y = rowCentre(2).y(); y < rowCentre(21).y(); y += 24) {
        moveOverList(list, Qt::LeftButton, QPoint(x, y));
    }
    moveOverList(list, Qt::LeftButton, rowCentre(21));
    std::vector<int> expected;
    for (int row = 2; row <= 21; ++row) {
        expected.push_back(row);
    }
    EXPECT_EQ(tickedRows(list), expected);

    moveOverList(list, Qt::NoButton, rowCentre(23));
    moveOverList(list, Qt::LeftButton, rowCentre(23));
    expected.push_back(23);
    EXPECT_EQ(tickedRows(list), expected);

    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    moveOverList(list, Qt::LeftButton, rowCentre(0));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    expected.insert(expected.begin(), 0);
    EXPECT_EQ(tickedRows(list), expected);

    // Alongside the list the pointer is over none of its entries.
    moveOverList(list, Qt::LeftButton, QPoint(-20, rowCentre(1).y()));
    EXPECT_EQ(tickedRows(list), expected);

    // Out past the last entry in one movement: the entries on the way count all the same.
    moveOverList(list, Qt::NoButton, rowCentre(21));
    moveOverList(list, Qt::LeftButton, rowCentre(21));
    moveOverList(list, Qt::LeftButton, rowCentre(23) + QPoint(0, 12));
    expected.insert(expected.end() - 1, 22);
    EXPECT_EQ(tickedRows(list), expected);

    // A drag starts where the button went down: its first movement reported three rows further
    // ticks the row it started on and those on the way.
    window->BitBtn6Click();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rowCentre(4));
    moveOverList(list, Qt::LeftButton, rowCentre(7));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rowCentre(7));
    EXPECT_EQ(tickedRows(list), (std::vector<int>{4, 5, 6, 7}));
}

TEST_F(AidsTest, SlideButtonShowsThePreviewPicturesFullScreen) {
    root.makeFolder("dest");
    savePicture("dest/first.bmp", 30);
    savePicture("dest/second.bmp", 40);
    stateOf(*window).PreviewPaths.add("C:\\dest\\first.bmp");
    stateOf(*window).PreviewPaths.add("C:\\dest\\second.bmp");
    TSlidShowForm slideShow([this] { return stateOf(*window).PreviewPaths.texts(); },
                            [this](int width, int height, ImageControl* image,
                                   const std::string& path, std::function<void()> shown) {
                                window->ShowPicture(width, height, image, path, std::move(shown));
                            });
    SlidShowForm = &slideShow;
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    window->BitBtn12->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !slideShow.Image1->picture().isNull(); }));
    EXPECT_TRUE(slideShow.isVisible());
    EXPECT_EQ(slideShow.Image1->picture().width(), 30);
    SlidShowForm = nullptr;
}

TEST_F(AidsTest, SamePictureTicksTheByteIdenticalEntries) {
    root.writeFile("src/ref.jpg", "same bytes");
    root.writeFile("src/copy.jpg", "same bytes");
    root.writeFile("src/near.jpg", "same bytez");
    for (const char* name : {"copy.jpg", "near.jpg", "gone.jpg", "ref.jpg"}) {
        window->CListBox1->addName(name);
    }
    window->BitBtn15Click();  // nothing picked yet
    ASSERT_TRUE(test::waitForListings(*window));
    EXPECT_FALSE(window->CListBox1->checked(0));

    stateOf(*window).CurrentPicturePath = "C:\\src\\ref.jpg";
    window->CListBox1->setChecked(2, true);  // a tick the search does not take away
    window->BitBtn15Click();
    ASSERT_TRUE(test::waitForListings(*window));
    EXPECT_TRUE(window->CListBox1->checked(0));
    EXPECT_FALSE(window->CListBox1->checked(1));
    EXPECT_TRUE(window->CListBox1->checked(2));
    EXPECT_TRUE(window->CListBox1->checked(3));
}

// The program's own library folder, holding the system-folder library for the length of a test,
// and a home folder whose Pictures folder holds two plain folders and a hidden one.
class SystemFolderCommandTest : public AidsTest {
  protected:
    SystemFolderCommandTest() : realHome_(std::getenv("HOME") ? std::getenv("HOME") : "") {
        for (const char* name : {"Pictures/zoo", "Pictures/Albums", "Pictures/.thumbs"}) {
            root.makeFolder(name);
        }
        root.writeFile(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
        ::setenv("HOME", root.path().c_str(), 1);
    }
    ~SystemFolderCommandTest() override {
        ::setenv("HOME", realHome_.c_str(), 1);
        if (installed_) {
            std::filesystem::remove(library_);
        }
    }

    void installLibrary() {
        std::filesystem::create_directories(programLibraryFolder());
        installed_ = std::filesystem::copy_file(TEVROLAN_PATH, library_);
    }

    const std::string library_ = programLibraryFolder() + "/" + kSystemFolderLibraryName;

  private:
    std::string realHome_;
    bool installed_ = false;
};

TEST_F(SystemFolderCommandTest, ListsThePicturesFolderOnlyWhenTheLibraryIsInstalled) {
    ASSERT_FALSE(std::filesystem::exists(library_));
    const std::vector<std::string> drivesOnly = stateOf(*window).FolderEntries.texts();
    window->BitBtn14Click();
    EXPECT_EQ(stateOf(*window).FolderEntries.texts(), drivesOnly);

    installLibrary();
    window->BitBtn14Click();
    std::vector<std::string> expected{"Albums"};
    expected.insert(expected.end(), drivesOnly.begin(), drivesOnly.end());
    expected.push_back("zoo");
    EXPECT_EQ(stateOf(*window).FolderEntries.texts(), expected);
}

}  // namespace
}  // namespace pictaria
