// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen of a virtual X server as a user meets it: the windows a program shows, the
// pointer and the keyboard (through xdotool, so that the program receives real X events),
// and what the screen looks like (through ImageMagick's import).

#include <QImage>
#include <QPoint>
#include <QRect>

#include <string>
#include <vector>

#include "display/ChildProcess.h"

namespace pictaria::e2e {

struct ScreenWindow {
    std::string id;
    QRect frame;  // screen coordinates
};

class Desktop {
  public:
    explicit Desktop(std::string display) : display_(std::move(display)) {}

    // The mapped windows of the process, menus included, in stacking order.
    std::vector<ScreenWindow> windowsOf(pid_t pid) const;

    void click(QPoint screen) const;
    void doubleClick(QPoint screen) const;
    void rightClick(QPoint screen) const;
    void moveTo(QPoint screen) const;
    // The left button pressed at `from`, moved in steps of a few pixels, released at `to`.
    void drag(QPoint from, QPoint to) const;
    // Key names as xdotool knows them: "Return", "Down", "ctrl+a".
    void pressKeys(const std::vector<std::string>& keys) const;
    void typeText(const std::string& text) const;

    QImage screenshot() const;

    // DISPLAY for programs shown on this screen.
    display::EnvironmentChanges environment() const { return {{"DISPLAY", display_}}; }

    // True once a window manager that follows the desktop conventions manages the screen.
    bool windowManagerRunning() const;

    // True when the tools this class runs are installed.
    static bool toolsAvailable();

  private:
    std::string xdotool(std::vector<std::string> arguments) const;
    void pointerAction(QPoint screen, std::vector<std::string> action) const;

    std::string display_;
};

}  // namespace pictaria::e2e
