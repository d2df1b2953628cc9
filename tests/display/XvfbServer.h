// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A virtual X server of our own for one test or benchmark run: Xvfb picks a free display
// number and reports it once it accepts clients; the server ends with this object.

#include <memory>
#include <string>

#include "display/ChildProcess.h"

namespace pictaria::display {

class XvfbServer {
  public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 1024;

    // Throws std::runtime_error when the server does not come up.
    XvfbServer();

    // ":N", for DISPLAY.
    const std::string& display() const { return display_; }
    pid_t pid() const { return server_->pid(); }

    // True when Xvfb can be started here.
    static bool available() { return onPath("Xvfb"); }

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

}  // namespace pictaria::display
