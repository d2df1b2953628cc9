// SPDX-License-Identifier: GPL-3.0-or-later
// New, delete, rename and move of folders from the page grids' menu. Each command works on the
// page in front and on the destination chosen last on a grid (TargetFolder).

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QPushButton>

#include "app/MainFormUnit1.h"
#include "app/NameQuestion.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "navigator/FolderCommands.h"
#include "navigator/FolderGrid.h"
#include "navigator/FolderPage.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/ModalDialog.h"
#include "widgets/ProgressWindow.h"
#include "widgets/StatusBar.h"
#include "work/WorkQueues.h"

namespace pictaria {

namespace {

constexpr char kNewFolderPrompt[] = "フォルダ名を、入力してください";
constexpr char kNewFolderStartText[] = "new";
constexpr char kDeleteFolderPrompt[] = "以下の、フォルダを、全て削除します。";
constexpr char kRenameFolderPrompt[] = "新しいフォルダ名を、入力してください。";
constexpr char kDeletedStatus[] = "は、削除されました。";
constexpr char kMovingLabel[] = "フォルダを移動しています…";
constexpr char kFolderMove[] = "folder move";

// The folder commands tell nothing themselves; what they report is told here.
bool toldOf(const FolderOutcome& outcome) {
    if (!outcome.message.empty()) {
        showMessage(outcome.message);
    }
    return outcome.ok();
}

bool askUser(const std::string& question) {
    return messageSink().confirm(question);
}

}  // namespace

void TForm1::connectFolderCommandEvents() {
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(N4, &QAction::triggered, this, &TForm1::N4Click);
    connect(N5, &QAction::triggered, this, &TForm1::N5Click);
}

// A new subfolder of the page in front becomes the (empty) destination and joins the grid.
void TForm1::N2Click() {
    FolderPage* page = frontFolderPage();
    const auto name = askName(this, kNewFolderPrompt, kNewFolderStartText);
    if (!name || !page || page->path().empty()) {
        return;
    }
    if (name->empty()) {
        showMessage(kEnterNewFolderNameMessage);
        return;
    }
    const QPointer<FolderPage> in = page;
    whenDrivesReady({page->path()}, [this, in, name = *name](const std::vector<bool>&) {
        if (in) {
            newFolderIn(*in, name);
        }
    });
}

void TForm1::newFolderIn(FolderPage& page, const std::string& name) {
    std::string created;
    if (!createFolderIn(page.path(), name, created)) {
        return;
    }
    remember({UndoKind::NewFolder, SourceFolder, {undoRecord(created, "")}});
    TargetFolder = created;
    PreviewCount = 0;
    CListBox2->clear();
    StatusBar1->setSimpleText(destinationStatus(TargetFolder, PreviewCount));
    BlankPreviewImage();
    PreviewPaths.clear();
    putIntoFirstEmptyCell(*page.grid(), name);
}

// The destination goes to the trash; the page in front is listed afresh.
void TForm1::N3Click() {
    FolderPage* page = frontFolderPage();
    const auto confirmed = askName(this, kDeleteFolderPrompt, TargetFolder);
    if (!confirmed || !page) {
        return;
    }
    whenFolderReady(TargetFolder, page, [this](FolderPage& in) { deleteTargetFolder(in); });
}

// Runs `then` with the page once the folder's drive answered and the folder is there, if the
// page is still open and the folder is still the destination; nothing otherwise.
void TForm1::whenFolderReady(const std::string& folder, FolderPage* page,
                             std::function<void(FolderPage&)> then) {
    const QPointer<FolderPage> in = page;
    whenDrivesReady({folder}, [this, folder, in, then](const std::vector<bool>& folders) {
        if (folders[0] && in && folder == TargetFolder) {
            then(*in);
        }
    });
}

void TForm1::deleteTargetFolder(FolderPage& page) {
    const std::string deleted = TargetFolder;
    const UndoRecord trashed = undoRecord(deleted, deleted);  // as the trash will hold it
    const FolderOutcome outcome = deleteChosenFolder(deleted, page.path(), askUser);
    if (!toldOf(outcome)) {
        return;
    }
    if (outcome.inTrash) {
        remember({UndoKind::DeleteFolder, SourceFolder, {trashed}});
    }
    closePagesInside(deleted);
    BlankPreviewImage();
    StatusBar1->setSimpleText(deleted + kDeletedStatus);
    TargetFolder = currentDir();
    StringGrid1DblClick();
    PreviewPaths.clear();
    N3->setEnabled(false);
    BitBtn10->setEnabled(false);
    if (isInsideFolder(SourceFolder, deleted)) {
        CListBox1->clear();  // its files went with the folder
    }
}

// The destination takes a new name in the folder of the page in front; open pages inside it and
// the source folder follow the new name.
void TForm1::N4Click() {
    FolderPage* page = frontFolderPage();
    const auto name = askName(this, kRenameFolderPrompt, extractFileName(TargetFolder));
    if (!name || !page) {
        return;
    }
    whenFolderReady(TargetFolder, page,
                    [this, name = *name](FolderPage& in) { renameTargetFolder(in, name); });
}

void TForm1::renameTargetFolder(FolderPage& page, const std::string& name) {
    if (name.empty()) {
        showMessage(kEnterRenamedFolderNameMessage);
        return;
    }
    const std::string oldPath = TargetFolder;
    std::string newPath;
    if (!renameFolder(oldPath, page.path(), name, newPath)) {
        return;
    }
    remember({UndoKind::RenameFolder, SourceFolder, {undoRecord(newPath, oldPath)}});
    for (FolderPage* open : folderPages()) {
        open->setPath(renamedPath(open->path(), oldPath, newPath));
    }
    SourceFolder = renamedPath(SourceFolder, oldPath, newPath);  // the listed files went along
    TargetFolder = currentDir();
    StringGrid1DblClick();
    PreviewPaths.clear();
    N3->setEnabled(false);
    N4->setEnabled(false);
    BitBtn10->setEnabled(false);
}

// The destination moves into a folder chosen in the folder selection dialog, whose page then
// opens. The move runs as a command of the work layer, with the progress window and Stop of a
// file command: the window goes on meanwhile, whatever the volumes do.
void TForm1::N5Click() {
    newFolderDialog();
    if (showModal(*SelectDirForm) != kModalOk) {
        showMessage(kChooseMoveDestinationMessage);
        return;
    }
    const FolderPage* page = frontFolderPage();
    if (page && page->path() == TargetFolder) {
        return;
    }
    const std::string destination = SelectDirForm->chosenFolder();
    const std::string moving = TargetFolder;
    if (jobRunning()) {
        return;
    }
    whenDrivesReady({moving, destination}, [this, moving, destination](const std::vector<bool>&) {
        if (!jobAtWork()) {
            moveFolderInto(moving, destination);
        }
    });
}

void TForm1::moveFolderInto(const std::string& moving, const std::string& destination) {
    struct Moved {
        FolderOutcome outcome;
        std::string movedTo;
    };
    beginFolderMove();
    work_->runCommand<Moved>(
        kFolderMove, volumeOf(destination),
        [this, moving, destination](const JobContext& job) {
            Moved moved;
            const auto reporting = [this, &job](const auto& move) {
                return move([this, &job](std::int64_t done, std::int64_t total) {
                    noteVolumeAnswered();
                    job.report([this, done, total] {
                        if (folderMoveProgress_) {
                            folderMoveProgress_->report(done, total);
                        }
                    });
                    return !job.cancelled();
                });
            };
            moved.outcome = moveChosenFolder(moving, destination, moved.movedTo, reporting);
            return moved;
        },
        [this, moving, destination](Moved& moved) {
            endFolderMove();
            folderMoved(moving, destination, moved.outcome, moved.movedTo);
        });
}

void TForm1::beginFolderMove() {
    setJobCommandsEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    folderMoveProgress_ = stoppableProgressWindow(QString::fromUtf8(kMovingLabel),
                                                  [this] { work_->stop(kFolderMove); });
    updateUndoEntry();
}

// The progress window goes before anything is told.
void TForm1::endFolderMove() {
    folderMoveProgress_.reset();
    QApplication::restoreOverrideCursor();
    setJobCommandsEnabled(true);
    updateUndoEntry();
}

void TForm1::folderMoved(const std::string& moving, const std::string& destination,
                         const FolderOutcome& outcome, const std::string& movedTo) {
    const bool moved = toldOf(outcome);
    tellLeftoversKept(outcome.leftoversKept, destination);
    refreshFolderPages();
    if (!moved) {
        return;
    }
    remember({UndoKind::MoveFolder, SourceFolder, {undoRecord(movedTo, moving)}});
    for (FolderPage* open : folderPages()) {
        open->setPath(renamedPath(open->path(), moving, movedTo));
    }
    SourceFolder = renamedPath(SourceFolder, moving, movedTo);  // the listed files went along
    setCurrentDir(destination);
    TargetFolder = destination;
    StringGrid1DblClick();
    PreviewPaths.clear();
    N3->setEnabled(false);
    N4->setEnabled(false);
    BitBtn10->setEnabled(false);
}

}  // namespace pictaria
