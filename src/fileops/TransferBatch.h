#pragma once
// The Copy or Move of a list of files into one folder, written so that it can run on any thread:
// it works on a copy of the entries' names, never on the list, reports each file's outcome and
// its progress through callbacks as they become known, and stops between two files when asked.
// Moves across file systems are flushed to disk together and their sources removed after that,
// also when the batch was stopped.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fileops/FileOutcome.h"
#include "fileops/FileTransfer.h"

namespace pictaria {

struct TransferItem {
    int entry = 0;  // the caller's name for the file (its list entry)
    std::string name;
};

struct TransferProgress {
    int filesDone = 0;
    int filesTotal = 0;
    std::int64_t bytesDone = 0;
    std::int64_t bytesTotal = 0;
    std::string current;  // the name of the file in hand
};

class TransferBatch {
  public:
    using OutcomeReport = std::function<void(int entry, const FileOutcome& outcome)>;
    using ProgressReport = std::function<void(const TransferProgress& progress)>;

    TransferBatch(TransferMode mode, std::string sourceFolder, std::string targetFolder,
                  std::vector<TransferItem> items, int uniqueNameCounter);

    // Handles every item unless `stop` becomes true; an item not handled then is reported as
    // skipped. Every item gets exactly one outcome.
    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {});

    // The collision counter as the batch left it, for the next command.
    int uniqueNameCounter() const { return uniqueNameCounter_; }

  private:
    FileOutcome transferOne(const TransferItem& item, DeferredMoves& deferred,
                            bool& awaitingRemoval);

    TransferMode mode_;
    std::string sourceFolder_;
    std::string targetFolder_;
    std::vector<TransferItem> items_;
    int uniqueNameCounter_;
};

}  // namespace pictaria
