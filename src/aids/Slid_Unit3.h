// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The slide show window: borderless, created hidden at start-up and kept for the whole run.
// Each activation covers the screen, takes a fresh copy of the destination's pictures and plays
// them from the first on a timer, wrapping at the end. A control panel (start, forward, stop,
// back, close and the seconds field) shows while the pointer is over the place where it stands;
// it can be dragged off into a floating tool window and docked back from the popup menu.
// Closing the window only hides it and stops the timer; it never ends the program.

#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aids/SlidePlaylist.h"

class QAction;
class QMenu;
class QPushButton;
class QSpinBox;

namespace pictaria {

class DockablePanel;
class ImageControl;
class Timer;

class TSlidShowForm : public QWidget {
    Q_OBJECT

  public:
    // The pictures to play: the full paths of the destination's pictures at this moment.
    using PictureSource = std::function<std::vector<std::string>()>;
    // Shows a picture file fitted into a pane of the given size in an image control, and then
    // (or when it cannot be read) tells `shown`, on the window's thread, now or later.
    using PictureShower = std::function<void(int paneWidth, int paneHeight, ImageControl* image,
                                             const std::string& path, std::function<void()> shown)>;

    // Told, after each picture asked for, the picture that comes next, so that it can be read
    // ahead.
    using NextPicture = std::function<void(int paneWidth, int paneHeight, ImageControl* image,
                                           const std::string& path)>;

    TSlidShowForm(PictureSource previewPaths, PictureShower showPicture, QWidget* parent = nullptr);
    void setReadAhead(NextPicture readAhead) { readAhead_ = std::move(readAhead); }

    // Shows the window in front of the others and activates it, which restarts the show; a
    // window that is active already restarts all the same.
    void present();

    ImageControl* Image1 = nullptr;
    DockablePanel* Panel1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // start
    QPushButton* BitBtn2 = nullptr;  // forward
    QPushButton* BitBtn3 = nullptr;  // stop
    QPushButton* BitBtn4 = nullptr;  // back
    QPushButton* BitBtn5 = nullptr;  // close
    QSpinBox* CSpinEdit1 = nullptr;  // the step in whole seconds
    Timer* Timer1 = nullptr;         // its interval is the run state: 0 is stopped

    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;      // dock the control panel
    QAction* N2 = nullptr;      // start
    QAction* N3 = nullptr;      // stop
    QAction* N4 = nullptr;      // forward
    QAction* N5 = nullptr;      // back
    QAction* Close1 = nullptr;  // close

    void FormCreate();
    void FormActivate();
    void FormClose();
    void FormMouseDown(const QPoint& point);
    void FormMouseMove(const QPoint& point);
    void Image1MouseMove(const QPoint& pointInPicture);
    void Timer1Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void CSpinEdit1Change(int seconds);
    void N1Click();

    int SlideIndex() const { return PlayList.index(); }

    SlidePlaylist PlayList;
    QPoint LastPress;  // the last press on the bare background, in client coordinates

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildPanel();
    void buildMenu();
    void connectEvents();
    void showEntry(const std::optional<std::string>& path);
    void setStepSeconds(int seconds);
    // Sets the timer's interval (0 stops the show) for good: a step that waits for a picture's
    // message then keeps it rather than going on with its own.
    void setStep(int milliseconds);

    PictureSource previewPaths_;
    PictureShower showPicture_;
    NextPicture readAhead_;
    // The window last lost the activation to another window of the program (a message box, a
    // dialog, its own floating panel): getting it back then is no new show.
    bool lostToOwnWindow_ = false;
    // Counts the intervals set through setStep.
    unsigned stepsSet_ = 0;
    // Counts the entries asked for; the step waits while the last one's picture is awaited.
    unsigned entriesAsked_ = 0;
    std::optional<int> stepAwaiting_;  // the step to go on with once the picture is shown
};

// The slide show window of the process.
extern TSlidShowForm* SlidShowForm;

}  // namespace pictaria
