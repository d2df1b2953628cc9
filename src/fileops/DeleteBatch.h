// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The delete of a list of files: to the desktop's trash, or for good.

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "fileops/FileBatch.h"

namespace pictaria {

inline constexpr const char* kTrashFailedMessage = "ゴミ箱に移せませんでした。\n";

enum class DeleteWay { ToTrash, ForGood };

class DeleteBatch : public FileBatch {
  public:
    DeleteBatch(DeleteWay way, std::string sourceFolder, std::vector<BatchItem> items);

    // A missing file, or a folder, fails silently: the delete acts on files only. With ToTrash,
    // a file no trash can take fails silently with ENOTSUP (see itemsNoTrashTook).
    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

  private:
    FileOutcome deleteOne(const BatchItem& item) const;

    DeleteWay way_;
    std::string sourceFolder_;
    std::vector<BatchItem> items_;
};

// The items of a ToTrash batch whose files no trash could take, to be deleted for good if the
// user agrees.
std::vector<BatchItem> itemsNoTrashTook(const std::map<int, FileOutcome>& outcomes);

}  // namespace pictaria
