// SPDX-License-Identifier: GPL-3.0-or-later
// The source list, the large view and the destination preview.

#include <QAction>
#include <QImage>
#include <QPushButton>

#include <functional>
#include <utility>
#include "widgets/ElidedLabel.h"

#include "app/MainFormUnit1.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "navigator/FolderGrid.h"
#include "platform/FileServices.h"
#include "platform/FileWatch.h"
#include "platform/PathText.h"
#include "viewer/DestinationScan.h"
#include "viewer/PaneReads.h"
#include "viewer/PictureKinds.h"
#include "viewer/PictureLoadError.h"
#include "viewer/PictureReadAhead.h"
#include "widgets/AfterPaints.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/ImageControl.h"
#include "widgets/ModalDialog.h"
#include "widgets/Panel.h"
#include "widgets/StatusBar.h"
#include "widgets/TextBytes.h"

namespace pictaria {

void TForm1::connectViewingEvents() {
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(CListBox1, &CheckListBox::clicked, this, reportingErrors([this] { CListBox1Click(); }));
    // A key move never waits for a picture that is still to be loaded: it is shown when it is
    // ready, unless another move came first (a held key loads only where it stops).
    connect(CListBox1, &CheckListBox::keyPicked, this,
            reportingErrors([this] { showSourcePick(PickedBy::Key); }));
    connect(Image2, &ImageControl::clicked, this, &TForm1::Image2Click);
    connect(Panel4, &Panel::clicked, this, &TForm1::Image2Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(N8, &QAction::triggered, this, &TForm1::N8Click);
    // Showing a picture can fail with an error the user is told about.
    connect(BitBtn8, &QPushButton::clicked, this, reportingErrors([this] { BitBtn8Click(); }));
    connect(CListBox2, &CheckListBox::clicked, this, reportingErrors([this] { CListBox2Click(); }));
    connect(CListBox2, &CheckListBox::keyPicked, this,
            [this] { showLatestPick(previewPickPending_, [this] { CListBox2Click(); }); });
    followSourceListChanges();
}

// Shows the pick on the next turn of the event loop, once however many picks came before it.
void TForm1::showLatestPick(bool& pending, std::function<void()> show) {
    if (std::exchange(pending, true)) {
        return;
    }
    QMetaObject::invokeMethod(this, reportingErrors([&pending, show = std::move(show)] {
                                  pending = false;
                                  show();
                              }),
                              Qt::QueuedConnection);
}

// "Open": the folder chosen in the folder selection dialog becomes the source folder and its
// listed files fill the source list, unticked. The large view keeps its picture.
void TForm1::BitBtn5Click() {
    try {
        newFolderDialog();
        if (showModal(*SelectDirForm) != 1 || !drivesReady({SelectDirForm->chosenFolder()})) {
            return;
        }
        openSourceFolder(SelectDirForm->chosenFolder(), SelectDirForm->fileNames());
        CListBox1->setFocus(Qt::OtherFocusReason);  // the next key steps through the new list
    } catch (...) {
        // Nothing is reported; what was filled stays.
    }
}

void TForm1::openSourceFolder(const std::string& folder, const std::vector<std::string>& names) {
    CListBox1->clear();
    SourceFolder = folder;
    CListBox1->addNames(names);
}

std::vector<std::string> TForm1::previewPathTexts() const {
    return PreviewPaths.texts();
}

// Shows the picked source item: its name under the view, its picture fitted to the view and
// the picture's size as the view's hint.
void TForm1::CListBox1Click() {
    showSourcePick(PickedBy::Click);
}

// A pick never waits for a picture that is not read ahead yet, so that a slow card never holds
// the window: the view is emptied and the picture left to the read-ahead, first in line;
// pictureReadAhead shows it when it is ready. Until then no picture of another file stands under
// the new name. A pick of a file that cannot be shown (camera RAW, a broken bitmap, a file gone)
// empties the view too.
void TForm1::showSourcePick(PickedBy by) {
    const int picked = CListBox1->selectedIndex();
    if (picked < 0) {
        return;
    }
    const std::string name = CListBox1->name(picked);
    const std::string path = joinPath(SourceFolder, name);
    sourcePick_.pick(CListBox1->item(picked), path);
    pickReadAgain_ = 0;
    shownFile_->watch(path);
    Label1->setText(displayText(name));
    if (by != PickedBy::Program) {
        CurrentPicturePath = path;
    }
    sourceDirection_ = travelAfter(sourceDirection_, lastSourcePick_, picked, by == PickedBy::Key);
    lastSourcePick_ = picked;
    if (!IsKind(extractFileExt(path), ViewKinds)) {
        emptyLargeView();
        readAheadAround(picked);
        return;
    }
    const PictureRequest request = sourceRequest(path);
    if (std::optional<PreparedPicture> ready = readAhead_->takeIfReady(request)) {
        readAheadAround(picked);
        presentSourcePicture(request, *ready);
        return;
    }
    Image2->setPicture(QImage());  // its memory goes before the pick's is read
    Image2->setToolTip(QString());
    sourcePick_.await(request);
    if (by == PickedBy::Key) {
        readAheadAround(picked);
        return;
    }
    // A jump by the mouse: only the pick's picture is wanted until it is drawn, so every other
    // read gives way at once and none competes with its decode; pictureReadAhead reads ahead
    // around it once it is shown.
    sourceReadAhead_ = {request};
    updateReadAhead();
}

PictureRequest TForm1::sourceRequest(const std::string& path) const {
    return pictureRequest(path, Panel4->width(), Panel4->height(), ShrinkToFit,
                          Image2->devicePixelRatioF());
}

// A picture that fails to load is remembered as such, so that a resize does not tell its error
// again.
void TForm1::presentSourcePicture(const PictureRequest& request, const PreparedPicture& prepared) {
    std::string size;
    try {
        size = presentPicture(prepared, request, *Image2);
        unloadable_.erase(Image2);
    } catch (const PictureLoadError&) {
        unloadable_[Image2] = request.path;
        emptyLargeView();
        throw;
    } catch (...) {
        emptyLargeView();
        throw;
    }
    if (size.empty()) {
        emptyLargeView();
        return;
    }
    sourcePick_.shown();
    Image2->setToolTip(displayText(size));
}

void TForm1::emptyLargeView() {
    sourcePick_.emptied();
    Image2->setPicture(QImage());
    Image2->setToolTip(QString());
}

// How often a pick's picture reported ready is read again for having changed when taken.
constexpr int kPickReadsAgain = 3;

// The read-ahead has a picture ready (on its thread; this runs queued on the window's). It is
// shown only while the pick still waits for it: a later pick, or a pick in another list, has
// made it stale.
void TForm1::pictureReadAhead(const PictureRequest& request) {
    if (!sourcePick_.arrived(request)) {
        return;
    }
    std::optional<PreparedPicture> ready = readAhead_->takeIfReady(request);
    if (!ready && ++pickReadAgain_ <= kPickReadsAgain) {
        // Dropped since it was reported (its file changed, or did not answer in time): the
        // read-ahead reads or asks it again, first in line, and reports it once more.
        sourcePick_.await(request);
        return;
    }
    if (!ready) {
        ready = readAhead_->load(request);  // a file that changes at every read: shown as it is
    }
    // After the paint, the read-ahead goes on around the pick (a mouse pick held it back).
    callAfterPaints(this, [this, entry = sourcePick_.entry(), picked = pickedRow()] {
        if (picked >= 0 && sourcePick_.entry() == entry && pickedRow() == picked) {
            readAheadAround(picked);
        }
    });
    presentSourcePicture(request, *ready);
}

// An entry that leaves the list takes its picture and name off the large view, and no outcome
// of the command at work is applied to it; a list replaced by another folder's leaves the view
// as it was.
void TForm1::followSourceListChanges() {
    connect(CListBox1->model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    command_.left(CListBox1->item(row));
                    forgetPendingSend(CListBox1->item(row));
                    if (sourcePick_.left(CListBox1->item(row))) {
                        shownFile_->watch({});
                        Label1->setText(QString());
                        emptyLargeView();
                    }
                }
            });
    connect(CListBox1->model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        shownFile_->watch({});
        sourcePick_.listReplaced();
        command_.listReplaced();
        pendingSends_.clear();
    });
    // The picked file written, replaced or removed behind the program's back is shown as it is
    // now, so that what a tick or Move acts on is what the user sees. It is read again like a
    // pick, off the window's thread: the file may be on a slow card.
    connect(shownFile_, &FileWatch::changed, this, reportingErrors([this] {
                if (sourcePick_.entry() && sourcePick_.view() != SourcePick::View::Waiting &&
                    pickedRow() == CListBox1->selectedIndex() &&
                    IsKind(extractFileExt(sourcePick_.path()), ViewKinds)) {
                    showSourcePick(PickedBy::Program);
                }
            }));
}

