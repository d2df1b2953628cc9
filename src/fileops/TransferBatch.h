// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Copy or Move of a list of files into one folder. Moves across file systems are flushed
// to disk together and their sources removed after that, also when the batch was stopped.

#include <atomic>
#include <string>
#include <vector>

#include "fileops/FileBatch.h"
#include "fileops/FileOutcome.h"
#include "fileops/FileTransfer.h"

namespace pictaria {

class TransferBatch : public FileBatch {
  public:
    TransferBatch(TransferMode mode, std::string sourceFolder, std::string targetFolder,
                  std::vector<BatchItem> items, int uniqueNameCounter);

    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

    // The collision counter as the batch left it, for the next command.
    int uniqueNameCounter() const { return uniqueNameCounter_; }

  private:
    FileOutcome transferOne(const BatchItem& item, DeferredMoves& deferred, bool& awaitingRemoval);

    TransferMode mode_;
    std::string sourceFolder_;
    std::string targetFolder_;
    std::vector<BatchItem> items_;
    int uniqueNameCounter_;
};

}  // namespace pictaria
