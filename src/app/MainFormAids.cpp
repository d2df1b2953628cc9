// SPDX-License-Identifier: GPL-3.0-or-later
// Auto scroll, the slide show and the duplicate search.

#include <QPushButton>
#include <QSpinBox>
#include "widgets/ElidedLabel.h"

#include "aids/AutoScroll.h"
#include "aids/DuplicateSearch.h"
#include "aids/Slid_Unit3.h"
#include "aids/SystemFolderLibrary.h"
#include "app/CheckListTickList.h"
#include "app/MainFormUnit1.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/FittedCaption.h"
#include "widgets/Panel.h"
#include "widgets/Timer.h"

namespace pictaria {

namespace {

const QColor kStoppedColour(255, 0, 0);

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

// Selects a source entry and shows its picture, without the effects of a click in the list.
void scrollTo(TForm1& form, int index) {
    form.CListBox1->setItemIndex(index);
    form.Label1->setText(form.CListBox1->item(index)->text());
    form.ShowPicture(form.Panel4->width(), form.Panel4->height(), form.Image2,
                     joinPath(form.SourceFolder, form.CListBox1->name(index)));
}

}  // namespace

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
        scrollTo(*this, 0);
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
    scrollTo(*this, *next);
}

// Dragging with the left button held ticks every entry passed over; nothing is ever unticked.
void TForm1::CListBox1MouseMove(Qt::MouseButtons buttons, const QPoint& point) {
    if (!(buttons & Qt::LeftButton)) {
        return;
    }
    const int under = CListBox1->itemIndexAt(point);
    if (under >= 0) {
        CListBox1->setChecked(under, true);
    }
}

void TForm1::BitBtn15Click() {
    CheckListTickList list(*CListBox1);
    tickIdenticalFiles(list, SourceFolder, CurrentPicturePath);
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
