// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <vector>

#include "widgets/StringGrid.h"

namespace pictaria {
namespace {

class StringGridTest : public ::testing::Test {
  protected:
    StringGridTest() {
        grid.setDefaultColWidth(86);
        grid.setDefaultRowHeight(18);
        grid.resize(460, 200);
        grid.show();
        QObject::connect(&grid, &StringGrid::selectCell, [this](int col, int row) {
            events.push_back("select " + std::to_string(col) + "," + std::to_string(row));
        });
        QObject::connect(&grid, &StringGrid::clicked, [this] {
            events.push_back("click at " + std::to_string(grid.currentColumn()) + "," +
                             std::to_string(grid.currentRow()));
        });
        QObject::connect(&grid, &StringGrid::doubleClicked, [this] { events.push_back("double"); });
    }

    QPoint centreOf(int col, int row) const {
        return grid.visualRect(grid.model()->index(row, col)).center();
    }

    StringGrid grid;
    std::vector<std::string> events;
};

TEST_F(StringGridTest, LeftPressReportsTheCellBeforeTheClickThatSeesItCurrent) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(0, 3));

    EXPECT_EQ(events, (std::vector<std::string>{"select 2,1", "click at 2,1", "select 0,3",
                                                "click at 0,3"}));
}

TEST_F(StringGridTest, RightClickKeepsTheSelectionAndReportsNothing) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(1, 1));
    events.clear();

    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, centreOf(3, 2));

    EXPECT_TRUE(events.empty());
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_EQ(grid.currentRow(), 1);
    const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front(), grid.model()->index(1, 1));
}

TEST_F(StringGridTest, DoubleClickFollowsTheFirstClickOnly) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(4, 0));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centreOf(4, 0));

    EXPECT_EQ(events, (std::vector<std::string>{"select 4,0", "click at 4,0", "double"}));

    events.clear();
    QTest::keyClick(&grid, Qt::Key_Tab);  // Tab leaves the grid and picks nothing
    QTest::keyClick(&grid, Qt::Key_Backtab);
    EXPECT_TRUE(events.empty());
    QTest::keyClick(&grid, Qt::Key_Return);  // Enter picks and opens the current cell as a
    QTest::keyClick(&grid, Qt::Key_Enter);   // whole double click does
    EXPECT_EQ(events, (std::vector<std::string>{"select 4,0", "click at 4,0", "double",
                                                "select 4,0", "click at 4,0", "double"}));
}

TEST_F(StringGridTest, PressBelowTheLastRowSelectsNothing) {
    grid.setRowCount(2);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(10, 150));
    EXPECT_TRUE(events.empty());
}

TEST_F(StringGridTest, CellsAndHintKeepTheirBytes) {
    const std::string notUtf8 = "caf\xe9 \xff";
    const std::string japanese = "表ソ";
    grid.setCells(1, 2, notUtf8);
    grid.setCells(0, 0, japanese);
    grid.setHint(notUtf8);

    EXPECT_EQ(grid.cells(1, 2), notUtf8);
    EXPECT_EQ(grid.cells(0, 0), japanese);
    EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral("表ソ"));
    EXPECT_EQ(grid.cells(4, 4), "");
    EXPECT_EQ(grid.hint(), notUtf8);
}

}  // namespace
}  // namespace pictaria
