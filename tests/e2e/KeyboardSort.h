// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sort of camera photographs into destination folders with the keys alone, under a window
// manager, as a user at the keyboard does it: each key press (a chord counts as one) is an
// action, and each picture is looked at once it is shown large. With a pace, every action
// takes `action` and every look `look` on top of the time the program takes to show the
// picture; without one, the keys follow each other as fast as the program takes them.

#include <QColor>
#include <QSize>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "e2e/PictariaSession.h"
#include "e2e/ScreenSampler.h"

namespace pictaria::e2e {

struct SortPace {
    std::chrono::milliseconds action{0};
    std::chrono::milliseconds look{0};
};

// One photograph of the card and the destination it belongs in.
struct CardPhoto {
    std::string name;
    int destination = 0;  // index into the destinations
    QColor mean;          // the colour the large view shows on average
};

class KeyboardSort : public PictariaSession {
  protected:
    static constexpr char kCard[] = "card";

    // Under openbox whatever the environment says: the keyboard is tried as a user meets it.
    std::string windowManager() const override { return "openbox"; }
    void TearDown() override;

    // Writes `count` camera-like photographs of `size` (EXIF, grain, each of its own tint and
    // bytes) into the card folder, named as a camera names them, and makes the destination
    // folders; the seed decides which destination each photograph belongs in, the same number
    // (give or take one) in each.
    void prepareCard(int count, QSize size, std::vector<std::string> destinations, unsigned seed);

    // Starts the program in the card folder, ready for the keys.
    void startOnTheCard();
    // One action: a key or a chord in xdotool's names ("Down", "alt+1"), then the pace's pause.
    void key(const std::string& name);
    void keys(const std::string& name, int times);
    // The user waits for the program to show what the last keys asked for.
    void waitForRest() const { settle(); }

    // Ctrl+O, then in the folder dialog (which shows the card, the program's current folder)
    // Tab to "O K" and Space: the card's photographs fill the source list, which has the focus.
    void openCardByKeys();
    // From the drive grid (its mark on C:) by Enter and the arrows through the folder pages
    // down to the page of the work folder, which lists the destinations; the focus is there.
    void walkToTheDestinationsByKeys();
    // On the page of the work folder, the arrows that move the pick to destination `to`, which
    // becomes the destination.
    void pickDestination(int to);
    // From the source list to the work folder's page; then each destination in turn is picked
    // and the focus goes back to the source list, which gives the destination its send key:
    // Alt+1, Alt+2... in this order. Ends in the source list.
    void giveTheDestinationsSendKeys();
    // Shift+Tab from the source list past the preview's Next button to the drive grid, while
    // no folder page is open; once one is, Shift+Tab goes to the page in front, Tab back.
    void toTheDriveGrid() { keys("shift+Tab", 2); }
    void toTheFolderPage() { key("shift+Tab"); }
    void toTheSourceList() { key("Tab"); }
    // A sort with the send keys: photographs [first, end) are each looked at, then sent with
    // their destination's key, which shows the next. With `confirmEachSend_`, each must have
    // arrived in its destination before the next is looked at (a key that sends elsewhere
    // stops the sort at once).
    void sendPhotographs(std::size_t first, std::size_t end);
    // Waits until no photograph is left on the card; throws after a minute.
    void waitUntilAllArrived() const;

    // Waits until the large view shows the photograph, then looks at it for the pace's time.
    void lookAt(const CardPhoto& photo);
    // Every photograph is in its destination byte for byte, nothing else is there, and the
    // card is empty.
    void expectSorted() const;

    SortPace pace_;
    std::vector<std::string> destinations_;
    std::vector<CardPhoto> photos_;
    FolderContents card_;
    int actions_ = 0;
    bool confirmEachSend_ = false;

  private:
    std::unique_ptr<ScreenSampler> sampler_;
    int pickOnThePage_ = 0;  // the cell of the work folder's page the keyboard's mark is on
};

}  // namespace pictaria::e2e
