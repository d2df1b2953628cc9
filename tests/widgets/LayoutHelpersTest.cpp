// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/ScrollBox.h"
#include "widgets/SplitterBar.h"

namespace pictaria {
namespace {

TEST(ScrollBoxTest, ScrollRangeFollowsTheChildrensExtent) {
    ScrollBox box;
    box.resize(200, 150);
    auto* child = new QWidget(box.surface());
    child->setGeometry(0, 0, 100, 100);
    box.show();
    EXPECT_EQ(box.verticalScrollBar()->maximum(), 0);

    child->setGeometry(10, 20, 150, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.verticalScrollBar()->maximum() > 0; }));
    EXPECT_GE(box.surface()->height(), 420);

    child->resize(50, 50);
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.verticalScrollBar()->maximum() == 0; }));
}

class SplitterBarTest : public ::testing::Test {
  protected:
    SplitterBarTest() {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        above->setFixedHeight(100);
        bar->setFixedHeight(4);
        bar->setControls(above, below);
        layout->addWidget(above);
        layout->addWidget(bar);
        layout->addWidget(below, 1);
        window.resize(300, 304);
        window.show();
    }

    void drag(int dy) {
        const QPoint start(150, 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        QTest::mouseMove(bar, start + QPoint(0, dy));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, start + QPoint(0, dy));
    }

    QWidget window;
    QWidget* above = new QWidget;
    SplitterBar* bar = new SplitterBar;
    QWidget* below = new QWidget;
};

TEST_F(SplitterBarTest, DraggingChangesTheHeightAboveAndTheSpaceBelowFollows) {
    drag(50);
    EXPECT_EQ(above->height(), 150);
    EXPECT_TRUE(QTest::qWaitFor([&] { return below->height() == 150; }));
}

TEST_F(SplitterBarTest, NeitherSideGetsLowerThanTheMinimum) {
    drag(-500);
    EXPECT_EQ(above->height(), 30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return below->height() == 270; }));
    drag(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return below->height() == 30; }));
    EXPECT_EQ(above->height(), 270);
}

}  // namespace
}  // namespace pictaria
