// SPDX-License-Identifier: GPL-3.0-or-later
// Auto scroll, the slide show and the duplicate search.

#include <QPushButton>
#include <QSpinBox>
#include "widgets/ElidedLabel.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "aids/AutoScroll.h"
#include "aids/DuplicateSearch.h"
#include "aids/Slid_Unit3.h"
#include "aids/SystemFolderLibrary.h"
#include "app/MainFormUnit1.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/FittedCaption.h"
#include "widgets/Panel.h"
#include "widgets/Timer.h"
#include "work/WorkQueues.h"

namespace pictaria {

namespace {

const QColor kStoppedColour(255, 0, 0);

// The rows a pointer passed over moving from height `fromY` to height `toY` of a list's view
// `viewHeight` high, whose `rowCount` rows are `rowHeight` high from `firstTop` down: those in
// its way within the view, as first and last; first > last when there are none.
std::pair<int, int> rowsPassed(int fromY, int toY, int firstTop, int rowHeight, int rowCount,
                               int viewHeight) {
    const int top = std::max({std::min(fromY, toY), firstTop, 0});
    const int bottom =
        std::min({std::max(fromY, toY), firstTop + rowCount * rowHeight - 1, viewHeight - 1});
    if (top > bottom) {
        return {0, -1};
    }
    return {(top - firstTop) / rowHeight, (bottom - firstTop) / rowHeight};
}

// The running scroll's caption takes the colour of the desktop's background; the nearest this
// platform offers is the palette's highlight, the accent the desktop theme paints with.
QColor runningColour() {
    return QPalette().color(QPalette::Highlight);
}

void setCaption(QPushButton* button, const char* caption, const QColor& colour) {
    QPalette colours = button->palette();
    colours.setColor(QPalette::ButtonText, colour);
    button->setPalette(colours);
    // "Auto Scroll OFF" is wider than the button the layout gives it at the window's font.
    setFittedCaption(*button, QString::fromLatin1(caption), button->window()->font().pixelSize());
}

void stopAutoScroll(TForm1& form) {
    setCaption(form.BitBtn13, kAutoScrollStopped, kStoppedColour);
    form.Timer1->setInterval(0);
}

void startAutoScroll(TForm1& form) {
    setCaption(form.BitBtn13, kAutoScrollRunning, runningColour());
    form.Timer1->setInterval(form.CSpinEdit1->value() * 1000);
}

}  // namespace

// Selects a source entry and shows its picture, without the effects of a click in the list on
// the duplicate search's reference.
void TForm1::scrollTo(int index) {
    CListBox1->setItemIndex(index);
    showSourcePick(PickedBy::Program);
}

void TForm1::connectAidEvents() {
    connect(BitBtn12, &QPushButton::clicked, this, &TForm1::BitBtn12Click);
    connect(BitBtn13, &QPushButton::clicked, this, reportingErrors([this] { BitBtn13Click(); }));
    connect(BitBtn14, &QPushButton::clicked, this, &TForm1::BitBtn14Click);
    connect(BitBtn15, &QPushButton::clicked, this, &TForm1::BitBtn15Click);
    connect(Timer1, &Timer::timeout, this, reportingErrors([this] { Timer1Timer(); }));
    connect(CListBox1, &CheckListBox::pointerMoved, this, &TForm1::CListBox1MouseMove);
}

void TForm1::BitBtn12Click() {
    try {
        if (SlidShowForm) {
            SlidShowForm->present();
        }
    } catch (...) {
        // Whatever goes wrong while showing the slide show is dropped without a message.
    }
}

// The first click after start-up only picks the first entry and arms the scroll; later clicks
// start and stop it in turn.
void TForm1::BitBtn13Click() {
    if (CListBox1->selectedIndex() < 0 && CListBox1->count() > 0) {
        scrollTo(0);
    }
    if (BitBtn13->text() == QLatin1String(kAutoScrollStopped)) {
        startAutoScroll(*this);
    } else {
        stopAutoScroll(*this);
    }
}

void TForm1::Timer1Timer() {
    const auto next = nextScrollEntry(CListBox1->selectedIndex(), CListBox1->count());
    if (!next) {
        stopAutoScroll(*this);
        return;
    }
    scrollTo(*next);
}

// Dragging with the left button held ticks every entry passed over; nothing is ever unticked.
// The pointer's movements come farther apart than a row when it moves fast, so each one ticks the
// entries on the way from the drag's previous movement. Beside the list it passes over none.
void TForm1::CListBox1MouseMove(Qt::MouseButtons buttons, const QPoint& point) {
    const QRect view = CListBox1->viewport()->rect();
    const auto beside = [&view](const QPoint& at) {
        return at.x() < view.left() || at.x() > view.right();
    };
    if (!(buttons & Qt::LeftButton) || CListBox1->count() == 0 || beside(point)) {
        return;
    }
    QPoint from = CListBox1->previousDragPoint().value_or(point);
    if (beside(from)) {
        from = point;
    }
    const QRect firstRow = CListBox1->visualItemRect(CListBox1->item(0));
    const auto [first, last] = rowsPassed(from.y(), point.y(), firstRow.top(), firstRow.height(),
                                          CListBox1->count(), view.height());
    for (int row = first; row <= last; ++row) {
        CListBox1->setChecked(row, true);
    }
}

// The files are compared on their volume's queue: a folder on a card may take long to read.
// The copies found are ticked if the list still shows the same folder.
void TForm1::BitBtn15Click() {
    std::vector<std::string> names;
    for (int i = 0; i < CListBox1->count(); ++i) {
        names.push_back(CListBox1->name(i));
    }
    const std::string folder = SourceFolder;
    work_->run<std::vector<std::string>>(
        "same picture", volumeOf(folder),
        [names, folder, reference = CurrentPicturePath](const JobContext&) {
            return identicalFilesAmong(names, folder, reference);
        },
        [this, folder](std::vector<std::string>& identical) {
            if (folder != SourceFolder) {
                return;
            }
            for (int i = 0; i < CListBox1->count(); ++i) {
                if (std::find(identical.begin(), identical.end(), CListBox1->name(i)) !=
                    identical.end()) {
                    CListBox1->setChecked(i, true);
                }
            }
        });
}

void TForm1::BitBtn14Click() {
    std::vector<std::string> found;
    appendSystemFolderEntries(found, programLibraryFolder() + "/" + kSystemFolderLibraryName,
                              static_cast<unsigned long long>(winId()));
    if (found.empty()) {
        return;
    }
    for (std::string& name : found) {
        FolderEntries.add(std::move(name));
    }
    FolderEntries.sort();
}

}  // namespace pictaria
