// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, from one run:
//   startup_vs_minimal_qt             time from starting the program to its main window being
//                                     shown, against a minimal Qt Widgets program showing one
//                                     empty window
//   startup_vs_minimal_qt_with_text   the same against that window showing one line of Japanese
//                                     text in the program's font (information: an empty window
//                                     never loads the font system, which any text needs)
// All run on a virtual screen of their own (Xvfb, the xcb platform) with the same environment
// and current folder. "Shown" is seen from outside, the way a window manager sees it: this
// program watches the root window and stops the clock at the MapNotify event of the first
// top-level window whose _NET_WM_PID is the started process. Everything the program does before
// showing its window (loading libraries, the application object, the fonts, building the
// controls, the drive scan, the icon) is counted; the first paint that follows is not, for
// any program. Each program is started once to warm the caches, then 21 times in turn; the
// medians are compared.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "display/ChildProcess.h"
#include "display/XvfbServer.h"

namespace fs = std::filesystem;
using namespace pictaria;

namespace {

constexpr int kRounds = 21;
constexpr int kMapTimeoutMs = 60000;

class ScreenWatch {
  public:
    explicit ScreenWatch(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
        if (!display_) {
            throw std::runtime_error("cannot open " + display);
        }
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
        XSync(display_, True);
    }
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;
    ~ScreenWatch() { XCloseDisplay(display_); }

    // Waits for the first window of `pid` to be mapped; false after the time-out.
    bool waitForWindowOf(pid_t pid) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kMapTimeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == MapNotify && windowPid(event.xmap.window) == pid) {
                    return true;
                }
            }
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            ::poll(&connection, 1, 100);
        }
        return false;
    }

    // Drops the events of earlier runs.
    void forgetEvents() { XSync(display_, True); }

  private:
    long windowPid(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data && items == 1 && format == 32) {
            pid = *reinterpret_cast<long*>(data);
        }
        if (data) {
            XFree(data);
        }
        return pid;
    }

    Display* display_;
    Atom pidAtom_;
};

struct Contender {
    std::vector<std::string> command;
    std::vector<double> seconds;
};

double secondsToWindow(ScreenWatch& watch, const std::vector<std::string>& command,
                       const display::EnvironmentChanges& environment, const std::string& folder) {
    watch.forgetEvents();
    const auto start = std::chrono::steady_clock::now();
    display::ChildProcess child(display::Launch{command, folder, environment, ""});
    if (!watch.waitForWindowOf(child.pid())) {
        std::fprintf(stderr, "%s showed no window\n", command.front().c_str());
        std::exit(1);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    child.stop();
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    if (!display::XvfbServer::available()) {
        std::fprintf(stderr, "Xvfb is not installed\n");
        return 1;
    }
    const fs::path work = bench::uniqueFolder(fs::current_path(), "bench-startup-work");
    fs::create_directories(work / "runtime");
    fs::permissions(work / "runtime", fs::perms::owner_all);

    display::XvfbServer server;
    ScreenWatch watch(server.display());
    const display::EnvironmentChanges environment{
        {"DISPLAY", server.display()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"XDG_RUNTIME_DIR", (work / "runtime").string()},
    };
    Contender ours{{PICTARIA_BINARY}, {}};
    Contender reference{{MINIMAL_QT_WINDOW}, {}};
    Contender textReference{{MINIMAL_QT_TEXT_WINDOW}, {}};
    const std::vector<Contender*> contenders{&ours, &reference, &textReference};
    for (Contender* contender : contenders) {
        secondsToWindow(watch, contender->command, environment, work.string());  // warm-up
    }
    for (int round = 0; round < kRounds; ++round) {
        for (Contender* contender : contenders) {
            contender->seconds.push_back(
                secondsToWindow(watch, contender->command, environment, work.string()));
        }
    }
    bench::printRatio("startup_vs_minimal_qt", median(ours.seconds), median(reference.seconds));
    bench::printRatio("startup_vs_minimal_qt_with_text", median(ours.seconds),
                      median(textReference.seconds));
    fs::remove_all(work);
    return 0;
}
