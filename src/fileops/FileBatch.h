// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One file command over a list of files, written so that it can run on any thread: it works on
// a copy of the entries' names, never on the list, reports each file's outcome and its progress
// through callbacks as they become known, and stops between two files when asked.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fileops/FileOutcome.h"

namespace pictaria {

struct BatchItem {
    int entry = 0;  // the caller's name for the file (its list entry)
    std::string name;
};

struct BatchProgress {
    int filesDone = 0;
    int filesTotal = 0;
    std::int64_t bytesDone = 0;
    std::int64_t bytesTotal = 0;  // zero for commands that copy no data
    std::string current;          // the name of the file in hand
};

class FileBatch {
  public:
    using OutcomeReport = std::function<void(int entry, const FileOutcome& outcome)>;
    using ProgressReport = std::function<void(const BatchProgress& progress)>;

    virtual ~FileBatch() = default;

    // Handles every item unless `stop` becomes true; an item not handled then is reported as
    // skipped. Every item gets exactly one outcome.
    virtual void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                     const ProgressReport& progress = {}) = 0;
};

// Runs the batch here and now, without a stop; the outcomes by entry.
std::map<int, FileOutcome> runHere(FileBatch& batch);

// The loop of a batch: each item handled by `handle` in turn and the rest skipped once `stop`
// is true, progress counted in files and, where `sizes` gives each item's bytes, in bytes.
// `handle` returns the item's outcome, or nothing when it reports that outcome later itself;
// `afterLoop` runs after the last item, before the final progress.
using ItemHandler = std::function<std::optional<FileOutcome>(const BatchItem&)>;
void runEachItem(const std::vector<BatchItem>& items, const std::atomic<bool>& stop,
                 const FileBatch::OutcomeReport& outcome, const FileBatch::ProgressReport& progress,
                 const ItemHandler& handle, const std::vector<std::int64_t>& sizes = {},
                 const std::function<void()>& afterLoop = {});

}  // namespace pictaria
