// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress of long file work: a window modal to its owner that appears only once the work
// has taken about a second, with a Cancel button that asks the work to stop.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QRect;
class QProgressDialog;
class QWidget;

namespace pictaria {

class ProgressWindow {
  public:
    // Window-modal, shown after a second: for work that runs inside the window's own thread
    // and lets the window handle its events only through report().
    ProgressWindow(QWidget* owner, const QString& label);
    // For work on another thread: the window stays usable (not modal), the progress appears
    // after `showAfterMs`, and its button, captioned `stopText`, calls `onStop`. A window
    // already shown then stays, saying `stoppingText`, until it is destroyed: the work ends only
    // once the item in hand is done.
    ProgressWindow(QWidget* owner, const QString& label, int showAfterMs, const QString& stopText,
                   const QString& stoppingText, std::function<void()> onStop);
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow();

    // Shows how far the work has come; false once the user asked it to stop.
    bool report(std::int64_t done, std::int64_t total);
    void setLabel(const QString& label);
    // Puts the window into the bottom left corner of an area of the screen, rather than over
    // the middle of its owner; it grows to the right as its text does.
    void placeInCorner(const QRect& area);

  private:
    void showStopping(const QString& stoppingText);

    std::unique_ptr<QProgressDialog> dialog_;
    bool stopping_ = false;
};

}  // namespace pictaria
