// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/DeleteBatch.h"

#include <cerrno>
#include <utility>

#include "platform/FileServices.h"
#include "platform/PathText.h"

namespace pictaria {

DeleteBatch::DeleteBatch(DeleteWay way, std::string sourceFolder, std::vector<BatchItem> items)
    : way_(way), sourceFolder_(std::move(sourceFolder)), items_(std::move(items)) {}

void DeleteBatch::run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
                      const ProgressReport& progress) {
    runEachItem(items_, stop, outcome, progress,
                [this](const BatchItem& item) { return deleteOne(item); });
}

FileOutcome DeleteBatch::deleteOne(const BatchItem& item) const {
    FileOutcome outcome = outcomeOf(item.name, FileResult::Done);
    const std::string path = joinPath(sourceFolder_, item.name);
    if (!fileExists(path)) {
        outcome.reason = FsResult::failure(ENOENT);
    } else {
        outcome.stamp = fileStamp(path);  // as the trash takes it, for the undo
        outcome.reason = way_ == DeleteWay::ToTrash ? moveToTrash(path) : deleteFile(path);
    }
    if (outcome.reason) {
        return outcome;
    }
    outcome.result = FileResult::Failed;
    const int error = outcome.reason.error();
    if (error != ENOENT && !(way_ == DeleteWay::ToTrash && error == ENOTSUP)) {
        outcome.message = kTrashFailedMessage + outcome.reason.message();
    }
    return outcome;
}

std::vector<BatchItem> itemsNoTrashTook(const std::map<int, FileOutcome>& outcomes) {
    std::vector<BatchItem> items;
    for (const auto& [entry, outcome] : outcomes) {
        if (outcome.result == FileResult::Failed && outcome.reason.error() == ENOTSUP) {
            items.push_back({entry, outcome.name});
        }
    }
    return items;
}

}  // namespace pictaria
