// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFormUnit1.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "dialogs/SelectDirFormUnit4.h"
#include "fileops/FileJob.h"
#include "platform/DriveCheck.h"
#include "platform/DriveTable.h"
#include "platform/FileWatch.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "viewer/PaneReads.h"
#include "viewer/PictureDisplay.h"
#include "viewer/PictureLoadError.h"
#include "viewer/PictureReadAhead.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/ImageControl.h"
#include "widgets/Panel.h"
#include "widgets/ProgressWindow.h"
#include "widgets/StringGrid.h"
#include "widgets/Timer.h"
#include "work/WorkQueues.h"

namespace pictaria {

TForm1* Form1 = nullptr;

namespace {

constexpr char kAboutText[] = "ピクタリア  写真を仕分ける道具  Copyright (C) ピクタリアの作者";

bool isListedDriveType(DriveType type) {
    return type == DriveType::Removable || type == DriveType::Fixed;
}

std::string driveRefusal(const DriveState& state) {
    const std::string drive = std::string("ドライブ ") + state.letter + ":";
    switch (state.kind) {
        case DriveState::Kind::Silent:
            return drive + " が応答しません。";
        case DriveState::Kind::Unreachable:
            return drive + " を読めません。\n" + std::strerror(state.error);
        case DriveState::Kind::Replaced:
            return drive + " は取り外されています。";
        case DriveState::Kind::Ready:
            break;
    }
    return {};
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      work_(new WorkQueues(kVolumeAnswerLimit, this)),
      shownFile_(new FileWatch(this)) {
    readAhead_ = std::make_unique<PictureReadAhead>([this](const PictureRequest& request) {
        QMetaObject::invokeMethod(this,
                                  reportingErrors([this, request] { pictureReadAhead(request); }),
                                  Qt::QueuedConnection);
    });
    buildControls();
    connectEvents();
    FormCreate();
}

TForm1::~TForm1() {
    // The controls outlive the window's own members: nothing they tell from here on may reach
    // those members.
    CListBox1->model()->disconnect(this);
    QObject::disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    FormDestroy();
}

void TForm1::connectEvents() {
    connect(CopyRight1, &QAction::triggered, this, &TForm1::CopyRight1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connectViewingEvents();
    connectFolderPageEvents();
    connectFolderCommandEvents();
    connectFileCommandEvents();
    connectAidEvents();
    connectUndoEvents();
}

void TForm1::FormCreate() {
    FolderEntries.clear();
    PageGrids.clear();
    PreviewPaths.clear();
    scanDrives();
    Timer1->setInterval(0);
    TargetFolder = "C:\\";  // spelt as the drive grid lists it, wherever it is shown
}

// Every removable and fixed drive from A: to Z:, one root per row of the drive grid.
void TForm1::scanDrives() {
    const auto drives = activeDriveTable();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if (isListedDriveType(drives->typeOf(root))) {
            FolderEntries.add(root);
        }
    }
    StringGrid1->setRowCount(FolderEntries.count());
    for (int row = 0; row < FolderEntries.count(); ++row) {
        StringGrid1->setCells(0, row, FolderEntries[row]);
    }
    StringGrid1->markFirstCell();
}

void TForm1::showNewDrives() {
    FolderEntries.clear();
    scanDrives();
}

bool TForm1::drivesReady(std::initializer_list<std::string_view> paths) {
    for (std::string_view path : paths) {
        if (!tellUnlessReady(driveStateOf(path))) {
            return false;
        }
    }
    return true;
}

// The check runs on a worker: a drive whose root hangs is told Silent after the volume limit,
// and a folder asked of a volume that hangs after that is told Silent too, once twice the limit
// passed. Until the answer, a command counts as at work, so that no other starts.
void TForm1::whenDrivesReady(std::vector<std::string> paths,
                             std::function<void(const std::vector<bool>& folders)> then,
                             std::function<void()> otherwise) {
    struct Checked {
        std::vector<DriveState> drives;
        std::vector<bool> folders;
    };
    const std::string key = "drive check " + std::to_string(++driveChecks_);
    auto asking = std::make_shared<std::atomic<std::size_t>>(0);
    const auto refused = [otherwise] {
        if (otherwise) {
            otherwise();
        }
    };
    ++drivesBeingChecked_;
    updateUndoEntry();
    work_->run<Checked>(
        key, {},
        [paths, asking](const JobContext&) {
            Checked checked;
            for (const std::string& path : paths) {
                checked.drives.push_back(driveStateOf(path));
                if (checked.drives.back().kind != DriveState::Kind::Ready) {
                    return checked;
                }
            }
            for (const std::string& path : paths) {
                checked.folders.push_back(!path.empty() && directoryExists(path));
                ++*asking;
            }
            return checked;
        },
        [this, then, refused, count = paths.size()](Checked& checked) {
            --drivesBeingChecked_;
            updateUndoEntry();
            for (const DriveState& state : checked.drives) {
                if (!tellUnlessReady(state)) {
                    refused();
                    return;
                }
            }
            if (checked.folders.size() == count) {
                then(checked.folders);
            } else {
                refused();
            }
        });
    QTimer::singleShot(2 * kVolumeAnswerLimit, this, [this, key, paths, asking, refused] {
        if (work_->pending(key)) {
            work_->cancel(key);
            --drivesBeingChecked_;
            updateUndoEntry();
            tellDriveSilent(paths[std::min(asking->load(), paths.size() - 1)]);
            refused();
        }
    });
}

bool TForm1::tellUnlessReady(const DriveState& state) {
    if (state.kind == DriveState::Kind::Ready) {
        return true;
    }
    showMessage(driveRefusal(state));
    return false;
}

void TForm1::tellDriveSilent(const std::string& folder) {
    if (const std::optional<char> letter = driveLetterOf(folder)) {
        tellUnlessReady({DriveState::Kind::Silent, *letter, 0});
    }
}

void TForm1::FormDestroy() {
    PreviewPaths.clear();
    FolderEntries.clear();
    PageGrids.clear();
}

// The pictures are fitted to the new panes; one that failed to load is not tried again, so a
// resize never repeats its error (it is told once per pick).
void TForm1::FormResize() {
    const int picked = CListBox1->selectedIndex();
    if (picked < 0 || !failedToLoad(Image2, joinPath(SourceFolder, CListBox1->name(picked)))) {
        showSourcePick(PickedBy::Program);
    }
    if (PreviewIndex >= 0 && PreviewIndex < PreviewPaths.count() &&
        !failedToLoad(Image1, PreviewPaths[PreviewIndex])) {
        showPreviewLater(PreviewPaths[PreviewIndex], true);
    }
}

void TForm1::FormActivate() {}

void TForm1::CopyRight1Click() {
    showMessage(kAboutText);
}

void TForm1::BitBtn1Click() {}

void TForm1::ShowPicture(int paneWidth, int paneHeight, ImageControl* image,
                         const std::string& path, std::function<void()> shown) {
    showInPane(paneWidth, paneHeight, image, path, true, std::move(shown));
}

// A picture that fails to load is remembered as such, so that a resize does not tell its error
// again; it is told only when `tellFailure`. A volume that hangs is told by its listing.
void TForm1::showInPane(int paneWidth, int paneHeight, ImageControl* image, const std::string& path,
                        bool tellFailure, std::function<void()> shown) {
    const PictureRequest request =
        pictureRequest(path, paneWidth, paneHeight, ShrinkToFit, image->devicePixelRatioF());
    const QPointer<ImageControl> to = image;
    const auto tellShown = [shown = std::move(shown)] {
        if (shown) {
            shown();
        }
    };
    readsFor(image).show(
        request,
        [this, request, to, tellFailure, tellShown](const PreparedPicture& prepared) {
            if (to) {
                reportingErrors([&] {
                    try {
                        presentPicture(prepared, request, *to);
                        unloadable_.erase(to);
                    } catch (const PictureLoadError&) {
                        unloadable_[to] = request.path;
                        if (tellFailure) {
                            throw;
                        }
                    } catch (...) {
                        if (tellFailure) {
                            throw;
                        }
                    }
                })();
            }
            tellShown();
        },
        tellShown);
}

PaneReads& TForm1::readsFor(ImageControl* image) {
    std::unique_ptr<PaneReads>& reads = paneReads_[image];
    if (!reads) {
        reads = std::make_unique<PaneReads>(*work_, "pane " + image->objectName().toStdString() +
                                                        " " + std::to_string(paneReads_.size()));
    }
    return *reads;
}

bool TForm1::failedToLoad(const ImageControl* image, const std::string& path) const {
    const auto failed = unloadable_.find(image);
    return failed != unloadable_.end() && failed->second == path;
}

TSelectDirForm* TForm1::newFolderDialog() {
    delete folderDialog_;  // one dialog at a time: each holds a whole folder listing
    folderDialog_ = new TSelectDirForm(this);
    SelectDirForm = folderDialog_;
    return folderDialog_;
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    reportingErrors([this] { FormResize(); })();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    }
}

}  // namespace pictaria
