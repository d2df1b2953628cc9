// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the program as it ships (bin/pictaria of the build) on a virtual screen of its
// own, driven by real pointer and key events. Each test gets a work folder directly below
// /tmp whose name sorts before every other folder there ("!pictaria-e2e-..."), so that a walk
// from C:\ through the folder pages finds it in the first cells even while other tests come
// and go in /tmp. The program's home folder (and so its trash) lies inside the work folder.

#include <gtest/gtest.h>

#include <QColor>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/XvfbServer.h"
#include "e2e/Desktop.h"
#include "e2e/MainWindowPlaces.h"
#include "support/TestDrives.h"

namespace pictaria::e2e {

// File name to file bytes.
using FolderContents = std::map<std::string, std::string>;

class PictariaSession : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The window manager to run the program under: the one PICTARIA_E2E_WINDOW_MANAGER names,
    // or none when it is not set.
    virtual std::string windowManager() const;
    // Lets go of what the test mounted in the work folder, once the program has ended and
    // before the folder is removed.
    virtual void releaseWorkFolder() {}

    // The host path of `relative` inside the work folder.
    std::string host(const std::string& relative = "") const;
    // Writes one small JPEG photograph per name, each of its own colour; returns the contents.
    FolderContents writePhotos(const std::string& folder, const std::vector<std::string>& names,
                               const std::vector<QColor>& colours = {}) const;
    void makeFolder(const std::string& relative) const;
    // The files of a folder inside the work folder.
    FolderContents contentsOf(const std::string& relative) const;
    // The files of that folder once it holds `count` of them (or after a timeout, as they are).
    FolderContents waitForFiles(const std::string& relative, std::size_t count) const;

    // Starts the program with `currentFolder` as its current folder and waits for its window.
    void startProgram(const std::string& currentFolder);

    // Waits until the program has done with what it was given; fails the test otherwise.
    void settle() const;
    void click(QPoint inWindow) const;
    void doubleClick(QPoint inWindow) const;
    void rightClick(QPoint inWindow) const;
    // Presses the left button at `from`, moves in small steps to `to` and releases it there.
    void drag(QPoint from, QPoint to) const;
    void press(const QRect& button) const { click(button.center()); }

    // A window of the program other than the main window, waited for.
    ScreenWindow waitForWindow(const std::function<bool(const ScreenWindow&)>& wanted) const;
    ScreenWindow waitForWindowOfSize(QSize size) const;
    bool windowShown(const std::string& id) const;

    // "Open" and "O K" in the folder dialog, which shows the current folder.
    void openSourceFolder() const;
    // Picks entry `index` of the source list and clicks the large picture to tick it.
    void pickAndTick(int index) const;
    // The middle of the name of entry `index` of the source list, right of its tick box.
    static QPoint sourceEntry(int index);
    // The number of source list entries seen on the screen.
    int visibleSourceEntries() const;
    // From C:\ on the drive grid through the folder pages by double clicks to the page that
    // lists `hostFolder`, whose cell then gets a single click: it becomes the destination.
    void walkToDestination(const std::string& hostFolder) const;
    // The index of `name` among the folders a page of `hostParent` lists.
    int pageIndexOf(const std::string& hostParent, const std::string& name) const;
    // The centre of entry `index` of a folder page grid (not the drive grid).
    static QPoint folderCell(int index);
    // Chooses an entry of the folder page menu opened by a right click at `inWindow`.
    void chooseFolderMenuEntry(QPoint inWindow, FolderMenuEntry entry) const;

    std::unique_ptr<display::XvfbServer> server_;
    // Started when the tests run under a window manager (PICTARIA_E2E_WINDOW_MANAGER names it).
    std::unique_ptr<display::ChildProcess> windowManager_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<display::ChildProcess> program_;
    ScreenWindow mainWindow_;

  private:
    void startWindowManager(const std::string& program);
    QPoint onScreen(QPoint inWindow) const { return mainWindow_.frame.topLeft() + inWindow; }
    void keepEvidence() const;

    std::string root_;
    std::string evidenceFolder_;
    std::optional<test::TestDrives> drives_;
};

}  // namespace pictaria::e2e
