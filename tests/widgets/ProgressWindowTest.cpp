// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QTest>
#include <QWidget>

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

}  // namespace
}  // namespace pictaria
