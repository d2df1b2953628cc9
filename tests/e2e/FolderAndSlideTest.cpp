// SPDX-License-Identifier: GPL-3.0-or-later
// The folder pages' menu and the slide show, as a user works them.

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "e2e/PictariaSession.h"

#include "e2e/ProcessActivity.h"

namespace pictaria::e2e {
namespace {

namespace fs = std::filesystem;

using EndToEndSlideShow = PictariaSession;

class EndToEndFolderCommands : public PictariaSession {
  protected:
    // Answers the name dialog that the menu entry opens: `text` replaces the offered name.
    void answerNameDialog(const std::string& text) const {
        const ScreenWindow dialog = waitForWindowOfSize(kNameDialogSize);
        settle();
        if (!text.empty()) {
            desktop_->typeText(text);
        }
        desktop_->pressKeys({"Return"});
        waitUntil([&] { return !windowShown(dialog.id); });
        settle();
    }

    // Says yes to the question box in front (its Yes button's mnemonic).
    void answerYes() const {
        settle();
        desktop_->pressKeys({"alt+y"});
        settle();
    }

    bool folderExists(const std::string& relative) const {
        return fs::is_directory(host(relative));
    }
};

TEST_F(EndToEndFolderCommands, NewRenameAndDeleteFromTheFolderPageMenu) {
    makeFolder("albums");
    startProgram(host());
    walkToDestination(host("albums"));
    const QPoint albums = folderCell(pageIndexOf(host(), "albums"));

    chooseFolderMenuEntry(albums, FolderMenuEntry::NewFolder);
    answerNameDialog("trip");
    EXPECT_TRUE(waitUntil([&] { return folderExists("trip"); }));

    chooseFolderMenuEntry(albums, FolderMenuEntry::RenameFolder);
    answerNameDialog("trip-2026");
    EXPECT_TRUE(waitUntil([&] { return folderExists("trip-2026") && !folderExists("trip"); }));

    const QPoint renamed = folderCell(pageIndexOf(host(), "trip-2026"));
    click(renamed);
    chooseFolderMenuEntry(renamed, FolderMenuEntry::DeleteFolder);
    answerNameDialog("");
    answerYes();  // to the trash
    EXPECT_TRUE(waitUntil([&] { return !folderExists("trip-2026"); }));
    EXPECT_TRUE(folderExists("home/.local/share/Trash/files/trip-2026"));
    EXPECT_TRUE(folderExists("albums"));
}

// The colour in the middle of the screen is near `expected` (the photograph went through JPEG).
::testing::AssertionResult showsColour(const QImage& screen, const QColor& expected) {
    const QColor seen = screen.pixelColor(screen.rect().center());
    const int difference = std::abs(seen.red() - expected.red()) +
                           std::abs(seen.green() - expected.green()) +
                           std::abs(seen.blue() - expected.blue());
    if (difference <= 24) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the screen shows " << seen.name().toStdString()
                                         << " instead of " << expected.name().toStdString();
}

TEST_F(EndToEndSlideShow, StartsFullScreenWithTheDestinationsPhotographAndClosesFromItsPanel) {
    const QColor red(200, 40, 40);
    writePhotos("shown", {"only.jpg"}, {red});
    startProgram(host());
    walkToDestination(host("shown"));

    press(kSlideButton);
    const ScreenWindow show = waitForWindowOfSize(desktop_->screenshot().size());
    settle();
    EXPECT_TRUE(showsColour(desktop_->screenshot(), red));

    desktop_->moveTo(show.frame.topLeft() + kSlidePanelSpot);
    settle();
    desktop_->click(show.frame.topLeft() + kSlideCloseButton.center());
    EXPECT_TRUE(waitUntil([&] { return !windowShown(show.id); }));
    EXPECT_TRUE(windowShown(mainWindow_.id));
}

// A first picture that cannot be loaded is told once; closing the message hands the activation
// back to the show, which goes on with its next picture instead of starting over (and telling
// the same error again, for ever).
TEST_F(EndToEndSlideShow, ABrokenFirstPictureIsToldOnceAndTheShowGoesOn) {
    const QColor red(200, 40, 40);
    writePhotos("shown", {"b.jpg", "c.jpg", "d.jpg", "e.jpg"}, {red, red, red, red});
    std::ofstream(host("shown/a.bmp")) << "BM this is no bitmap";
    startProgram(host());
    walkToDestination(host("shown"));

    press(kSlideButton);
    const ScreenWindow show = waitForWindowOfSize(desktop_->screenshot().size());
    const auto isMessage = [&](const ScreenWindow& window) {
        return window.id != show.id && window.frame.width() < 600 && window.frame.height() < 300;
    };
    const ScreenWindow message = waitForWindow(isMessage);
    settle();
    desktop_->pressKeys({"Return"});
    ASSERT_TRUE(waitUntil([&] { return !windowShown(message.id); }));
    const auto anotherMessage = [&] {
        for (const ScreenWindow& window : desktop_->windowsOf(program_->pid())) {
            if (isMessage(window)) {
                return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(waitUntil(anotherMessage, std::chrono::milliseconds(1500)));
    EXPECT_TRUE(waitUntil([&] { return showsColour(desktop_->screenshot(), red); }));
}

}  // namespace
}  // namespace pictaria::e2e
