// SPDX-License-Identifier: GPL-3.0-or-later
// The typical sort and the other commands on ticked photographs, as a user does them.

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>

#include <QImage>

#include "e2e/PictariaSession.h"
#include "e2e/ProcessActivity.h"
#include "support/ExfatCard.h"

namespace pictaria::e2e {
namespace {

using EndToEndFileCommands = PictariaSession;

TEST_F(EndToEndFileCommands, MoveTakesTheTickedPhotographsToTheDestinationAndOffTheList) {
    std::vector<std::string> names;
    for (const char* name :
         {"p01", "p02", "p03", "p04", "p05", "p06", "p07", "p08", "p09", "p10"}) {
        names.push_back(std::string(name) + ".jpg");
    }
    const FolderContents photos = writePhotos("card", names);
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    ASSERT_EQ(visibleSourceEntries(), 10);
    for (const int entry : {0, 1, 3, 5}) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kMoveButton);

    FolderContents expectedArrived;
    FolderContents expectedLeft = photos;
    for (const std::string name : {"p01.jpg", "p02.jpg", "p04.jpg", "p06.jpg"}) {
        expectedArrived.emplace(name, photos.at(name));
        expectedLeft.erase(name);
    }
    EXPECT_EQ(waitForFiles("sorted", 4), expectedArrived);
    EXPECT_EQ(contentsOf("card"), expectedLeft);
    settle();
    EXPECT_EQ(visibleSourceEntries(), 6);
}

// Ctrl+Z after a Move brings the ten photographs back whole, into the list, still ticked: a
// second Move takes all ten again.
TEST_F(EndToEndFileCommands, UndoOfAMoveBringsTheTenBackTickedAndWhole) {
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i) {
        names.push_back("IMG_00" + std::to_string(10 + i) + ".JPG");
    }
    const FolderContents photos = writePhotos("card", names);
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    for (int entry = 0; entry < 10; ++entry) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kMoveButton);
    ASSERT_EQ(waitForFiles("sorted", 10), photos);
    settle();
    ASSERT_EQ(visibleSourceEntries(), 0);

    desktop_->pressKeys({"ctrl+z"});
    EXPECT_EQ(waitForFiles("card", 10), photos);
    EXPECT_TRUE(contentsOf("sorted").empty());
    settle();
    EXPECT_EQ(visibleSourceEntries(), 10);

    press(kMoveButton);
    EXPECT_EQ(waitForFiles("sorted", 10), photos);
}

// A right click on a name picks nothing, so the click on the large picture after it ticks
// nothing; a left drag down the list ticks the five names it passes, and only those move.
TEST_F(EndToEndFileCommands, RightClickThenDragTickMovesExactlyTheDraggedFive) {
    std::vector<std::string> names;
    for (int i = 1; i <= 20; ++i) {
        names.push_back((i < 10 ? "IMG_000" : "IMG_00") + std::to_string(i) + ".JPG");
    }
    const FolderContents photos = writePhotos("card", names);
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    ASSERT_EQ(visibleSourceEntries(), 20);
    // Each step waits for what it needs, however slowly a loaded machine gets there: the menu
    // open before it is closed, closed before the next click, the photographs arrived.
    constexpr auto kLoadedMachine = 80s;
    rightClick(sourceEntry(2));
    const ScreenWindow menu = waitForWindow([](const ScreenWindow&) { return true; });
    desktop_->pressKeys({"Escape"});
    ASSERT_TRUE(waitUntil([&] { return !windowShown(menu.id); }, kLoadedMachine));
    settle();
    click(kLargePicture);
    drag(sourceEntry(6), sourceEntry(10));
    walkToDestination(host("sorted"));
    press(kMoveButton);

    FolderContents expectedArrived;
    for (int entry = 6; entry <= 10; ++entry) {
        expectedArrived.emplace(names[entry], photos.at(names[entry]));
    }
    ASSERT_TRUE(waitUntil([&] { return contentsOf("card").size() <= 15; }, kLoadedMachine))
        << contentsOf("sorted").size() << " arrived";
    settle();
    EXPECT_EQ(contentsOf("sorted"), expectedArrived);
    EXPECT_EQ(contentsOf("card").size(), 15u);
    EXPECT_TRUE(waitUntil([&] { return visibleSourceEntries() == 15; }, kLoadedMachine))
        << visibleSourceEntries();
}

TEST_F(EndToEndFileCommands, CopyKeepsTheSourceAndGivesACollidingPhotographANewName) {
    const FolderContents photos = writePhotos("card", {"a.jpg", "b.jpg", "c.jpg"});
    const FolderContents earlier = writePhotos("sorted", {"b.jpg"}, {Qt::black});
    startProgram(host("card"));

    openSourceFolder();
    for (const int entry : {0, 1, 2}) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kCopyButton);

    EXPECT_EQ(waitForFiles("sorted", 4), (FolderContents{{"a.jpg", photos.at("a.jpg")},
                                                         {"b.jpg", earlier.at("b.jpg")},
                                                         {"b2.jpg", photos.at("b.jpg")},
                                                         {"c.jpg", photos.at("c.jpg")}}));
    EXPECT_EQ(contentsOf("card"), photos);
    EXPECT_EQ(visibleSourceEntries(), 3);
}

