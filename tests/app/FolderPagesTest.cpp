// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "MainWindowProbe.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "navigator/FolderPage.h"
#include "support/ModalAnswers.h"
#include "widgets/ElidedLabel.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"

namespace pictaria {
namespace {

using test::stateOf;

using Names = std::vector<std::string>;

class FolderPagesTest : public test::MainWindowFixture {
  protected:
    FolderPagesTest() {
        for (const char* folder : {"Photos/2004/May", "Photos/2005", "Photos/.cache"}) {
            c.makeFolder(folder);
        }
        for (const char* picture :
             {"Photos/2004/a.jpg", "Photos/2004/b.jpg", "Photos/2004/c.BMP"}) {
            savePicture(c, picture, QSize(12, 9), "JPEG");
        }
    }

    // The drive grid's row of a drive root.
    int driveRow(const std::string& root) const {
        for (int row = 0; row < window->StringGrid1->rowCount(); ++row) {
            if (window->StringGrid1->cells(0, row) == root) {
                return row;
            }
        }
        return -1;
    }

    FolderPage* page(int index) const { return window->folderPages().at(index); }

    // Walks C:\ -> Photos -> a subfolder by double clicks, as a user would.
    void walkTo(const char* subfolder) {
        doubleClickCell(window->StringGrid1, 0, driveRow("C:\\"));
        doubleClickOn(stateOf(*window).NewestGrid, "Photos");
        if (subfolder) {
            doubleClickOn(stateOf(*window).NewestGrid, subfolder);
        }
    }

    void doubleClickOn(StringGrid* grid, const std::string& name) {
        const auto [col, row] = cellOf(grid, name);
        doubleClickCell(grid, col, row);
    }

    static std::pair<int, int> cellOf(StringGrid* grid, const std::string& name) {
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (int col = 0; col < grid->colCount(); ++col) {
                if (grid->cells(col, row) == name) {
                    return {col, row};
                }
            }
        }
        ADD_FAILURE() << "no cell " << name;
        return {0, 0};
    }
};

TEST_F(FolderPagesTest, DoubleClicksWalkDownOnePagePerLevel) {
    walkTo("2004");
    ASSERT_EQ(window->folderPages().size(), 3u);
    EXPECT_EQ(page(0)->path(), "C:\\");
    EXPECT_EQ(window->PageControl1->tabText(1), "C:\\");
    EXPECT_EQ(page(1)->path(), "C:\\Photos");
    EXPECT_EQ(window->PageControl1->tabText(2), "Photos");
    EXPECT_EQ(page(2)->path(), "C:\\Photos\\2004");
    EXPECT_EQ(window->PageControl1->tabText(3), "2004");
    EXPECT_EQ(page(2)->objectName(), "Page3");
    EXPECT_EQ(window->PageControl1->activePage(), page(2));
    EXPECT_EQ(page(1)->grid()->cells(0, 0), "2004");
    EXPECT_EQ(page(1)->grid()->cells(1, 0), "2005");  // .cache is not listed
    EXPECT_EQ(page(1)->grid()->rowCount(), 1);
    EXPECT_EQ(currentDir(), "C:\\Photos\\2004");
}

TEST_F(FolderPagesTest, ClickChoosesTheDestinationAndReportsItsPictures) {
    walkTo(nullptr);
    const auto [col, row] = cellOf(stateOf(*window).NewestGrid, "2004");
    clickCell(stateOf(*window).NewestGrid, col, row);
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos\\2004");
    EXPECT_EQ(stateOf(*window).PreviewCount, 3);
    EXPECT_EQ(window->StatusBar1->simpleText(), "C:\\Photos\\2004 3個");
    EXPECT_TRUE(window->BitBtn10->isEnabled());
    EXPECT_TRUE(window->N3->isEnabled());

    // An empty cell empties the lower list and changes nothing else.
    clickCell(stateOf(*window).NewestGrid, 4, 0);
    EXPECT_EQ(window->CListBox2->count(), 0);
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos\\2004");
    EXPECT_EQ(window->StatusBar1->simpleText(), "C:\\Photos\\2004 3個");
}

TEST_F(FolderPagesTest, ReopeningAFolderMovesItsPageToTheEndAndCaseMakesAnotherPage) {
    window->StringGrid1DblClick();  // the destination at start: the drive C:, spelt as listed
    ASSERT_EQ(window->folderPages().size(), 1u);
    EXPECT_EQ(page(0)->path(), "C:\\");

    stateOf(*window).TargetFolder = "c:\\";
    window->StringGrid1DblClick();
    ASSERT_EQ(window->folderPages().size(), 2u);
    EXPECT_EQ(page(1)->path(), "c:\\");

    doubleClickCell(window->StringGrid1, 0, driveRow("C:\\"));
    ASSERT_EQ(window->folderPages().size(), 2u);
    EXPECT_EQ(page(0)->path(), "c:\\");
    EXPECT_EQ(page(1)->path(), "C:\\");
    EXPECT_EQ(page(1)->objectName(), "Page3");
}

// The keyboard alone: Enter opens the folder under the grid's mark, on the drive grid at start
// and on a page just opened; Tab leaves a grid without choosing anything; after Open, the first
// Down shows the first photograph.
TEST_F(FolderPagesTest, TheKeyboardWalksThePagesAndLeavesThemByTab) {
    window->activateWindow();
    window->StringGrid1->setFocus();
    QTest::keyClick(window->StringGrid1, Qt::Key_Return);  // C:, the only drive of its kind here
    ASSERT_TRUE(test::waitForListings(*window));
    ASSERT_EQ(window->folderPages().size(), 1u);
    StringGrid* grid = stateOf(*window).NewestGrid;
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Return);  // its first folder, Photos
    ASSERT_TRUE(test::waitForListings(*window));
    ASSERT_EQ(window->folderPages().size(), 2u);
    EXPECT_EQ(page(1)->path(), "C:\\Photos");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");

