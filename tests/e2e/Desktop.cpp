// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/Desktop.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace pictaria::e2e {

namespace {

// Qt takes two presses within its double-click interval (400 ms) as a double click.
constexpr char kDoubleClickDelayMs[] = "80";
constexpr char kKeyDelayMs[] = "40";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            result.push_back(line);
        }
    }
    return result;
}

// The number after "label:" in xwininfo's lines.
int infoValue(const std::string& text, const std::string& label) {
    for (const std::string& line : lines(text)) {
        const std::size_t at = line.find(label + ":");
        if (at != std::string::npos) {
            return std::stoi(line.substr(at + label.size() + 1));
        }
    }
    throw std::runtime_error("xwininfo gave no " + label);
}

}  // namespace

std::string Desktop::xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    return display::runForOutput(arguments, environment());
}

std::vector<ScreenWindow> Desktop::windowsOf(pid_t pid) const {
    std::vector<ScreenWindow> windows;
    for (const std::string& id :
         lines(xdotool({"search", "--onlyvisible", "--pid", std::to_string(pid)}))) {
        // xwininfo, not xdotool's getwindowgeometry: under a window manager that frames the
        // window, xdotool counts the frame's offset twice.
        const std::string info = display::runForOutput({"xwininfo", "-id", id}, environment());
        try {
            windows.push_back({id, QRect(infoValue(info, "Absolute upper-left X"),
                                         infoValue(info, "Absolute upper-left Y"),
                                         infoValue(info, "Width"), infoValue(info, "Height"))});
        } catch (const std::exception&) {
            // the window went away between the two questions
        }
    }
    return windows;
}

void Desktop::pointerAction(QPoint screen, std::vector<std::string> action) const {
    // The server handles the motion before the buttons that follow it, so there is nothing to
    // wait for; xdotool's "--sync" would wait for a motion that never comes when the pointer is
    // already there.
    std::vector<std::string> arguments{"mousemove", std::to_string(screen.x()),
                                       std::to_string(screen.y())};
    arguments.insert(arguments.end(), action.begin(), action.end());
    xdotool(arguments);
}

void Desktop::click(QPoint screen) const {
    pointerAction(screen, {"click", "1"});
}

void Desktop::doubleClick(QPoint screen) const {
    pointerAction(screen, {"click", "--repeat", "2", "--delay", kDoubleClickDelayMs, "1"});
}

void Desktop::rightClick(QPoint screen) const {
    pointerAction(screen, {"click", "3"});
}

void Desktop::moveTo(QPoint screen) const {
    pointerAction(screen, {});
}

void Desktop::drag(QPoint from, QPoint to) const {
    constexpr int kStep = 3;
    std::vector<std::string> arguments{"mousemove", std::to_string(from.x()),
                                       std::to_string(from.y()), "mousedown", "1"};
    const QPoint way = to - from;
    const int steps = std::max(1, std::max(std::abs(way.x()), std::abs(way.y())) / kStep);
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + way * i / steps;
        arguments.insert(arguments.end(), {"mousemove", std::to_string(at.x()),
                                           std::to_string(at.y()), "sleep", "0.01"});
    }
    arguments.insert(arguments.end(), {"mouseup", "1"});
    xdotool(arguments);
}

void Desktop::pressKeys(const std::vector<std::string>& keys) const {
    std::vector<std::string> arguments{"key", "--delay", kKeyDelayMs};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    xdotool(arguments);
}

void Desktop::typeText(const std::string& text) const {
    xdotool({"type", "--delay", kKeyDelayMs, text});
}

QImage Desktop::screenshot() const {
    const std::string ppm =
        display::runForOutput({"import", "-silent", "-window", "root", "ppm:-"}, environment());
    return QImage::fromData(reinterpret_cast<const uchar*>(ppm.data()),
                            static_cast<int>(ppm.size()), "PPM");
}

bool Desktop::windowManagerRunning() const {
    // Without a window manager xdotool cannot tell the current desktop.
    int exitCode = -1;
    display::runForOutput({"xdotool", "get_desktop"}, environment(), &exitCode);
    return exitCode == 0;
}

bool Desktop::toolsAvailable() {
    return display::onPath("xdotool") && display::onPath("xwininfo") && display::onPath("import");
}

}  // namespace pictaria::e2e
