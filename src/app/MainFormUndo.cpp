// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo: every file and folder command that changed something is remembered as a step;
// "元に戻す" (Ctrl+Z) takes the last one back and Ctrl+Shift+Z does it again, each as a job like
// the command itself. A new command ends what can be done again.

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>

#include "app/MainFormUnit1.h"
#include "fileops/UndoBatch.h"
#include "navigator/FolderCommands.h"
#include "navigator/FolderPage.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/StatusBar.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kUndoingLabel[] = "元に戻しています…";
constexpr char kRedoingLabel[] = "やり直しています…";
constexpr char kNothingToUndoHint[] = "元に戻す操作はありません";
constexpr char kBackUnderNewNamesMessage[] = "元の名前は使われていたので、次の名前にしました。";
constexpr char kVolumeReplacedMessage[] = ": は、この操作の後に取り外されたので、元に戻せません。";
constexpr char kWaitForJobMessage[] = "ほかの操作が終わってから、もう一度お試しください。";

// Whether the entries of the step's files are in the source list as the list shows them.
bool changesTheList(const UndoStep& step, const std::string& sourceFolder) {
    return step.sourceFolder == sourceFolder &&
           (step.kind == UndoKind::Move || step.kind == UndoKind::Delete ||
            step.kind == UndoKind::AttachText);
}

}  // namespace

void TForm1::connectUndoEvents() {
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QAction* action : {Undo1, Redo1}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);  // the keys work without the menu open
    }
    PopupMenu2->setToolTipsVisible(true);
    connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);
    updateUndoEntry();
}

// A new command: it can be taken back, and what was taken back before can no longer be done
// again (the files it would act on may be the new command's).
void TForm1::remember(UndoStep step, const FolderMounts& known) {
    noteMounts(step, known);
    history_.remember(std::move(step));
    updateUndoEntry();
}

// The entries stay enabled while a job runs, so that their keys can tell why they wait.
void TForm1::updateUndoEntry() {
    const UndoStep* undo = history_.next(UndoHistory::Way::Undo);
    const UndoStep* redo = history_.next(UndoHistory::Way::Redo);
    Undo1->setToolTip(QString::fromUtf8(undo ? undoHint(*undo) : kNothingToUndoHint));
    Undo1->setStatusTip(Undo1->toolTip());
    Redo1->setToolTip(QString::fromUtf8(redo ? undoHint(*redo) : std::string()));
    // While a command runs the keys stay on, so that they can tell the user to wait.
    Undo1->setEnabled(undo != nullptr || jobRunning());
    Redo1->setEnabled(redo != nullptr || jobRunning());
}

// The files a finished job changed, each with its stamp now: the copies or moved files in
// `target`, or the renamed files in `source`.
UndoStep TForm1::stepOfJob(UndoKind kind, const std::string& source,
                           const std::string& target) const {
    UndoStep step{kind, source, {}};
    for (const auto& [entry, outcome] : command_.outcomes()) {
        if (!outcome.done()) {
            continue;
        }
        step.records.push_back(recordOf(outcome, joinPath(target, outcome.finalName()),
                                        joinPath(source, outcome.name), entry, true));
    }
    return step;
}

void TForm1::Undo1Click() {
    runHistoryStep(UndoHistory::Way::Undo);
}

void TForm1::Redo1Click() {
    runHistoryStep(UndoHistory::Way::Redo);
}

// The drives a step reads or writes: it is refused while one is missing or silent.
std::vector<std::string> TForm1::drivesOf(const UndoStep& step) {
    const UndoRecord& first = step.records.front();
    const bool readsBefore = operationOf(step) == UndoOperation::PutBack;
    return {first.now, readsBefore ? first.before : std::string()};
}

// The volume the step would put things back on was taken out since (another card of the same
// name may be in its place): the step can never run, and is dropped so that the older ones
// can.
bool TForm1::droppedForAnotherVolume(UndoHistory::Way way) {
    const auto folder = folderOnAnotherMount(*history_.next(way));
    if (!folder) {
        return false;
    }
    history_.take(way);
    updateUndoEntry();
    showMessage(std::string("ドライブ ") + folder->front() + kVolumeReplacedMessage);
    return true;
}

// Runs the next step of `way` as a job; what it did can then be reversed the other way, and
// what a stop left undone stays to be run again. While another job runs, the status bar tells
// the user to wait for it, whether or not there is a step to take back.
void TForm1::runHistoryStep(UndoHistory::Way way) {
    const UndoStep* next = history_.next(way);
    if (jobRunning()) {
        StatusBar1->setSimpleText(kWaitForJobMessage);
        return;
    }
    if (!next) {
        return;
    }
    whenDrivesReady(drivesOf(*next), [this, way](const std::vector<bool>&) {
        if (!jobAtWork() && history_.next(way) && !droppedForAnotherVolume(way)) {
            runTakenStep(way);
        }
    });
}

