// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "viewer/FitGeometry.h"

namespace pictaria {
namespace {

struct FitCase {
    int paneWidth, paneHeight, pictureWidth, pictureHeight;
    PictureBounds expected;  // height, width, top, left
};

void PrintTo(const FitCase& c, std::ostream* out) {
    *out << c.pictureWidth << "x" << c.pictureHeight << " in " << c.paneWidth << "x"
         << c.paneHeight;
}

class FitToPane : public testing::TestWithParam<FitCase> {};

TEST_P(FitToPane, GivesTheBoundsOfTheTable) {
    const FitCase& c = GetParam();
    const auto bounds = fitToPane(c.paneWidth, c.paneHeight, c.pictureWidth, c.pictureHeight);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(*bounds, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FitToPane,
    testing::Values(
        // Relatively taller than the pane: full pane height, centred across.
        FitCase{498, 343, 1600, 1200, {343, 457, 0, 20}},
        FitCase{498, 343, 1200, 1600, {343, 257, 0, 120}},
        // Relatively wider: full pane width, centred down.
        FitCase{381, 290, 4000, 1000, {95, 381, 97, 0}},
        // 700/1000 is stored just below 0.7, so the height truncates to 349.
        FitCase{500, 400, 1000, 700, {349, 500, 25, 0}},
        // Smaller than the pane: natural size, centred, never enlarged.
        FitCase{498, 343, 200, 100, {100, 200, 121, 149}},
        FitCase{498, 343, 100, 300, {300, 100, 21, 199}},
        // Same ratio as the pane takes the wider branch; exactly the pane's size stays put.
        FitCase{400, 300, 800, 600, {300, 400, 0, 0}},
        FitCase{400, 300, 400, 300, {300, 400, 0, 0}},
        FitCase{498, 332, 6000, 4000, {332, 498, 0, 0}},
        // Exactly as tall or as wide as the pane: natural size (shrinking would lose a row, as
        // 700/1000 and 1000/700 are stored just off their values).
        FitCase{800, 1000, 700, 1000, {1000, 700, 0, 50}},
        FitCase{1000, 800, 1000, 700, {700, 1000, 50, 0}},
        // Odd differences halve toward zero, also when the picture overhangs a tiny pane; a
        // sliver keeps one pixel across, unless the pane has no room at all.
        FitCase{5, 0, 2, 2, {0, 0, 0, 2}}, FitCase{1, 1, 1, 3, {1, 1, 0, 0}},
        FitCase{498, 343, 2000, 1, {1, 498, 171, 0}}));

TEST(FitToPaneSkips, WhenThePaneOrThePictureHasNoWidth) {
    EXPECT_FALSE(fitToPane(0, 343, 1600, 1200).has_value());
    EXPECT_FALSE(fitToPane(498, 343, 0, 0).has_value());
}

TEST(FitToPaneExtremes, NeverOverflows) {
    const auto bounds = fitToPane(-2147483647 - 1, 2147483647, 1, 2147483647);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_GE(bounds->left, -2147483647 - 1);
}

struct ScaleCase {
    int frameWidth, frameHeight, boxWidth, boxHeight, expected;
};

class CoveringScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(CoveringScale, PicksTheSmallestScaleThatStillCoversTheBox) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(coveringScaleDenominator(c.frameWidth, c.frameHeight, c.boxWidth, c.boxHeight),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, CoveringScale,
                         testing::Values(ScaleCase{6000, 4000, 498, 332, 8},
                                         ScaleCase{1600, 1200, 457, 343, 2},
                                         ScaleCase{1600, 1200, 400, 300, 4},
                                         // libjpeg rounds up: 801/2 decodes to 401.
                                         ScaleCase{801, 601, 401, 301, 2},
                                         // Not shrunk at all: full size.
                                         ScaleCase{800, 600, 700, 525, 1},
                                         ScaleCase{200, 100, 200, 100, 1}));

}  // namespace
}  // namespace pictaria
