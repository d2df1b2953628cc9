// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/CheckListBox.h"

namespace pictaria {
namespace {

class CheckListBoxTest : public ::testing::Test {
  protected:
    CheckListBoxTest() {
        list.setItemHeight(12);
        list.resize(136, 200);
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            list.addName(name);
        }
        list.show();
    }

    QPoint centreOf(int index) const { return list.visualItemRect(list.item(index)).center(); }

    CheckListBox list;
};

TEST_F(CheckListBoxTest, ItemsHaveTheSetHeight) {
    EXPECT_EQ(list.visualItemRect(list.item(1)).height(), 12);
    EXPECT_EQ(list.visualItemRect(list.item(2)).top(), 24);
}

TEST_F(CheckListBoxTest, PickingAnItemWithTheMouseRaisesClickWithTheItemSelected) {
    QSignalSpy clicks(&list, &CheckListBox::clicked);
    int selectedAtClick = -2;
    QObject::connect(&list, &CheckListBox::clicked,
                     [&] { selectedAtClick = list.selectedIndex(); });

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(1));

    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(selectedAtClick, 1);
    EXPECT_FALSE(list.checked(1));  // the text was clicked, not the tick box
}

TEST_F(CheckListBoxTest, ClickingTheTickBoxTogglesTheTickAndPicksTheItem) {
    QSignalSpy clicks(&list, &CheckListBox::clicked);
    const QRect row = list.visualItemRect(list.item(2));
    const QPoint tickBox(row.left() + 8, row.center().y());

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, tickBox);
    EXPECT_TRUE(list.checked(2));
    EXPECT_EQ(list.selectedIndex(), 2);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, tickBox);
    EXPECT_FALSE(list.checked(2));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(CheckListBoxTest, ClicksOutsideItemsRightClicksAndCodeNeitherPickNorMoveThePick) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(1));
    QSignalSpy clicks(&list, &CheckListBox::clicked);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 150));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, centreOf(0));
    QTest::mouseClick(list.viewport(), Qt::MiddleButton, {}, centreOf(2));

    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list.itemIndex(), 1);
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.currentRow(), 1);

    list.setItemIndex(2);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list.itemIndex(), 2);
}

TEST_F(CheckListBoxTest, KeyboardMoveCountsAsAPick) {
    list.setItemIndex(0);
    QSignalSpy clicks(&list, &CheckListBox::keyPicked);

    QTest::keyClick(list.viewport(), Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Down);

    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(list.itemIndex(), 2);
}

TEST_F(CheckListBoxTest, ItemAtPointFindsOnlyExistingItems) {
    EXPECT_EQ(list.itemIndexAt(QPoint(5, 1)), 0);
    EXPECT_EQ(list.itemIndexAt(QPoint(5, 35)), 2);
    EXPECT_EQ(list.itemIndexAt(QPoint(5, 37)), -1);
}

TEST_F(CheckListBoxTest, NamesKeepTheirBytesThroughEdits) {
    const std::string notUtf8 = "\x83\x65\x83\x58\x83\x67.JPG";  // Shift-JIS bytes
    list.addName(notUtf8);
    list.setChecked(3, true);
    list.removeAt(0);

    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.name(0), "b.jpg");
    EXPECT_EQ(list.name(2), notUtf8);
    EXPECT_TRUE(list.checked(2));
    EXPECT_FALSE(list.checked(0));
    EXPECT_EQ(list.item(2)->text(), QStringLiteral("\\x83e\\x83X\\x83g.JPG"));

    list.setName(0, "表ソ.jpg");
    EXPECT_EQ(list.name(0), "表ソ.jpg");
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("表ソ.jpg"));
}

}  // namespace
}  // namespace pictaria