// The picked entry's file took a new name: the caption follows, and a picture still awaited is
// asked for under the new name.
void TForm1::followPickRenamed(const QListWidgetItem* entry, const std::string& name) {
    if (entry != sourcePick_.entry()) {
        return;
    }
    sourcePick_.renamed(joinPath(SourceFolder, name));
    shownFile_->watch(sourcePick_.path());
    Label1->setText(displayText(name));
    if (sourcePick_.view() == SourcePick::View::Waiting) {
        sourcePick_.await(sourceRequest(sourcePick_.path()));
        readAheadAround(pickedRow());
    }
}

// The picked entry's row, -1 when no entry of the list is picked.
int TForm1::pickedRow() const {
    return sourcePick_.entry() ? CListBox1->row(sourcePick_.entry()) : -1;
}

// Reads ahead the pictures the user is likely to pick next (see rowsWantedAround); the pick's
// own picture stays first while it is read and then while it is shown. Switched off, only the
// pick's own is read.
void TForm1::readAheadAround(int picked) {
    const std::vector<int> rows =
        readingAhead_ ? rowsWantedAround(picked, sourceDirection_, ShrinkToFit, CListBox1->count())
                      : std::vector<int>{picked};
    sourceReadAhead_.clear();
    for (const int row : rows) {
        const std::string path = joinPath(SourceFolder, CListBox1->name(row));
        if (row == picked && sourcePick_.awaited()) {
            sourceReadAhead_.push_back(*sourcePick_.awaited());
        } else if (IsKind(extractFileExt(path), ViewKinds)) {
            sourceReadAhead_.push_back(sourceRequest(path));
        }
    }
    updateReadAhead();
}

