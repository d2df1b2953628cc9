// SPDX-License-Identifier: GPL-3.0-or-later
// Sixty camera photographs (4000x3000, EXIF, about 4 MB each) sorted into three folders with
// the keys alone under openbox, the way a user with the send keys does it, at a user's pace:
// 0.25 s for every action (a key press; a chord is one) and 0.6 s to look at each photograph
// once it is shown large. From the program's window at rest (start-up is not counted) to the
// last photograph in its folder:
//   sort_60_actions        the actions taken: open the card (Ctrl+O, Tab, Tab, Space), show
//                          the first photograph, walk to the destinations' page and give each
//                          destination its send key, one send key per photograph
//   sort_60_seconds        the time taken, the pace's pauses included
//   sort_60_pace_seconds   what the pace alone accounts for; the rest is the program (and the
//                          harness, which waits for the program to be at rest after each page
//                          it opens, as a user waits to see it)
// Targets: every photograph whole in its folder and none left on the card, at most 130 actions
// and 75 s. Run by hand (a minute or two), not by ctest; it reads no command line and no
// environment, and exits non-zero when a target is missed.

#include <chrono>
#include <cstdio>

#include "e2e/KeyboardSort.h"

namespace pictaria::e2e {
namespace {

constexpr int kPhotos = 60;
constexpr SortPace kUserPace{std::chrono::milliseconds(250), std::chrono::milliseconds(600)};

TEST_F(KeyboardSort, SixtyPhotographsWithTheSendKeysAtAUsersPace) {
    prepareCard(kPhotos, {4000, 3000}, {"family", "friends", "trips"}, kPhotos);
    startOnTheCard();
    pace_ = kUserPace;

    const auto start = std::chrono::steady_clock::now();
    openCardByKeys();
    key("Down");
    giveTheDestinationsSendKeys();
    sendPhotographs(0, photos_.size());
    waitUntilAllArrived();
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;

    const std::chrono::duration<double> paced =
        actions_ * kUserPace.action + kPhotos * kUserPace.look;
    std::printf("sort_60_actions %d\nsort_60_seconds %.1f\nsort_60_pace_seconds %.1f\n", actions_,
                taken.count(), paced.count());
    expectSorted();
    EXPECT_LE(actions_, 130);
    EXPECT_LE(taken.count(), 75.0);
}

}  // namespace
}  // namespace pictaria::e2e

int main() {
    int argc = 1;
    char name[] = "bench_sort_sixty";
    char* argv[] = {name, nullptr};
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
