// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "aids/SlidePlaylist.h"

namespace pictaria {
namespace {

TEST(SlidePlaylist, ForwardAndBackWrapAroundThreePictures) {
    SlidePlaylist list;
    EXPECT_EQ(list.restart({"a", "b", "c"}), "a");
    EXPECT_EQ(list.back(), "c");
    EXPECT_EQ(list.forward(), "a");
    EXPECT_EQ(list.forward(), "b");
    EXPECT_EQ(list.peekForward(), "c");  // what the show reads ahead
    EXPECT_EQ(list.forward(), "c");
    EXPECT_EQ(list.peekForward(), "a");
    EXPECT_EQ(list.forward(), "a");
    list.forward();
    EXPECT_EQ(list.restart({"x", "y"}), "x");  // a new activation starts at the first picture
    EXPECT_EQ(list.index(), 0);
}

TEST(SlidePlaylist, OnePictureAndNone) {
    SlidePlaylist list;
    EXPECT_EQ(list.forward(), std::nullopt);
    EXPECT_EQ(list.back(), std::nullopt);
    EXPECT_EQ(list.restart({"only"}), "only");
    EXPECT_EQ(list.forward(), "only");
    EXPECT_EQ(list.back(), std::nullopt);
    EXPECT_EQ(list.restart({}), std::nullopt);
    EXPECT_EQ(list.forward(), std::nullopt);
    EXPECT_EQ(list.peekForward(), std::nullopt);
}

TEST(SlidePlaylist, PanelShowsWithinItsRectangleEdgesIncluded) {
    EXPECT_TRUE(pointerOverPanel(241, 20, 0, 8, 241, 41));
    EXPECT_FALSE(pointerOverPanel(242, 20, 0, 8, 241, 41));
    EXPECT_TRUE(pointerOverPanel(0, 49, 0, 8, 241, 41));
    EXPECT_FALSE(pointerOverPanel(100, 400, 0, 8, 241, 41));
}

TEST(SlidePlaylist, DockingTakesTheNearestEdge) {
    EXPECT_EQ(nearestEdge(1270, 400, 1280, 800), DockEdge::Right);
    EXPECT_EQ(nearestEdge(5, 3, 1280, 800), DockEdge::Top);
    EXPECT_EQ(nearestEdge(2, 300, 1280, 800), DockEdge::Left);
    EXPECT_EQ(nearestEdge(640, 795, 1280, 800), DockEdge::Bottom);
}

}  // namespace
}  // namespace pictaria
