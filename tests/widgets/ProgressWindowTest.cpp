// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <memory>

#include "widgets/ProgressWindow.h"

namespace pictaria {
namespace {

TEST(ProgressWindowTest, AppearsOnlyAfterASecondAndStopsTheWorkOnCancel) {
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("ピクタリア"));
    ProgressWindow progress(&owner, QStringLiteral("moving"));
    EXPECT_TRUE(progress.report(1, 4));
    auto* dialog = owner.findChild<QProgressDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ピクタリア"));

    QTest::qWait(1100);
    EXPECT_TRUE(progress.report(2, 4));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->value(), 500);

    dialog->cancel();
    EXPECT_FALSE(progress.report(3, 4));
}

// Stop does not take the window away while the item in hand is still being worked on: it says
// so until the work ends and the window is destroyed.
TEST(ProgressWindowTest, AStoppedJobsWindowStaysUntilTheJobEnds) {
    QWidget owner;
    int stops = 0;
    auto progress =
        std::make_unique<ProgressWindow>(&owner, QString(), 0, QStringLiteral("停止"),
                                         QStringLiteral("停止しています"), [&stops] { ++stops; });
    auto* dialog = owner.findChild<QProgressDialog*>();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        progress->report(1, 4);
        return dialog->isVisible();
    }));
    progress->report(2, 4);

    dialog->findChild<QPushButton*>()->click();
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->labelText(), QStringLiteral("停止しています"));
    EXPECT_FALSE(progress->report(3, 4));
    progress->setLabel(QStringLiteral("3 / 4"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("停止しています"));
    progress.reset();
    EXPECT_EQ(owner.findChild<QProgressDialog*>(), nullptr);
}

}  // namespace
}  // namespace pictaria
