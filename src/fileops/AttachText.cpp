// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/AttachText.h"

#include <utility>

#include "fileops/BatchCommands.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

bool isAttachableText(const std::string& text) {
    return !text.empty() && text.find_first_of("\\/") == std::string::npos &&
           !text.starts_with('.');
}

AttachTextBatch::AttachTextBatch(std::string sourceFolder, std::string text,
                                 std::vector<BatchItem> items)
    : folder_(removeTrailingBackslash(sourceFolder)),
      text_(std::move(text)),
      items_(isAttachableText(text_) ? std::move(items) : std::vector<BatchItem>{}) {}

void AttachTextBatch::run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                          const ProgressReport& progress) {
    runEachItem(items_, stop, outcome, progress,
                [this](const BatchItem& item) { return renameOne(item); });
}

// A failure of one file (even running out of memory) leaves that file as it was; the next one
// is handled all the same.
FileOutcome AttachTextBatch::renameOne(const BatchItem& item) const {
    FileOutcome outcome = outcomeOf(item.name, FileResult::Failed);
    try {
        outcome.newName = text_ + item.name;
        outcome.reason =
            renameFile(joinPath(folder_, item.name), joinPath(folder_, outcome.newName));
        if (outcome.reason) {
            outcome.result = FileResult::Done;
            outcome.stamp = fileStamp(joinPath(folder_, outcome.newName));
        }
    } catch (...) {
        outcome.reason = FsResult::failure(ENOMEM);
    }
    return outcome;
}

int attachTextToTicked(TickList& list, const std::string& sourceFolder, const std::string& text) {
    AttachTextBatch batch(sourceFolder, text, tickedItems(list));
    int renamed = 0;
    for (const auto& [entry, outcome] : runHere(batch)) {
        if (outcome.done()) {
            list.setName(entry, outcome.newName);
            ++renamed;
        }
    }
    return renamed;
}

}  // namespace pictaria
