// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/Slid_Unit3.h"

#include <QApplication>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <utility>

#include "aids/DockablePanel.h"
#include "aids/SlideShowGlyphs.h"
#include "widgets/ImageControl.h"
#include "widgets/PopupMenu.h"
#include "widgets/Timer.h"

namespace pictaria {

TSlidShowForm* SlidShowForm = nullptr;

namespace {

constexpr QSize kDesignClientSize(604, 406);
constexpr QRect kPanelBounds(0, 8, 241, 41);
constexpr int kButtonTop = 12;
constexpr int kButtonHeight = 25;
constexpr int kFirstStep = 1000;
constexpr int kMillisecondsPerSecond = 1000;
// The seconds field has no bounds of its own; these keep the step in milliseconds an int.
constexpr int kLargestSeconds = 2147483;
constexpr int kInitialSeconds = 2;

struct ButtonPlace {
    QPushButton* TSlidShowForm::*member;
    const char* name;
    int left;
    int width;
    SlideGlyph glyph;
};

const ButtonPlace kButtons[] = {
    {&TSlidShowForm::BitBtn1, "BitBtn1", 3, 32, SlideGlyph::Start},
    {&TSlidShowForm::BitBtn2, "BitBtn2", 43, 31, SlideGlyph::Forward},
    {&TSlidShowForm::BitBtn3, "BitBtn3", 83, 26, SlideGlyph::Stop},
    {&TSlidShowForm::BitBtn4, "BitBtn4", 115, 30, SlideGlyph::Back},
    {&TSlidShowForm::BitBtn5, "BitBtn5", 154, 28, SlideGlyph::Close},
};

void setBackground(QWidget* control, const QColor& colour) {
    QPalette colours = control->palette();
    colours.setColor(QPalette::Window, colour);
    control->setPalette(colours);
    control->setAutoFillBackground(true);
}

QAction* addEntry(QMenu* menu, const char* name, const char* caption) {
    QAction* entry = menu->addAction(QString::fromUtf8(caption));
    entry->setObjectName(QString::fromLatin1(name));
    return entry;
}

}  // namespace

TSlidShowForm::TSlidShowForm(PictureSource previewPaths, PictureShower showPicture, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      previewPaths_(std::move(previewPaths)),
      showPicture_(std::move(showPicture)) {
    buildControls();
    connectEvents();
    FormCreate();
}

void TSlidShowForm::buildControls() {
    setObjectName(QStringLiteral("SlidShowForm"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kDesignClientSize);
    setBackground(this, palette().color(QPalette::Highlight));
    setMouseTracking(true);

    Image1 = new ImageControl(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    buildPanel();
    buildMenu();
    Timer1 = new Timer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
}

void TSlidShowForm::buildPanel() {
    Panel1 = new DockablePanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(kPanelBounds);
    Panel1->setFrameStyle(QFrame::NoFrame);
    Panel1->setColor(palette().color(QPalette::Highlight));
    for (const ButtonPlace& place : kButtons) {
        auto* button = new QPushButton(Panel1);
        button->setObjectName(QString::fromLatin1(place.name));
        button->setGeometry(place.left, kButtonTop, place.width, kButtonHeight);
        button->setIcon(slideGlyphIcon(place.glyph));
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::NoFocus);
        this->*place.member = button;
    }
    CSpinEdit1 = new QSpinBox(Panel1);
    CSpinEdit1->setObjectName(QStringLiteral("CSpinEdit1"));
    CSpinEdit1->setGeometry(187, kButtonTop, 41, kButtonHeight);
    CSpinEdit1->setRange(-kLargestSeconds, kLargestSeconds);
    CSpinEdit1->setValue(kInitialSeconds);
}

void TSlidShowForm::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = addEntry(PopupMenu1, "N1", "コントロール");
    N2 = addEntry(PopupMenu1, "N2", "スタート");
    N3 = addEntry(PopupMenu1, "N3", "停止");
    N4 = addEntry(PopupMenu1, "N4", "進む");
    N5 = addEntry(PopupMenu1, "N5", "戻る");
    Close1 = addEntry(PopupMenu1, "Close1", "閉じる");
    attachPopupMenu(*this, *PopupMenu1);
    attachPopupMenu(*Image1, *PopupMenu1);
}

void TSlidShowForm::connectEvents() {
    connect(Timer1, &Timer::timeout, this, &TSlidShowForm::Timer1Timer);
    const std::pair<QPushButton*, void (TSlidShowForm::*)()> clicks[] = {
        {BitBtn1, &TSlidShowForm::BitBtn1Click}, {BitBtn2, &TSlidShowForm::BitBtn2Click},
        {BitBtn3, &TSlidShowForm::BitBtn3Click}, {BitBtn4, &TSlidShowForm::BitBtn4Click},
        {BitBtn5, &TSlidShowForm::BitBtn5Click},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this, handler);
    }
    // Each menu entry but the first performs the click of a button.
    const std::pair<QAction*, QPushButton*> entries[] = {
        {N2, BitBtn1}, {N3, BitBtn3}, {N4, BitBtn2}, {N5, BitBtn4}, {Close1, BitBtn5},
    };
    for (const auto& [entry, button] : entries) {
        connect(entry, &QAction::triggered, button, &QPushButton::click);
    }
    connect(N1, &QAction::triggered, this, &TSlidShowForm::N1Click);
    connect(CSpinEdit1, &QSpinBox::valueChanged, this, &TSlidShowForm::CSpinEdit1Change);
}

void TSlidShowForm::FormCreate() {
    hide();
    LastPress = QPoint(0, 0);
}

void TSlidShowForm::present() {
    // The platform may still count a hidden window as the active one.
    const bool activeAlready = isActiveWindow();
    lostToOwnWindow_ = false;  // being shown is a new show, whatever took the activation last
    show();
    raise();
    activateWindow();
    if (Panel1->isFloating()) {
        Panel1->raise();  // the floating panel stays above the full-screen window
    }
    if (activeAlready) {
        FormActivate();  // no activation will be reported for a window that stays active
    }
}

void TSlidShowForm::FormActivate() {
    const QScreen* display = screen();
    setGeometry(display->geometry());
    setStep(kFirstStep);
    const auto first = PlayList.restart(previewPaths_());
    if (!first) {
        setStep(0);
        return;
    }
    showEntry(first);
}

// The timer waits while the picture is read (from a card, perhaps) and while a message about it
// shows (its event loop would step the show on to raise another box over it), and counts the
// step from when it is shown, unless the show was stopped, ended or given a new step meanwhile.
// An entry asked for while another is awaited takes its place.
void TSlidShowForm::showEntry(const std::optional<std::string>& path) {
    const int step = stepAwaiting_.value_or(Timer1->interval());
    const unsigned stepsSetBefore = stepsSet_;
    const unsigned entry = ++entriesAsked_;
    stepAwaiting_ = step;
    Timer1->setInterval(0);
    const auto goOn = [this, entry, step, stepsSetBefore] {
        if (entry != entriesAsked_) {
            return;
        }
        stepAwaiting_.reset();
        if (stepsSet_ == stepsSetBefore) {
            Timer1->setInterval(step);
        }
    };
    if (path) {
        showPicture_(width(), height(), Image1, *path, goOn);
    } else {
        goOn();
    }
    if (const auto next = PlayList.peekForward(); next && readAhead_) {
        readAhead_(width(), height(), Image1, *next);
    }
}

void TSlidShowForm::Timer1Timer() {
    showEntry(PlayList.forward());
}

void TSlidShowForm::BitBtn2Click() {
    showEntry(PlayList.forward());
}

void TSlidShowForm::BitBtn4Click() {
    showEntry(PlayList.back());
}

void TSlidShowForm::BitBtn1Click() {
    setStepSeconds(CSpinEdit1->value());
}

void TSlidShowForm::BitBtn3Click() {
    setStep(0);
}

void TSlidShowForm::BitBtn5Click() {
    setStep(0);
    hide();
}

void TSlidShowForm::CSpinEdit1Change(int seconds) {
    setStepSeconds(seconds);
}

// A step of 0 seconds or less stops the show.
void TSlidShowForm::setStepSeconds(int seconds) {
    setStep(seconds * kMillisecondsPerSecond);
}

void TSlidShowForm::setStep(int milliseconds) {
    ++stepsSet_;
    stepAwaiting_.reset();
    Timer1->setInterval(milliseconds);
}

void TSlidShowForm::FormClose() {
    setStep(0);
}

void TSlidShowForm::FormMouseDown(const QPoint& point) {
    LastPress = point;
}

void TSlidShowForm::FormMouseMove(const QPoint& point) {
    const QRect panel = Panel1->rectInSite();
    Panel1->setVisible(pointerOverPanel(point.x(), point.y(), panel.left(), panel.top(),
                                        panel.width(), panel.height()));
}

void TSlidShowForm::Image1MouseMove(const QPoint& pointInPicture) {
    FormMouseMove(pointInPicture + Image1->pos());
}

void TSlidShowForm::N1Click() {
    Panel1->dockInto(nearestEdge(LastPress.x(), LastPress.y(), width(), height()), LastPress);
}

// Activation restarts the show, except when it comes back from another window of the program:
// closing a load error's message box must not start the show again (and show the error again),
// nor may typing in the floating panel's seconds field.
void TSlidShowForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    if (!isActiveWindow()) {
        // The window that takes the activation is already the application's active one; none
        // when it went to another program.
        lostToOwnWindow_ = QApplication::activeWindow() != nullptr;
        return;
    }
    if (!std::exchange(lostToOwnWindow_, false)) {
        FormActivate();
    }
}

// Escape ends the show as the close button does.
void TSlidShowForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        BitBtn5Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSlidShowForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();  // hides the window; it lives on for the next show
}

void TSlidShowForm::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!childAt(point)) {  // presses on the picture or the panel do not count
        FormMouseDown(point);
    }
    QWidget::mousePressEvent(event);
}

void TSlidShowForm::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

bool TSlidShowForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseMove) {
        Image1MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pictaria
