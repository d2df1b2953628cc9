// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Takes one finished command back, or does it again after it was taken back, file by file, as
// a batch that can run on a worker thread: copies go to the trash, moved and renamed files go
// back to their former paths, deleted ones come back out of the trash, and a new, renamed,
// moved or deleted folder is undone. Whatever changed since is left alone and reported;
// nothing is ever replaced. A folder that files go back into is made again when it was removed
// since, on its own volume only, and nothing is put into it once it lies on another volume than
// the step's (its card was taken out part way): the rest stay where they are.

#include <map>
#include <string>

#include "fileops/FileBatch.h"
#include "fileops/UndoStep.h"

namespace pictaria {

inline constexpr const char* kChangedSinceMessage = "変更されているので、元に戻しませんでした。";
inline constexpr const char* kNotInTrashMessage = "ゴミ箱に無いので、元に戻せませんでした。";
inline constexpr const char* kUndoFailedMessage = "元に戻せませんでした。\n";

// What each file not put back is told once the volume of its folder went part way: the drive
// and what was not done ("ドライブ E:
// は、この操作の途中で取り外されたので、元に戻しませんでした。").
std::string undoVolumeGoneMessage(const UndoStep& step);

class UndoBatch : public FileBatch {
  public:
    // Each item's entry is the index of its record in the step. A file whose former name is
    // taken comes back under a free name of the usual numbering (DoneUnderNewName); every file
    // or folder put somewhere has its final name as `newName`.
    UndoBatch(UndoStep step, int uniqueNameCounter);

    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

    const UndoStep& step() const { return step_; }
    int uniqueNameCounter() const { return counter_; }
    // How many leftovers of an ended run stayed in the receiving folder, no trash taking them
    // (after run()).
    int leftoversKept() const { return leftoversKept_; }

    // The step that takes back what this one did, given its outcomes: a redo after an undo,
    // an undo after a redo. Only records that were done are in it.
    UndoStep reversed(const std::map<int, FileOutcome>& outcomes) const;

  private:
    void prepareReceivingFolder();
    FileOutcome runOne(const UndoRecord& record);
    FileOutcome notPutBack(const UndoRecord& record) const;
    FileOutcome putBack(const UndoRecord& record, FileOutcome outcome);
    FileOutcome fromTrash(const UndoRecord& record, FileOutcome outcome);
    std::string freePathFor(const std::string& path);

    UndoStep step_;
    int counter_;
    int leftoversKept_ = 0;
};

}  // namespace pictaria
