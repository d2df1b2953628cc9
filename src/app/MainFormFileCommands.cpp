// SPDX-License-Identifier: GPL-3.0-or-later
// Copy, move, delete and renaming of the ticked files of the source list.

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include <set>

#include "app/CheckListTickList.h"
#include "app/MainFormUnit1.h"
#include "app/NameQuestion.h"
#include "fileops/AttachText.h"
#include "fileops/BatchCommands.h"
#include "fileops/DeleteBatch.h"
#include "fileops/FileJob.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/Panel.h"
#include "widgets/PointerMoves.h"
#include "widgets/ProgressWindow.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kAttachTextPrompt[] = "追加する文字を、入力してください。";
constexpr char kCopyingLabel[] = "写真をコピーしています…";
constexpr char kMovingLabel[] = "写真を移動しています…";
constexpr char kDeletingLabel[] = "写真を削除しています…";
constexpr char kRenamingLabel[] = "名前を変えています…";
constexpr char kStopCaption[] = "停止";
constexpr char kStoppingLabel[] = "停止しています…\n今の写真が届くか元に戻るまで、お待ちください。";
constexpr int kShowProgressAfterMs = 500;

// The file commands tell nothing themselves: what failed is told here, once per command.
void tellFailures(const std::vector<FileOutcome>& outcomes) {
    if (const auto report = failureReport(outcomes)) {
        showMessage(*report);
    }
}

bool refused(TransferMode mode, const std::string& sourceFolder, const std::string& targetFolder) {
    if (const char* refusal = sameFolderRefusal(mode, sourceFolder, targetFolder)) {
        showMessage(refusal);
        return true;
    }
    return false;
}

bool askDeleteForGood(std::size_t files) {
    return messageSink().confirm(std::to_string(files) + kDeleteForGoodFilesQuestion);
}

}  // namespace

// Leftovers of an ended run that no trash took stay where they are; the user is told of each
// folder holding them once while the program runs, not after every command into it (a copy, a
// move, a folder move, an undo or redo).
void TForm1::tellLeftoversKept(int kept, const std::string& folder) {
    static std::set<std::string> told;
    if (kept > 0 && told.insert(folder).second) {
        showMessage(leftoversKeptMessage(folder));
    }
}

void TForm1::connectFileCommandEvents() {
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(BitBtn11, &QPushButton::clicked, this, &TForm1::BitBtn11Click);
    connect(Delete1, &QAction::triggered, this, &TForm1::Delete1Click);
    onPointerMove(*BitBtn2, [this] { BitBtn2MouseMove(); });
    onPointerMove(*BitBtn3, [this] { BitBtn3MouseMove(); });
    buildSendKeys();
}

void TForm1::BitBtn2Click() {
    startTransfer(TransferMode::Copy);
}

void TForm1::BitBtn3Click() {
    startTransfer(TransferMode::Move);
}

bool TForm1::jobRunning() const {
    return jobAtWork() || drivesBeingChecked_ > 0;
}

bool TForm1::jobAtWork() const {
    return command_.running() || folderMoveProgress_;
}

// The files ticked once the drives answered are the ones copied or moved: they are what the
// list shows when the command starts, and their ticks are locked from then on.
void TForm1::startTransfer(TransferMode mode) {
    const std::string source = SourceFolder;
    const std::string target = TargetFolder;
    if (jobRunning() || refused(mode, source, target) ||
        tickedItems(CheckListTickList(*CListBox1)).empty()) {
        return;
    }
    whenDrivesReady({source, target}, [this, mode, source, target](const std::vector<bool>&) {
        std::vector<BatchItem> items = tickedItems(CheckListTickList(*CListBox1));
        if (source != SourceFolder || !beginCommand(items)) {
            return;
        }
        giveSendKey(target);
        runTransfer(mode, std::move(items), target, {});
    });
}

