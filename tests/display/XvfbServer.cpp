// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/XvfbServer.h"

#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace pictaria::display {

namespace {

constexpr int kStartTimeoutMs = 20000;

// Reads the display number that Xvfb writes to `fd` once it is ready.
std::string readDisplayNumber(int fd) {
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, kStartTimeoutMs) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1 || c == '\n') {
            break;
        }
        number.push_back(c);
    }
    return number;
}

}  // namespace

XvfbServer::XvfbServer() {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        throw std::runtime_error("cannot make a pipe for Xvfb");
    }
    const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
    try {
        server_ = std::make_unique<ChildProcess>(
            Launch{{"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", screen,
                    "-nolisten", "tcp", "-noreset"},
                   "",
                   {},
                   ""});
    } catch (...) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw;
    }
    ::close(pipeEnds[1]);
    const std::string number = readDisplayNumber(pipeEnds[0]);
    ::close(pipeEnds[0]);
    if (number.empty()) {
        throw std::runtime_error("Xvfb did not report a display");
    }
    display_ = ":" + number;
}

}  // namespace pictaria::display
