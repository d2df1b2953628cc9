// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include <csignal>
#include <vector>

#include "platform/TerminationSignals.h"

namespace pictaria {
namespace {

volatile std::sig_atomic_t formerHandlerRan = 0;

// The signals that would end the program mid-file arrive as calls on the thread that waits for
// them; afterwards they are handled as before.
TEST(TerminationSignals, ArriveAsCallsAndGiveTheirHandlingBack) {
    std::signal(SIGHUP, [](int) { formerHandlerRan = 1; });
    std::vector<int> received;
    {
        TerminationSignals termination;
        QObject::connect(&termination, &TerminationSignals::received,
                         [&received](int number) { received.push_back(number); });
        for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
            std::raise(number);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }));
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    EXPECT_EQ(formerHandlerRan, 0);
    std::raise(SIGHUP);
    EXPECT_EQ(formerHandlerRan, 1);
    std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
}  // namespace pictaria