// Copies or moves the items of the command begun to `target`; `afterJob` follows what every
// transfer does at its end.
void TForm1::runTransfer(TransferMode mode, std::vector<BatchItem> items, const std::string& target,
                         std::function<void()> afterJob) {
    auto batch = std::make_unique<TransferBatch>(mode, SourceFolder, target, std::move(items),
                                                 UniqueNameCounter);
    TransferBatch* transfer = batch.get();  // the job owns it until after the continuation
    const UndoKind kind = mode == TransferMode::Copy ? UndoKind::Copy : UndoKind::Move;
    runJob(std::move(batch), mode == TransferMode::Copy ? kCopyingLabel : kMovingLabel,
           mode == TransferMode::Move ? ListChange::RemoveDone : ListChange::None,
           {SourceFolder, target},
           [this, transfer, kind, source = SourceFolder, target, afterJob](bool) {
               UniqueNameCounter = transfer->uniqueNameCounter();
               remember(stepOfJob(kind, source, target), jobMounts_);
               tellJobFailures();
               tellLeftoversKept(transfer->leftoversKept(), transfer->targetFolder());
               if (afterJob) {
                   afterJob();
               }
           });
}

// Files no trash can take are deleted for good only when the user agrees, asked once after the
// trash has taken what it can; a stopped delete asks nothing.
void TForm1::startDelete(bool wholeList) {
    const auto itemsNow = [this, wholeList] {
        const CheckListTickList list(*CListBox1);
        return wholeList ? listedItems(list) : tickedItems(list);
    };
    if (jobRunning() || itemsNow().empty()) {
        return;
    }
    whenDrivesReady({SourceFolder},
                    [this, itemsNow, wholeList, source = SourceFolder](const std::vector<bool>&) {
                        if (source == SourceFolder) {
                            deleteItems(itemsNow(), wholeList);
                        }
                    });
}

void TForm1::deleteItems(std::vector<BatchItem> items, bool emptyListAfter) {
    if (!beginCommand(items)) {
        return;
    }
    const auto end = [this, emptyListAfter] {
        if (emptyListAfter) {
            CheckListTickList(*CListBox1).clear();
        }
        tellJobFailures();
    };
    // What the trash took can be taken back out; each file is known there by the stamp its
    // outcome brings, and goes back with its tick.
    std::map<int, bool> ticked;
    for (const BatchItem& item : items) {
        ticked[item.entry] = CListBox1->checked(item.entry);
    }
    runJob(
        std::make_unique<DeleteBatch>(DeleteWay::ToTrash, SourceFolder, std::move(items)),
        kDeletingLabel, ListChange::RemoveDone, {SourceFolder},
        [this, end, ticked, source = SourceFolder](bool stopped) {
            const std::map<int, FileOutcome>& outcomes = command_.outcomes();
            UndoStep trashed{UndoKind::Delete, source, {}};
            for (const auto& [entry, outcome] : outcomes) {
                const std::string path = joinPath(source, outcome.name);
                if (outcome.done() && ticked.contains(entry)) {
                    trashed.records.push_back(
                        recordOf(outcome, path, path, entry, ticked.at(entry)));
                }
            }
            remember(std::move(trashed), jobMounts_);
            std::vector<BatchItem> noTrash = itemsNoTrashTook(outcomes);
            if (stopped || noTrash.empty() || !askDeleteForGood(noTrash.size())) {
                end();
                return;
            }
            beginOn(command_.entriesOf(noTrash));
            runJob(
                std::make_unique<DeleteBatch>(DeleteWay::ForGood, SourceFolder, std::move(noTrash)),
                kDeletingLabel, ListChange::RemoveDone, {SourceFolder}, [end](bool) { end(); });
        });
}

// Remembers the list entry of each item, so that each outcome finds its entry whatever left
// the list before it, and locks its tick until its outcome arrives. False when the command
// cannot start: another is at work, or there is nothing to do.
bool TForm1::beginCommand(const std::vector<BatchItem>& items) {
    if (jobAtWork() || items.empty()) {
        return false;
    }
    std::map<int, CommandAtWork::Entry> entries;
    for (const BatchItem& item : items) {
        entries[item.entry] = CListBox1->item(item.entry);
    }
    beginOn(std::move(entries));
    return true;
}

