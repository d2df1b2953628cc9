// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting with the keys alone under a window manager: once with the send keys, once with the
// ticks, the destination grid and Move. Every step is checked where a user would see it: the
// photograph each key should show is the one on the screen.

#include <QImage>

#include <cstdlib>

#include "e2e/KeyboardSort.h"

namespace pictaria::e2e {
namespace {

TEST_F(KeyboardSort, SendKeysSortNinePhotographsIntoThreeFolders) {
    prepareCard(9, {640, 480}, {"family", "friends", "trips"}, 9);
    startOnTheCard();
    confirmEachSend_ = true;

    openCardByKeys();
    key("Down");  // the first photograph
    giveTheDestinationsSendKeys();
    sendPhotographs(0, 5);
    if (const char* shots = std::getenv("PICTARIA_E2E_SHOTS")) {
        settle();
        desktop_->screenshot().save(QString::fromUtf8(shots) + "/send-keys-sort.png");
    }
    sendPhotographs(5, photos_.size());
    waitUntilAllArrived();
    expectSorted();
}

// Space ticks the photographs of the first folder as each is shown, F6 moves them there from
// the folder page; then the rest go to the second folder the same way.
TEST_F(KeyboardSort, WithoutSendKeysTicksAndMoveSortSixPhotographs) {
    prepareCard(6, {640, 480}, {"family", "trips"}, 6);
    startOnTheCard();

    openCardByKeys();
    std::vector<CardPhoto> left;
    for (const CardPhoto& photo : photos_) {
        key("Down");
        lookAt(photo);
        if (photo.destination == 0) {
            key("space");
        } else {
            left.push_back(photo);
        }
    }
    toTheDriveGrid();
    walkToTheDestinationsByKeys();
    pickDestination(0);
    key("F6");
    settle();

    toTheSourceList();  // the pick is still on the last photograph shown, which stayed
    for (std::size_t i = 0; i < left.size(); ++i) {
        key(i == 0 ? "Home" : "Down");
        lookAt(left[i]);
        key("space");
    }
    toTheFolderPage();
    pickDestination(1);
    key("F6");
    waitUntilAllArrived();
    expectSorted();
}

}  // namespace
}  // namespace pictaria::e2e
