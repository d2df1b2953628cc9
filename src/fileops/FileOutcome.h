// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a file command did to one file. The commands return these and show nothing; the window
// decides what to tell the user (failureReport gives the text).

#include <optional>
#include <string>
#include <vector>

#include "platform/FileServices.h"
#include "platform/FsResult.h"

namespace pictaria {

enum class FileResult {
    Done,              // the file was copied, moved, deleted or renamed as asked
    DoneUnderNewName,  // done, under `newName` (its name was taken at the destination)
    Failed,            // nothing changed for this file; `reason` says why
    Skipped,           // not handled: the user stopped the command first
};

struct FileOutcome {
    std::string name;  // the entry's name in the source folder
    FileResult result = FileResult::Failed;
    std::string newName;                    // for DoneUnderNewName and renames
    FsResult reason = FsResult::success();  // for Failed, as the system gave it
    std::string message;  // for Failed: what the user is told of it; empty for silent failures
    // Done: the file as the command left it (for a delete, as the trash took it), stamped on
    // the command's worker right then, for its undo.
    FileStamp stamp;

    bool done() const {
        return result == FileResult::Done || result == FileResult::DoneUnderNewName;
    }
    // The name the file has now: its new one where it took one.
    const std::string& finalName() const { return newName.empty() ? name : newName; }
};

// An outcome with nothing more to it than its result (Done, Skipped, a silent failure).
FileOutcome outcomeOf(const std::string& name, FileResult result);

// What to tell the user after a command, if anything: nothing when no failure has a message;
// the failure's file and message when it is the only one; otherwise one summary of how many were
// done and which failed, each with its message.
std::optional<std::string> failureReport(const std::vector<FileOutcome>& outcomes);

}  // namespace pictaria
