// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>

#include "widgets/AfterPaints.h"

namespace pictaria {
namespace {

class PaintLog : public QWidget {
  public:
    std::string log;

  protected:
    void paintEvent(QPaintEvent*) override { log += "paint "; }
};

// The call waits for a repaint asked for after it was posted, and is dropped with its context.
TEST(AfterPaintsTest, RunsAfterThePendingPaintUnlessItsContextIsGone) {
    PaintLog widget;
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    widget.log.clear();

    callAfterPaints(&widget, [&] { widget.log += "call "; });
    widget.update();
    EXPECT_TRUE(QTest::qWaitFor([&] { return widget.log.find("call") != std::string::npos; }));
    EXPECT_EQ(widget.log, "paint call ");

    bool called = false;
    auto context = std::make_unique<QObject>();
    callAfterPaints(context.get(), [&] { called = true; });
    context.reset();
    QTest::qWait(50);
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace pictaria
