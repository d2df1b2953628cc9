// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts a text in front of the names of the ticked files of the source list, in place.

#include <atomic>
#include <string>
#include <vector>

#include "fileops/FileBatch.h"
#include "fileops/TickList.h"

namespace pictaria {

// False for a text that would move files into other folders (it holds a path separator) or
// hide them (a leading dot hides a file on this platform).
bool isAttachableText(const std::string& text);

// Renames each file of `sourceFolder` to `text` + its name, never replacing a file; a renamed
// file is Done with its new name, a failed one stays as it was, silently. A text that is not
// attachable renames nothing.
class AttachTextBatch : public FileBatch {
  public:
    AttachTextBatch(std::string sourceFolder, std::string text, std::vector<BatchItem> items);

    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress = {}) override;

  private:
    FileOutcome renameOne(const BatchItem& item) const;

    std::string folder_;
    std::string text_;
    std::vector<BatchItem> items_;
};

// The batch run here and now on the ticked entries: a renamed entry takes its new name and
// keeps its place and tick. Returns the number of files renamed.
int attachTextToTicked(TickList& list, const std::string& sourceFolder, const std::string& text);

}  // namespace pictaria
