// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileBatch.h"

namespace pictaria {

std::map<int, FileOutcome> runHere(FileBatch& batch) {
    std::map<int, FileOutcome> byEntry;
    const std::atomic<bool> never{false};
    batch.run(never, [&](int entry, const FileOutcome& outcome) { byEntry[entry] = outcome; });
    return byEntry;
}

void runEachItem(const std::vector<BatchItem>& items, const std::atomic<bool>& stop,
                 const FileBatch::OutcomeReport& outcome, const FileBatch::ProgressReport& progress,
                 const ItemHandler& handle, const std::vector<std::int64_t>& sizes,
                 const std::function<void()>& afterLoop) {
    BatchProgress state;
    state.filesTotal = static_cast<int>(items.size());
    for (const std::int64_t size : sizes) {
        state.bytesTotal += size;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const BatchItem& item = items[i];
        if (stop.load()) {
            outcome(item.entry, outcomeOf(item.name, FileResult::Skipped));
            continue;
        }
        state.current = item.name;
        if (progress) {
            progress(state);
        }
        if (std::optional<FileOutcome> handled = handle(item)) {
            outcome(item.entry, *handled);
        }
        ++state.filesDone;
        state.bytesDone += i < sizes.size() ? sizes[i] : 0;
    }
    if (afterLoop) {
        afterLoop();
    }
    if (progress) {
        state.current.clear();
        progress(state);
    }
}

}  // namespace pictaria