TEST_F(EndToEndFileCommands, DeleteRemovesOnlyTheTickedPhotographs) {
    const FolderContents photos = writePhotos("card", {"d1.jpg", "d2.jpg", "d3.jpg", "d4.jpg"});
    startProgram(host("card"));

    openSourceFolder();
    pickAndTick(1);
    pickAndTick(3);
    press(kDeleteButton);

    EXPECT_EQ(waitForFiles("card", 2),
              (FolderContents{{"d1.jpg", photos.at("d1.jpg")}, {"d3.jpg", photos.at("d3.jpg")}}));
    settle();
    EXPECT_EQ(visibleSourceEntries(), 2);
}

// Photographs of `bytes` each: a small JPEG followed by pseudo-random bytes, which decoders
// ignore; each file's content is its own (its JPEG differs, and so does the padding's start).
FolderContents padPhotos(const FolderContents& photos, const std::string& folder,
                         std::size_t bytes) {
    std::string noise(1 << 20, '\0');
    std::mt19937_64 random(7);
    for (std::size_t at = 0; at + 8 <= noise.size(); at += 8) {
        const std::uint64_t word = random();
        std::memcpy(noise.data() + at, &word, 8);
    }
    FolderContents padded;
    std::size_t start = 0;
    for (const auto& [name, jpeg] : photos) {
        std::string content = jpeg;
        content.reserve(bytes);
        for (std::size_t at = start; content.size() < bytes; at = 0) {
            content.append(noise, at, std::min(noise.size() - at, bytes - content.size()));
        }
        start += 4099;
        std::ofstream(folder + "/" + name, std::ios::binary) << content;
        padded.emplace(name, std::move(content));
    }
    return padded;
}

// Forty photographs of 20 MB moved onto an exFAT card (across file systems, through FUSE, as
// slow as a card reader), stopped part way: every photograph is whole in exactly one place, and
// no hidden partial copy is left beside them.
class LargeMoveOntoACard : public EndToEndFileCommands {
  protected:
    static constexpr int kPhotos = 40;

    // Starts the Move and returns its progress window; false when no card can be mounted here.
    bool startMove() {
        card_.emplace("1200M", host("card"));
        if (!card_->mounted()) {
            return false;
        }
        std::vector<std::string> names;
        for (int i = 0; i < kPhotos; ++i) {
            names.push_back("DSC_" + std::to_string(5000 + i) + ".JPG");
        }
        photos_ = padPhotos(writePhotos("photos", names), host("photos"), 20'000'000);
        startProgram(host("photos"));
        openSourceFolder();
        shownWhenFull_ = visibleSourceEntries();
        click(sourceEntry(0));
        for (int i = 0; i < kPhotos; ++i) {
            desktop_->pressKeys({"space", "Down"});
        }
        settle();
        walkToDestination(card_->path());
        // Pressed without waiting for the program to come to rest: it works until stopped.
        desktop_->click(mainWindow_.frame.topLeft() + kMoveButton.center());
        progress_ = waitForWindow([](const ScreenWindow&) { return true; });
        return true;
    }

    void expectEveryPhotographWholeInOnePlace() {
        const FolderContents moved = contentsOf("card");
        const FolderContents left = contentsOf("photos");
        EXPECT_GT(moved.size(), 0u);
        EXPECT_GT(left.size(), 0u) << "the move ended before it was stopped";
        EXPECT_EQ(moved.size() + left.size(), photos_.size());
        for (const auto& [name, content] : photos_) {
            const auto there = moved.find(name);
            const auto here = left.find(name);
            ASSERT_NE(there == moved.end(), here == left.end()) << name;
            EXPECT_TRUE((there != moved.end() ? there->second : here->second) == content) << name;
        }
    }

    void releaseWorkFolder() override { card_.reset(); }

    std::optional<test::ExfatCard> card_;
    FolderContents photos_;
    int shownWhenFull_ = 0;
    ScreenWindow progress_;
};

TEST_F(LargeMoveOntoACard, ShowsItsProgressAndStopsBetweenTwoPhotographs) {
    if (!startMove()) {
        GTEST_SKIP() << "no exFAT card can be mounted here";
    }
    if (const char* shots = std::getenv("PICTARIA_E2E_SHOTS")) {
        desktop_->screenshot().save(QString::fromUtf8(shots) + "/progress.png");
    }
    desktop_->click(progress_.frame.topLeft() + progressStopButton(progress_.frame.size()));
    ASSERT_TRUE(waitUntil([&] { return !windowShown(progress_.id); }));
    settle();
    expectEveryPhotographWholeInOnePlace();
    EXPECT_EQ(visibleSourceEntries(), std::min<int>(contentsOf("photos").size(), shownWhenFull_));
}

// A logout, a shutdown or kill ends the program as closing its window does: the Move stops after
// the photograph in hand, finishes what it copied, and the program exits.
TEST_F(LargeMoveOntoACard, EndsCleanlyOnATerminationSignal) {
    if (!startMove()) {
        GTEST_SKIP() << "no exFAT card can be mounted here";
    }
    const int status = program_->stop();
    program_.reset();  // its end is this test's doing
    EXPECT_TRUE(WIFEXITED(status)) << "not ended by its own exit: wait status " << status;
    expectEveryPhotographWholeInOnePlace();
}

}  // namespace
}  // namespace pictaria::e2e
