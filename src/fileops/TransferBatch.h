// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Copy or Move of a list of files into one folder. Moves across file systems are flushed
// to disk a group at a time (DeferredMoves) and each group's sources removed before the next
// file is copied; the last group is finished also when the batch was stopped.
// Nothing is put into the folder once it lies on another volume than when the command began
// (its card was taken out): the batch stops there, and every file not moved keeps its source.

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "fileops/FileBatch.h"
#include "fileops/FileOutcome.h"
#include "fileops/FileTransfer.h"
#include "platform/MountIdentity.h"

namespace pictaria {

// What each file not put into the destination is told once its volume went: the drive and
// what was not done ("ドライブ E: は、この操作の途中で取り外されたので、移動しませんでした。").
std::string volumeGoneMessage(TransferMode mode, const std::string& targetFolder);

// What the user is told once leftovers of an ended run of the program had to stay in
// `targetFolder`, no trash taking them: where they are, and that they may hold photographs.
std::string leftoversKeptMessage(const std::string& targetFolder);

class TransferBatch : public FileBatch {
  public:
    TransferBatch(TransferMode mode, std::string sourceFolder, std::string targetFolder,
                  std::vector<BatchItem> items, int uniqueNameCounter);

    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

    // The collision counter as the batch left it, for the next command.
    int uniqueNameCounter() const { return uniqueNameCounter_; }

    // How many leftovers of an ended run stayed in the destination, no trash taking them (after
    // run()).
    int leftoversKept() const { return leftoversKept_; }
    const std::string& targetFolder() const { return targetFolder_; }

    // How many moves across file systems wait for their common flush at most (before run()).
    void setGroupLimits(DeferredMoves::GroupLimits limits) { groupLimits_ = limits; }

  private:
    FileOutcome transferOne(const BatchItem& item, DeferredMoves& deferred, bool& awaitingRemoval);

    TransferMode mode_;
    std::string sourceFolder_;
    std::string targetFolder_;
    std::vector<BatchItem> items_;
    int uniqueNameCounter_;
    // The destination's mount when the command began to run (noted then, on its worker: the
    // destination may be a card that answers slowly).
    std::optional<FolderMount> destination_;
    DeferredMoves::GroupLimits groupLimits_;
    int leftoversKept_ = 0;
};

}  // namespace pictaria
