#pragma once
// Reads the system's font configuration on a thread of its own while the main window builds its
// controls: loading the configuration and listing the installed fonts is most of what start-up
// costs beyond Qt itself, and the window needs the fonts only when it measures its first text.
// Qt's font database is safe to use from any thread; the first text measured waits for it.

#include <thread>

namespace pictaria {

class FontDatabaseWarmUp {
  public:
    // Starts reading; the application object must exist.
    FontDatabaseWarmUp();
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;
    // Waits for the reading to end.
    ~FontDatabaseWarmUp();

  private:
    std::thread reader_;
};

}  // namespace pictaria