void TForm1::runTakenStep(UndoHistory::Way way) {
    UndoStep step = history_.take(way);
    const ListChange change = listChangeOf(step);
    auto batch = std::make_unique<UndoBatch>(std::move(step), UniqueNameCounter);
    UndoBatch* run = batch.get();  // the job owns it until after the continuation
    const char* label = run->step().redo ? kRedoingLabel : kUndoingLabel;
    // The destination is listed afresh once the step's folders were followed.
    runJob(std::move(batch), label, change, {}, [this, run, way](bool) {
        UniqueNameCounter = run->uniqueNameCounter();
        const UndoStep& done = run->step();
        const std::map<int, FileOutcome>& outcomes = command_.outcomes();
        putEntriesBack(done, outcomes);
        followFoldersBack(done, outcomes);
        UndoStep rest = done;
        rest.records.clear();
        for (const auto& [index, outcome] : outcomes) {
            if (outcome.result == FileResult::Skipped) {
                rest.records.push_back(done.records[static_cast<std::size_t>(index)]);
            }
        }
        UndoStep reversed = run->reversed(outcomes);
        noteMounts(reversed);
        history_.ran(way, std::move(rest), std::move(reversed));
        updateUndoEntry();
        refreshFolderPages();
        listDestinationAfresh();
        tellUndoOutcome(done, outcomes);
        if (const auto receiving = receivingFolder(done)) {
            tellLeftoversKept(run->leftoversKept(), receiving->path);
        }
    });
}

// Entries in the list follow their files as each outcome arrives, found by the name they have
// now: a redo takes the entries of moved or deleted files off the list again, and attach-text
// taken back or done again renames them in place. (Entries that come back are put in by
// putEntriesBack.)
TForm1::ListChange TForm1::listChangeOf(const UndoStep& step) {
    std::map<int, CommandAtWork::Entry> entries;
    const bool renames = step.kind == UndoKind::AttachText;
    if (!changesTheList(step, SourceFolder) || (!step.redo && !renames)) {
        beginOn(std::move(entries));
        return ListChange::None;
    }
    std::vector<bool> taken(static_cast<std::size_t>(CListBox1->count()), false);
    for (std::size_t index = 0; index < step.records.size(); ++index) {
        const std::string name = extractFileName(step.records[index].now);
        for (int row = 0; row < CListBox1->count(); ++row) {
            if (!taken[static_cast<std::size_t>(row)] && CListBox1->name(row) == name) {
                taken[static_cast<std::size_t>(row)] = true;
                entries[static_cast<int>(index)] = CListBox1->item(row);
                break;
            }
        }
    }
    beginOn(std::move(entries));
    return renames ? ListChange::RenameDone : ListChange::RemoveDone;
}

// Files that an undo brought back to the source folder shown in the list take their former
// places there, with their former ticks.
void TForm1::putEntriesBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes) {
    if (step.redo || step.kind == UndoKind::AttachText || !changesTheList(step, SourceFolder)) {
        return;
    }
    std::vector<std::pair<const UndoRecord*, std::string>> back;
    for (const auto& [index, outcome] : outcomes) {
        if (outcome.done()) {
            back.emplace_back(&step.records[static_cast<std::size_t>(index)], outcome.newName);
        }
    }
    std::sort(back.begin(), back.end(),
              [](const auto& a, const auto& b) { return a.first->entry < b.first->entry; });
    for (const auto& [record, name] : back) {
        const int row = std::clamp(record->entry, 0, CListBox1->count());
        CListBox1->insertName(row, name);
        CListBox1->setChecked(row, record->ticked);
    }
}

// Open pages, the source and the destination inside a folder that was renamed or moved back
// (or again) follow it; the pages of a folder that went close.
void TForm1::followFoldersBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes) {
    if (!step.isFolderCommand() || outcomes.empty() || !outcomes.begin()->second.done()) {
        return;
    }
    const UndoRecord& record = step.records.front();
    const UndoOperation operation = operationOf(step);
    if (operation == UndoOperation::RemoveFolder || operation == UndoOperation::ToTrash) {
        closePagesInside(record.now);
        return;
    }
    if (operation != UndoOperation::PutBack) {
        return;
    }
    const std::string placed =
        joinPath(extractFileDir(record.before), outcomes.begin()->second.newName);
    for (FolderPage* open : folderPages()) {
        open->setPath(renamedPath(open->path(), record.now, placed));
    }
    SourceFolder = renamedPath(SourceFolder, record.now, placed);
    TargetFolder = renamedPath(TargetFolder, record.now, placed);
}

// One message when anything could not be taken back or came back under another name.
void TForm1::tellUndoOutcome(const UndoStep& step, const std::map<int, FileOutcome>& outcomes) {
    std::vector<FileOutcome> all;
    std::string renamed;
    for (const auto& [index, outcome] : outcomes) {
        all.push_back(outcome);
        if (outcome.result == FileResult::DoneUnderNewName) {
            const UndoRecord& record = step.records[static_cast<std::size_t>(index)];
            renamed += '\n';
            renamed += extractFileName(operationOf(step) == UndoOperation::PutBack ? record.before
                                                                                   : record.now);
            renamed += " → ";
            renamed += outcome.newName;
        }
    }
    std::string message = failureReport(all).value_or("");
    if (!renamed.empty()) {
        message += message.empty() ? "" : "\n\n";
        message += kBackUnderNewNamesMessage;
        message += renamed;
    }
    if (!message.empty()) {
        showMessage(message);
    }
}

}  // namespace pictaria
