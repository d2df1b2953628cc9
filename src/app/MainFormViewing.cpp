// SPDX-License-Identifier: GPL-3.0-or-later
// The source list, the large view and the destination preview.

#include <QAction>
#include <QPushButton>

#include <functional>
#include <utility>
#include "widgets/ElidedLabel.h"

#include "app/MainFormUnit1.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "viewer/DestinationScan.h"
#include "viewer/PictureKinds.h"
#include "viewer/PictureReadAhead.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/ImageControl.h"
#include "widgets/ModalDialog.h"
#include "widgets/Panel.h"
#include "widgets/TextBytes.h"

namespace pictaria {

void TForm1::connectViewingEvents() {
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(CListBox1, &CheckListBox::clicked, this, reportingErrors([this] { CListBox1Click(); }));
    // A key move never waits for a picture that is still to be loaded: it is shown when it is
    // ready, unless another move came first (a held key loads only where it stops).
    connect(CListBox1, &CheckListBox::keyPicked, this,
            reportingErrors([this] { showSourcePick(PickWait::Never); }));
    connect(Image2, &ImageControl::clicked, this, &TForm1::Image2Click);
    connect(Panel4, &Panel::clicked, this, &TForm1::Image2Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(N8, &QAction::triggered, this, &TForm1::N8Click);
    // Showing a picture can fail with an error the user is told about.
    connect(BitBtn8, &QPushButton::clicked, this, reportingErrors([this] { BitBtn8Click(); }));
    connect(CListBox2, &CheckListBox::clicked, this, reportingErrors([this] { CListBox2Click(); }));
    connect(CListBox2, &CheckListBox::keyPicked, this,
            [this] { showLatestPick(previewPickPending_, [this] { CListBox2Click(); }); });
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
        CListBox1->clear();
        SourceFolder = SelectDirForm->chosenFolder();
        CListBox1->addNames(SelectDirForm->fileNames());
    } catch (...) {
        // Nothing is reported; what was filled stays.
    }
}

// Shows the picked source item: its name under the view, its picture fitted to the view and
// the picture's size as the view's hint.
void TForm1::CListBox1Click() {
    showSourcePick(PickWait::UntilShown);
}

// With PickWait::Never, a picture that is not read ahead yet is left to the read-ahead, first
// in line; pictureReadAhead shows it when it is ready.
void TForm1::showSourcePick(PickWait wait) {
    pendingPick_.reset();
    const int picked = CListBox1->selectedIndex();
    if (picked < 0) {
        return;
    }
    const std::string name = CListBox1->name(picked);
    Label1->setText(displayText(name));
    CurrentPicturePath = joinPath(SourceFolder, name);
    if (!IsKind(extractFileExt(CurrentPicturePath), ViewKinds)) {
        return;
    }
    const PictureRequest request =
        pictureRequest(CurrentPicturePath, Panel4->width(), Panel4->height(), ShrinkToFit,
                       Image2->devicePixelRatioF());
    if (wait == PickWait::Never && !readAhead_->takeIfReady(request)) {
        pendingPick_ = request;
    } else {
        showSourcePicture();
    }
    readAheadAround(picked);
}

void TForm1::showSourcePicture() {
    const std::string size =
        ShowPicture(Panel4->width(), Panel4->height(), Image2, CurrentPicturePath);
    Image2->setToolTip(displayText(size));
}

// The read-ahead has a picture ready (on its thread; this runs queued on the window's).
void TForm1::pictureReadAhead(const PictureRequest& request) {
    if (pendingPick_ && *pendingPick_ == request) {
        pendingPick_.reset();
        showSourcePicture();
    }
}

// Reads ahead the pictures the user is likely to pick next: the following ones in the
// direction of the last move and the one behind; at actual size (large pictures) only the
// next one.
void TForm1::readAheadAround(int picked) {
    const int step = picked < lastSourcePick_ ? -1 : 1;
    lastSourcePick_ = picked;
    std::vector<int> around{picked + step};
    if (ShrinkToFit) {
        around.insert(around.end(), {picked + 2 * step, picked - step});
    }
    sourceReadAhead_.clear();
    if (pendingPick_) {
        sourceReadAhead_.push_back(*pendingPick_);
    }
    for (const int index : around) {
        if (index < 0 || index >= CListBox1->count()) {
            continue;
        }
        const std::string path = joinPath(SourceFolder, CListBox1->name(index));
        if (IsKind(extractFileExt(path), ViewKinds)) {
            sourceReadAhead_.push_back(pictureRequest(path, Panel4->width(), Panel4->height(),
                                                      ShrinkToFit, Image2->devicePixelRatioF()));
        }
    }
    updateReadAhead();
}

void TForm1::readAheadForSlideShow(int paneWidth, int paneHeight, double devicePixelRatio,
                                   const std::string& path) {
    slideReadAhead_ = {pictureRequest(path, paneWidth, paneHeight, ShrinkToFit, devicePixelRatio)};
    updateReadAhead();
}

void TForm1::updateReadAhead() {
    std::vector<PictureRequest> wanted = sourceReadAhead_;
    wanted.insert(wanted.end(), previewReadAhead_.begin(), previewReadAhead_.end());
    wanted.insert(wanted.end(), slideReadAhead_.begin(), slideReadAhead_.end());
    readAhead_->want(std::move(wanted));
}

// A click on the large picture (or around it) turns the current item's tick over.
// A click while the picked picture is still loading waits for it: the tick goes to the picture
// the user then sees.
void TForm1::Image2Click() {
    if (pendingPick_) {
        pendingPick_.reset();
        reportingErrors([this] { showSourcePicture(); })();
    }
    const int current = CListBox1->itemIndex();
    if (current >= 0) {
        CListBox1->setChecked(current, !CListBox1->checked(current));
    }
}

void TForm1::N7Click() {
    ShrinkToFit = true;
}

void TForm1::N8Click() {
    ShrinkToFit = false;
}

// Lists the destination folder into the lower list and the preview cycle and shows its first
// previewable picture, or a blank preview. Any failure ends the scan silently.
void TForm1::ScanTargetFolder() {
    try {
        PreviewIndex = 0;
        PreviewPaths.clear();
        setCurrentDir(TargetFolder);
        const DestinationListing listing = scanDestination(TargetFolder, SharedSearch);
        CListBox2->addNames(listing.listNames);
        for (const std::string& path : listing.previewPaths) {
            PreviewPaths.add(path);
        }
        PreviewCount = PreviewPaths.count();
        if (const auto first = firstPreviewIndex(listing.previewPaths)) {
            ShowPicture(Panel2->width(), Panel2->height(), Image1, listing.previewPaths[*first]);
        } else {
            BlankPreviewImage();
        }
    } catch (...) {
        // What was listed so far stays.
    }
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
    ShowPicture(Panel2->width(), Panel2->height(), Image1, PreviewPaths[PreviewIndex]);
    previewReadAhead_ = {pictureRequest(PreviewPaths[nextPreviewIndex(PreviewIndex)],
                                        Panel2->width(), Panel2->height(), ShrinkToFit,
                                        Image1->devicePixelRatioF())};
    updateReadAhead();
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
    Label2->setText(displayText(name));
    CurrentPicturePath = joinPath(TargetFolder, name);
    if (IsKind(extractFileExt(CurrentPicturePath), ViewKinds)) {
        ShowPicture(Panel2->width(), Panel2->height(), Image1, CurrentPicturePath);
    }
}

}  // namespace pictaria