void TForm1::beginOn(std::map<int, CommandAtWork::Entry> entries) {
    for (const auto& [number, entry] : entries) {
        CListBox1->setTickLocked(entry, true);
    }
    command_.begin(std::move(entries));
}

// The batch runs on a worker thread. The list is changed here, on the window's thread, as each
// file's outcome arrives, so that it always shows what is on the disk. `afterJob` runs once the
// job has ended and the commands are enabled again; it is told whether the user stopped it.
void TForm1::runJob(std::unique_ptr<FileBatch> batch, const char* label, ListChange change,
                    std::vector<std::string> folders, CommandAtWork::AfterJob afterJob) {
    const std::string volume = folders.empty() ? std::string() : volumeOf(folders.back());
    auto* job = new FileJob(std::move(batch), *work_, volume, folders, this);
    command_.run(job, QString::fromUtf8(label), change, std::move(folders), std::move(afterJob));
    connect(job, &FileJob::fileHandled, this, &TForm1::applyOutcome);
    connect(job, &FileJob::progressed, this, &TForm1::showJobProgress);
    connect(job, &FileJob::finished, this, &TForm1::endJob);
    setJobCommandsEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QPointer<FileJob> stoppable = job;
    command_.setProgressWindow(stoppableProgressWindow(QString(), [stoppable] {
        if (stoppable) {
            stoppable->stop();
        }
    }));
    job->start();
    updateUndoEntry();
}

// The progress window of a command on another thread: it appears once the command has taken
// half a second, in the lower corner of the destination preview, so that the picture, its name,
// the folder grid and the commands still open during the command stay in sight.
std::unique_ptr<ProgressWindow> TForm1::stoppableProgressWindow(const QString& label,
                                                                std::function<void()> onStop) {
    auto window = std::make_unique<ProgressWindow>(
        this, label, kShowProgressAfterMs, QString::fromUtf8(kStopCaption),
        QString::fromUtf8(kStoppingLabel), std::move(onStop));
    window->placeInCorner(QRect(Panel2->mapToGlobal(QPoint(0, 0)), Panel2->size()));
    return window;
}

void TForm1::applyOutcome(int entry, const FileOutcome& outcome) {
    QListWidgetItem* item = command_.record(entry, outcome);
    const int row = item ? CListBox1->row(item) : -1;
    if (row < 0) {
        return;
    }
    CListBox1->setTickLocked(item, false);
    if (!outcome.done()) {
        return;
    }
    CheckListTickList list(*CListBox1);
    if (command_.listChange() == ListChange::RemoveDone) {
        list.removeAt(row);
    } else if (command_.listChange() == ListChange::RenameDone) {
        list.setName(row, outcome.newName);
        followPickRenamed(item, outcome.newName);
    }
}

void TForm1::showJobProgress(const BatchProgress& progress) {
    ProgressWindow* window = command_.progressWindow();
    window->setLabel(command_.progressText(progress));
    if (progress.bytesTotal > 0) {
        window->report(progress.bytesDone, progress.bytesTotal);
    } else {
        window->report(progress.filesDone, progress.filesTotal);
    }
}

// The entries a stopped job never reached get their ticks back; a destination shown that the
// job changed is listed afresh.
void TForm1::endJob() {
    FileJob* job = command_.job();
    const bool stopped = job && job->stopped();
    jobMounts_ = job ? job->mounts() : FolderMounts{};
    if (job) {
        job->deleteLater();  // not running any more: commands are enabled at once from here on
    }
    for (QListWidgetItem* entry : command_.waiting()) {
        CListBox1->setTickLocked(entry, false);
    }
    const bool destinationChanged = command_.touches(TargetFolder);
    auto afterJob = command_.end();
    QApplication::restoreOverrideCursor();
    setJobCommandsEnabled(true);
    updateUndoEntry();
    if (destinationChanged) {
        listDestinationAfresh();
    }
    if (afterJob) {
        afterJob(stopped);
    }
    if (stopped) {
        dropPendingSends();  // Stop ends what the keys sent after the photograph in hand too
    } else {
        startNextSend();
    }
}

