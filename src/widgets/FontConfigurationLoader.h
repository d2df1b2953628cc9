// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loads the system's font configuration (fontconfig: its settings and the caches of the font
// folders) on a thread of its own from the first moment of the program, while Qt connects to
// the display. The configuration is what text needs first and takes several milliseconds.

#include <future>
#include <thread>

namespace pictaria {

class FontConfigurationLoader {
  public:
    FontConfigurationLoader();
    FontConfigurationLoader(const FontConfigurationLoader&) = delete;
    FontConfigurationLoader& operator=(const FontConfigurationLoader&) = delete;
    ~FontConfigurationLoader();

    // Returns once the configuration is loaded; callable from any thread, any number of times.
    void wait() const;

  private:
    std::promise<void> loaded_;
    std::shared_future<void> done_;
    std::thread loader_;
};

}  // namespace pictaria