void TForm1::readAheadForSlideShow(int paneWidth, int paneHeight, ImageControl* image,
                                   const std::string& path) {
    readsFor(image).readAhead(
        pictureRequest(path, paneWidth, paneHeight, ShrinkToFit, image->devicePixelRatioF()));
}

void TForm1::updateReadAhead() {
    readAhead_->want(sourceReadAhead_);
}

// A click on the large picture (or around it) turns the picked entry's tick over. While the
// pick's picture is still on its way the tick goes to that entry, whose name the caption shows,
// without waiting for the picture: it may be on a slow card.
void TForm1::Image2Click() {
    const int picked = pickedRow();
    if (picked >= 0) {
        CListBox1->setChecked(picked, !CListBox1->checked(picked));
    }
}

void TForm1::N7Click() {
    ShrinkToFit = true;
}

void TForm1::N8Click() {
    ShrinkToFit = false;
}

// Covers a stale preview with white.
void TForm1::BlankPreviewImage() {
    Image1->setStretch(false);
    Image1->drawBlankCanvas();
}

// "Next": the following entry of the preview cycle, wrapping to the first.
void TForm1::BitBtn8Click() {
    if (PreviewPaths.empty()) {
        return;
    }
    PreviewIndex = nextPreviewIndex(PreviewIndex);
    showPreviewLater(PreviewPaths[PreviewIndex], true);  // a pick's picture on its way is dropped
    readPreviewAhead();
}

// The picture "Next" will show, read once the one shown has been.
void TForm1::readPreviewAhead() {
    if (PreviewCount > 1 && PreviewIndex < PreviewPaths.count()) {
        readsFor(Image1).readAhead(pictureRequest(PreviewPaths[nextPreviewIndex(PreviewIndex)],
                                                  Panel2->width(), Panel2->height(), ShrinkToFit,
                                                  Image1->devicePixelRatioF()));
    }
}

// The entry of the preview cycle after `index`, wrapping to the first.
int TForm1::nextPreviewIndex(int index) const {
    ++index;
    return index >= PreviewCount || index >= PreviewPaths.count() ? 0 : index;
}

// Shows the picked destination item in the lower preview.
void TForm1::CListBox2Click() {
    const int picked = CListBox2->selectedIndex();
    if (picked < 0) {
        return;
    }
    const std::string name = CListBox2->name(picked);
    const std::string path = joinPath(TargetFolder, name);
    Label2->setText(displayText(name));
    CurrentPicturePath = path;
    if (IsKind(extractFileExt(path), ViewKinds)) {
        showPreviewLater(path, true);  // read off the window's thread: it may be on a card
    }
}

}  // namespace pictaria
