// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours on a virtual X screen read straight from the server, fast enough to be asked
// every few milliseconds while a user's pace is timed (a screenshot through ImageMagick takes
// a tenth of a second).

#include <QColor>
#include <QRect>

#include <string>

struct _XDisplay;

namespace pictaria::e2e {

class ScreenSampler {
  public:
    // Throws std::runtime_error when the display cannot be opened.
    explicit ScreenSampler(const std::string& display);
    ScreenSampler(const ScreenSampler&) = delete;
    ScreenSampler& operator=(const ScreenSampler&) = delete;
    ~ScreenSampler();

    // The mean colour of a rectangle of the screen (screen coordinates).
    QColor meanColour(const QRect& area) const;

  private:
    _XDisplay* display_;
};

}  // namespace pictaria::e2e
