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
                 const std::function<FileOutcome(const BatchItem&)>& handle) {
    BatchProgress state;
    state.filesTotal = static_cast<int>(items.size());
    for (const BatchItem& item : items) {
        if (stop.load()) {
            outcome(item.entry, outcomeOf(item.name, FileResult::Skipped));
            continue;
        }
        state.current = item.name;
        if (progress) {
            progress(state);
        }
        outcome(item.entry, handle(item));
        ++state.filesDone;
    }
    if (progress) {
        state.current.clear();
        progress(state);
    }
}

}  // namespace pictaria
