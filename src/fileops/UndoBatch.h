// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Takes one finished command back, file by file, as a batch that can run on a worker thread:
// copies go to the trash, moved and renamed files go back to their former paths, deleted ones
// come back out of the trash, and a new, renamed, moved or deleted folder is undone. Whatever
// changed since the command is left alone and reported; nothing is ever replaced.

#include <string>

#include "fileops/FileBatch.h"
#include "fileops/UndoStep.h"

namespace pictaria {

inline constexpr const char* kChangedSinceMessage = "変更されているので、元に戻しませんでした。";
inline constexpr const char* kNotInTrashMessage = "ゴミ箱に無いので、元に戻せませんでした。";
inline constexpr const char* kUndoFailedMessage = "元に戻せませんでした。\n";

class UndoBatch : public FileBatch {
  public:
    // Each item's entry is the index of its record in the step. A file whose former name is
    // taken comes back under a free name of the usual numbering (DoneUnderNewName).
    UndoBatch(UndoStep step, int uniqueNameCounter);

    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

    const UndoStep& step() const { return step_; }
    int uniqueNameCounter() const { return counter_; }

  private:
    FileOutcome undoOne(const UndoRecord& record);
    std::string freePathFor(const std::string& path);

    UndoStep step_;
    int counter_;
};

}  // namespace pictaria