    grid = stateOf(*window).NewestGrid;
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_FALSE(grid->hasFocus());
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");

    {
        test::ModalAnswers ok([](QDialog& dialog) {
            static_cast<TSelectDirForm&>(dialog).openFolder("C:\\Photos\\2004");
            return 1;
        });
        window->BitBtn5Click();
    }
    EXPECT_TRUE(window->CListBox1->hasFocus());
    QTest::keyClick(window->CListBox1, Qt::Key_Down);
    EXPECT_EQ(window->CListBox1->selectedIndex(), 0);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("a.jpg"));
}

TEST_F(FolderPagesTest, ClosingPagesNeverClosesTheDrivePage) {
    walkTo(nullptr);
    window->BitBtn9Click();
    window->BitBtn9Click();
    EXPECT_TRUE(window->folderPages().empty());
    window->BitBtn9Click();
    EXPECT_EQ(window->PageControl1->pageCount(), 1);
}

TEST_F(FolderPagesTest, ChangeMakesTheDestinationTheSourceAndGoesUp) {
    walkTo(nullptr);
    const auto [col, row] = cellOf(stateOf(*window).NewestGrid, "2004");
    clickCell(stateOf(*window).NewestGrid, col, row);
    window->BitBtn10Click();
    EXPECT_EQ(stateOf(*window).SourceFolder, "C:\\Photos\\2004");
    EXPECT_EQ(names(window->CListBox1).size(), 3u);
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");
    EXPECT_EQ(stateOf(*window).PreviewPaths.count(), 0);
    EXPECT_FALSE(window->BitBtn10->isEnabled());
    EXPECT_EQ(window->folderPages().back()->path(), "C:\\Photos");

    // At a drive root the destination stays at the root.
    clickCell(window->StringGrid1, 0, driveRow("D:\\"));
    window->BitBtn10Click();
    EXPECT_EQ(stateOf(*window).SourceFolder, "D:\\");
    EXPECT_EQ(stateOf(*window).TargetFolder, "D:\\");
    EXPECT_EQ(window->folderPages().back()->path(), "D:\\");
}

}  // namespace
}  // namespace pictaria
