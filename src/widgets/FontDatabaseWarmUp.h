// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fills Qt's font database on a thread of its own while the main window builds its controls:
// listing the installed fonts is, with the font configuration, most of what start-up costs
// beyond Qt itself, and the window needs the fonts only when it measures its first text. Qt's
// font database is safe to use from any thread; the first text measured waits for it.

#include <thread>

namespace pictaria {

class FontConfigurationLoader;

class FontDatabaseWarmUp {
  public:
    // Starts once `configuration` is loaded; the application object must exist and outlive this.
    explicit FontDatabaseWarmUp(const FontConfigurationLoader& configuration);
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;
    // Waits for the filling to end.
    ~FontDatabaseWarmUp();

  private:
    std::thread reader_;
};

}  // namespace pictaria
