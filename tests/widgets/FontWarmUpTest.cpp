// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "widgets/FontConfigurationLoader.h"
#include "widgets/FontDatabaseWarmUp.h"
#include "widgets/WindowFont.h"

namespace pictaria {
namespace {

// The window measures its text while the fonts are still being read on the other thread: the
// measurement waits for them and comes out as it does once everything is loaded.
TEST(FontWarmUp, TextMeasuredDuringTheWarmUpMatchesTheSettledFonts) {
    const QString text = QStringLiteral("開く Open ページを閉じる");
    int duringWarmUp = 0;
    {
        const FontConfigurationLoader configuration;
        const FontDatabaseWarmUp warmUp(configuration);
        duringWarmUp = QFontMetrics(windowFont()).horizontalAdvance(text);
        configuration.wait();
        configuration.wait();  // any number of times
    }
    EXPECT_GT(duringWarmUp, 0);
    EXPECT_EQ(duringWarmUp, QFontMetrics(windowFont()).horizontalAdvance(text));
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("IPAPGothic")));
}

}  // namespace
}  // namespace pictaria
