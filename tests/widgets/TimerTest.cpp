// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/Timer.h"

namespace pictaria {
namespace {

TEST(TimerTest, IntervalZeroStopsAndAPositiveIntervalRestarts) {
    Timer timer;
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(timer.interval(), 1000);

    timer.setInterval(0);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.interval(), 0);

    QSignalSpy ticks(&timer, &Timer::timeout);
    timer.setInterval(10);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }));

    timer.setInterval(0);
    const auto seen = ticks.count();
    QCoreApplication::processEvents();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(ticks.count(), seen);
}

}  // namespace
}  // namespace pictaria
