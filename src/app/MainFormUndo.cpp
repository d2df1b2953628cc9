// SPDX-License-Identifier: GPL-3.0-or-later
// Undo: every file and folder command that changed something is remembered as a step, and
// "元に戻す" (Ctrl+Z) takes the last one back as a job, like the command it reverses.

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
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kUndoingLabel[] = "元に戻しています…";
constexpr char kNothingToUndoHint[] = "元に戻す操作はありません";
constexpr char kBackUnderNewNamesMessage[] =
    "元の名前は使われていたので、次の名前で戻しました。";

std::string finalName(const FileOutcome& outcome) {
    return outcome.newName.empty() ? outcome.name : outcome.newName;
}

// The name a file or folder has where the undo put it.
std::string nameAfterUndo(const UndoRecord& record, const FileOutcome& outcome) {
    if (outcome.result == FileResult::DoneUnderNewName) {
        return outcome.newName;
    }
    return extractFileName(record.before);
}

}  // namespace

void TForm1::connectUndoEvents() {
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Undo1->setShortcutContext(Qt::WindowShortcut);
    addAction(Undo1);  // the key works without the menu open
    PopupMenu2->setToolTipsVisible(true);
    connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
    updateUndoEntry();
}

void TForm1::remember(UndoStep step) {
    if (!step.records.empty()) {
        undoSteps_.push_back(std::move(step));
    }
    updateUndoEntry();
}

void TForm1::updateUndoEntry() {
    const bool any = !undoSteps_.empty();
    Undo1->setToolTip(QString::fromUtf8(any ? undoHint(undoSteps_.back()) : kNothingToUndoHint));
    Undo1->setStatusTip(Undo1->toolTip());
    if (!any) {
        Undo1->setEnabled(false);
    } else {
        enableCommand(Undo1);
    }
}

// The files a finished job changed, each with its stamp now: the copies or moved files in
// `target`, or the renamed files in `source`.
UndoStep TForm1::stepOfJob(UndoKind kind, const std::string& source,
                           const std::string& target) const {
    UndoStep step{kind, source, {}};
    for (const auto& [entry, outcome] : jobOutcomes_) {
        if (!outcome.done()) {
            continue;
        }
        const std::string now = joinPath(target, finalName(outcome));
        step.records.push_back(undoRecord(now, joinPath(source, outcome.name), entry, true));
    }
    return step;
}

void TForm1::Undo1Click() {
    if (jobRunning() || undoSteps_.empty()) {
        return;
    }
    const UndoRecord& first = undoSteps_.back().records.front();
    if (!drivesReady({first.now, first.before})) {
        return;
    }
    UndoStep step = std::move(undoSteps_.back());
    undoSteps_.pop_back();
    jobEntries_.clear();
    jobOutcomes_.clear();
    auto batch = std::make_unique<UndoBatch>(std::move(step), UniqueNameCounter);
    UndoBatch* undo = batch.get();  // the job owns it until after the continuation
    runJob(std::move(batch), kUndoingLabel, ListChange::None, [this, undo](bool) {
        UniqueNameCounter = undo->uniqueNameCounter();
        const UndoStep& done = undo->step();
        putEntriesBack(done, jobOutcomes_);
        followFoldersBack(done, jobOutcomes_);
        // What a stop left undone stays to be taken back.
        UndoStep rest{done.kind, done.sourceFolder, {}};
        for (const auto& [index, outcome] : jobOutcomes_) {
            if (outcome.result == FileResult::Skipped) {
                rest.records.push_back(done.records[static_cast<std::size_t>(index)]);
            }
        }
        remember(std::move(rest));
        refreshFolderPages();
        if (!TargetFolder.empty()) {
            CListBox2->clear();
            ScanTargetFolder();
        }
        tellUndoOutcome(done, jobOutcomes_);
    });
}

// Files that came back to the source folder shown in the list take their former places there,
// with their former ticks; renamed ones take their former names in place.
void TForm1::putEntriesBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes) {
    if (step.sourceFolder != SourceFolder || step.kind == UndoKind::Copy ||
        step.isFolderCommand()) {
        return;
    }
    std::vector<std::pair<const UndoRecord*, std::string>> back;
    for (const auto& [index, outcome] : outcomes) {
        if (outcome.done()) {
            const UndoRecord& record = step.records[static_cast<std::size_t>(index)];
            back.emplace_back(&record, nameAfterUndo(record, outcome));
        }
    }
    std::sort(back.begin(), back.end(),
              [](const auto& a, const auto& b) { return a.first->entry < b.first->entry; });
    for (const auto& [record, name] : back) {
        if (step.kind == UndoKind::AttachText) {
            const std::string renamed = extractFileName(record->now);
            for (int row = 0; row < CListBox1->count(); ++row) {
                if (CListBox1->name(row) == renamed) {
                    CListBox1->setName(row, name);
                    break;
                }
            }
            continue;
        }
        const int row = std::clamp(record->entry, 0, CListBox1->count());
        CListBox1->insertName(row, name);
        CListBox1->setChecked(row, record->ticked);
    }
}

// Open pages, the source and the destination inside a folder that was renamed or moved back
// follow it; the page of a removed new folder closes.
void TForm1::followFoldersBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes) {
    if (!step.isFolderCommand() || outcomes.empty() || !outcomes.begin()->second.done()) {
        return;
    }
    const UndoRecord& record = step.records.front();
    if (step.kind == UndoKind::NewFolder) {
        closePagesInside(record.now);
        return;
    }
    if (step.kind != UndoKind::RenameFolder && step.kind != UndoKind::MoveFolder) {
        return;
    }
    const std::string back = joinPath(extractFileDir(record.before),
                                      nameAfterUndo(record, outcomes.begin()->second));
    for (FolderPage* open : folderPages()) {
        open->setPath(renamedPath(open->path(), record.now, back));
    }
    SourceFolder = renamedPath(SourceFolder, record.now, back);
    TargetFolder = renamedPath(TargetFolder, record.now, back);
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
            renamed += extractFileName(record.before);
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
