// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/MultiLineTabBar.h"
#include "widgets/PageControl.h"

namespace pictaria {
namespace {

class PageControlTest : public ::testing::Test {
  protected:
    QWidget* addPage(const QString& caption) {
        auto* page = new QWidget;
        pages.addPage(page, caption);
        return page;
    }

    void addPages(int count) {
        for (int i = 0; i < count; ++i) {
            addPage(QStringLiteral("フォルダ %1").arg(i));
        }
    }

    // The top edge of the page area: everything above it belongs to the tab rows.
    int pageTop() const { return pages.activePage()->mapTo(&pages, QPoint(0, 0)).y(); }

    PageControl pages;
};

TEST_F(PageControlTest, TabsWrapIntoRowsWhenNarrowAndTheirRowsPushThePagesDown) {
    addPages(8);
    pages.resize(800, 300);
    pages.show();
    ASSERT_EQ(pages.tabRowCount(), 1);
    const int oneRowTop = pageTop();

    pages.resize(200, 300);

    EXPECT_GE(pages.tabRowCount(), 3);
    EXPECT_GT(pageTop(), oneRowTop * 2);
    const QRect last = pages.tabBar()->tabRect(7);
    EXPECT_LE(last.right(), 199);
    EXPECT_LT(last.bottom(), pageTop());
}

TEST_F(PageControlTest, ACaptionWiderThanTheBarIsCutAtItsEnd) {
    addPage(QStringLiteral("とても長いフォルダの名前がここに続いていて終わらない"));
    addPage(QStringLiteral("短い"));
    pages.resize(120, 200);
    pages.show();
    const MultiLineTabBar* bar = pages.findChild<MultiLineTabBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->shownTabText(0).startsWith(QStringLiteral("とても")));
    EXPECT_TRUE(bar->shownTabText(0).endsWith(QChar(0x2026)));
    EXPECT_EQ(bar->shownTabText(1), QStringLiteral("短い"));
}

TEST_F(PageControlTest, FirstPageComesToFrontAndATabPressBringsItsPage) {
    QWidget* first = addPage("マイコンピュータ");
    QWidget* second = addPage("C:\\");
    pages.resize(400, 200);
    pages.show();
    EXPECT_EQ(pages.activePage(), first);

    QTest::mouseClick(pages.tabBar(), Qt::LeftButton, {}, pages.tabBar()->tabRect(1).center());

    EXPECT_EQ(pages.activePage(), second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(first->isVisible());
}

TEST_F(PageControlTest, DeletingThePageInFrontBringsItsSuccessorAndDropsItsTab) {
    addPages(4);
    pages.setActivePage(pages.page(1));
    QWidget* successor = pages.page(2);

    delete pages.page(1);

    EXPECT_EQ(pages.pageCount(), 3);
    EXPECT_EQ(pages.tabBar()->count(), 3);
    EXPECT_EQ(pages.activePage(), successor);
    EXPECT_EQ(pages.tabBar()->currentIndex(), 1);
    EXPECT_EQ(pages.tabText(1), QStringLiteral("フォルダ 2"));
}

TEST_F(PageControlTest, RemovingAPageBeforeTheFrontOneKeepsTheFrontOne) {
    addPages(4);
    QWidget* front = pages.page(3);
    pages.setActivePage(front);

    delete pages.page(0);

    EXPECT_EQ(pages.activePage(), front);
    EXPECT_EQ(pages.tabBar()->currentIndex(), 2);
}

TEST_F(PageControlTest, DeletingTheLastPageInFrontBringsThePreviousOne) {
    addPages(3);
    pages.setActivePage(pages.page(2));
    QWidget* previous = pages.page(1);

    delete pages.page(2);

    EXPECT_EQ(pages.activePage(), previous);
    EXPECT_EQ(pages.tabBar()->currentIndex(), 1);
}

TEST_F(PageControlTest, RenamingATabCanChangeTheRowCount) {
    addPages(2);
    pages.resize(300, 200);
    pages.show();
    ASSERT_EQ(pages.tabRowCount(), 1);
    const int oneRowTop = pageTop();

    pages.setTabText(1, QString(40, QChar('x')));

    EXPECT_EQ(pages.tabRowCount(), 2);
    EXPECT_GT(pageTop(), oneRowTop);
}

}  // namespace
}  // namespace pictaria
