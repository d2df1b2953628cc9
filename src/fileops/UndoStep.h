// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a finished file or folder command did, kept so that it can be taken back: one record per
// file or folder it changed, with the stamp each had right after the command, so that nothing
// changed since is touched.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fileops/FileOutcome.h"
#include "platform/FileServices.h"

namespace pictaria {

enum class UndoKind {
    Copy,
    Move,
    Delete,
    AttachText,
    NewFolder,
    RenameFolder,
    MoveFolder,
    DeleteFolder
};

struct UndoRecord {
    // What the command left: the copy, the moved or renamed file or folder, the new folder; for a
    // delete, the path the file or folder was deleted from.
    std::string now;
    // Where it goes back to: the source path or the former name. A copy goes to the trash
    // (this is its original); a new folder goes (empty).
    std::string before;
    // `now` right after the command; for a delete, the item just before the trash took it.
    FileStamp stamp;
    // For what a step made afresh at `now` (a folder made again, a copy made anew): the stamp of
    // the one it replaces, by which other steps still know it until the history hands them on.
    FileStamp replaced;
    int entry = -1;  // the source list entry the file was, for Move, Delete and attach-text
    bool ticked = false;
};

struct UndoStep {
    UndoKind kind = UndoKind::Copy;
    std::string sourceFolder;  // the source list's folder when the command ran
    std::vector<UndoRecord> records;
    bool redo = false;  // the step does the command again, after it was taken back
    // The mounts that held the folders of `now` and `before` when the step was made: a card
    // taken out and put back, or another card of the same name in its place, is another mount.
    std::uint64_t nowMount = 0;
    std::uint64_t beforeMount = 0;

    bool isFolderCommand() const { return kind >= UndoKind::NewFolder; }
};

// What running a step does to each of its records.
enum class UndoOperation {
    PutBack,       // the file or folder goes back to `before` (a move, a rename)
    ToTrash,       // `now` goes to the trash (a copy taken back, a delete done again)
    FromTrash,     // what was trashed from `now` comes back there
    RemoveFolder,  // the empty folder `now` goes
    MakeFolder,    // the folder `now` is made again
};
UndoOperation operationOf(const UndoStep& step);

// The hint of the entry that runs the step, for example "移動 12 枚を元に戻す" or, for a redo,
// "移動 12 枚をやり直す".
std::string undoHint(const UndoStep& step);

// Whether `now`, a stamp taken at this moment, is of what `noted` was taken of: a file as it was,
// a folder the same folder (what is inside it may have changed).
bool sameAsNoted(const FileStamp& now, const FileStamp& noted, bool folder);

// The mounts that hold folders now (or would hold them if they were made again), by folder.
using FolderMounts = std::map<std::string, std::uint64_t>;
FolderMounts mountsOf(const std::vector<std::string>& folders);

// Notes the mounts that hold the step's folders now; those in `known` (noted by the command
// where it ran) are not asked again.
void noteMounts(UndoStep& step, const FolderMounts& known = {});

// The folder a step puts its files or folders into when it runs (the records of one step share
// their folders), with the mount noted for it when the step was made (0 when that could not be
// asked); nothing for a step that only takes things away (to the trash, or a folder removed).
struct ReceivingFolder {
    std::string path;
    std::uint64_t mount = 0;
};
std::optional<ReceivingFolder> receivingFolder(const UndoStep& step);

// The folder the step would put files or folders into when it runs, if the volume there has
// been taken out (or replaced) since the step was made; nothing when it may run. A folder
// removed since is not another volume: the nearest folder above it that is still there tells
// which volume it was on.
std::optional<std::string> folderOnAnotherMount(const UndoStep& step);

// A record of `now` as it is at this moment.
UndoRecord undoRecord(std::string now, std::string before, int entry = -1, bool ticked = false);
// A record of what a command left at `now`, as its outcome stamped it.
UndoRecord recordOf(const FileOutcome& outcome, std::string now, std::string before, int entry,
                    bool ticked);

}  // namespace pictaria