void TForm1::tellJobFailures() {
    std::vector<FileOutcome> outcomes;
    for (const auto& [entry, outcome] : command_.outcomes()) {
        outcomes.push_back(outcome);
    }
    tellFailures(outcomes);
}

// The commands that change the files of the job or the list it works on wait for its end; the
// pictures can still be looked at meanwhile.
void TForm1::setJobCommandsEnabled(bool enabled) {
    if (!enabled) {
        disabledForJob_.clear();
        for (QWidget* button : std::initializer_list<QWidget*>{
                 BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn7, BitBtn10, BitBtn11, BitBtn12}) {
            if (button->isEnabled()) {
                button->setEnabled(false);
                disabledForJob_.push_back(button);
            }
        }
        for (QAction* action : {Delete1, N2, N3, N4, N5}) {
            if (action->isEnabled()) {
                action->setEnabled(false);
                disabledForJob_.push_back(action);
            }
        }
        return;
    }
    for (QObject* control : std::exchange(disabledForJob_, {})) {
        enableCommand(control);
    }
}

// While a job runs, a command that a click would enable (Change and the folder commands, after
// a destination is picked) waits for the job's end: it could clear the list the job reports to,
// or change the folders it works in.
void TForm1::enableCommand(QObject* command) {
    if (jobAtWork()) {
        if (std::find(disabledForJob_.begin(), disabledForJob_.end(), command) ==
            disabledForJob_.end()) {
            disabledForJob_.push_back(command);
        }
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(command)) {
        widget->setEnabled(true);
    } else if (auto* action = qobject_cast<QAction*>(command)) {
        action->setEnabled(true);
    }
}

void TForm1::BitBtn4Click() {
    startDelete(false);
}

void TForm1::BitBtn6Click() {
    CheckListTickList list(*CListBox1);
    clearTicks(list);
}

void TForm1::BitBtn7Click() {
    CheckListTickList list(*CListBox1);
    removeTickedEntries(list);
}

void TForm1::Delete1Click() {
    startDelete(true);
}

void TForm1::BitBtn2MouseMove() {
    BitBtn2->setToolTip(withShortcut(BitBtn2, displayText(copyHint(TargetFolder))));
}

void TForm1::BitBtn3MouseMove() {
    BitBtn3->setToolTip(withShortcut(BitBtn3, displayText(moveHint(TargetFolder))));
}

// Puts a text in front of the names of the ticked files; the destination's name is offered.
// Nothing is done while the destination is not a folder.
void TForm1::BitBtn11Click() {
    const auto text = askName(this, kAttachTextPrompt, extractFileName(TargetFolder));
    if (!text || !isAttachableText(*text) || jobRunning() ||
        tickedItems(CheckListTickList(*CListBox1)).empty()) {
        return;
    }
    const std::string source = SourceFolder;
    whenDrivesReady(
        {source, TargetFolder}, [this, source, text = *text](const std::vector<bool>& folders) {
            std::vector<BatchItem> items = tickedItems(CheckListTickList(*CListBox1));
            if (!folders[1] || source != SourceFolder || !beginCommand(items)) {
                return;
            }
            runJob(std::make_unique<AttachTextBatch>(source, text, std::move(items)),
                   kRenamingLabel, ListChange::RenameDone, {source}, [this, source](bool) {
                       remember(stepOfJob(UndoKind::AttachText, source, source), jobMounts_);
                       tellJobFailures();
                   });
        });
}

}  // namespace pictaria
