// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole folder trees: to the desktop's trash, deleted for good, or moved into another folder,
// never losing a file on the way.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FsResult.h"

namespace pictaria {

// Told how far a long operation has come; returns false to stop it (what was done is undone).
using FolderProgress = std::function<bool(std::int64_t bytesDone, std::int64_t bytesTotal)>;

// True for folders that must never be deleted or moved: a drive root, a mount point of the
// drive table, the home folder, the root of the host, and any folder containing one of them.
bool isProtectedFolder(const std::string& path);

// Moves the folder into the desktop's trash (freedesktop trash, restorable from the desktop).
// ENOTSUP where no trash can take it (for example a file system without a trash folder); any
// other failure (EACCES when the folder may not be moved) is the reason as the system gave it.
FsResult trashFolder(const std::string& path);

// Deletes the folder and everything in it for good, after checking that all of it can go:
// otherwise nothing is deleted and the reason is returned.
FsResult deleteFolderTree(const std::string& path);

// Moves the folder `path` into `destinationFolder`. A taken name becomes "Name (2)",
// "Name (3)"... Within one file system it is a rename; across file systems the tree is first
// checked to be removable (else nothing is copied), copied under a hidden temporary name with
// its folders' permissions and times, flushed, renamed into place, that name flushed too, and
// only then is the source removed; a failure removes the copy and leaves the source whole.
// Moving a folder into itself or below itself fails with EINVAL; moving it into the folder it
// already lies in does nothing and fails with EALREADY (the caller tells the user that it is
// there already). `movedTo` receives the folder's new path text. Nothing is written into the
// destination once it lies on another volume than when the move began (its card was taken out
// part way): the move fails with ENODEV, and nothing is removed from the source. Leftovers of an
// ended run that no trash took stay in the destination; `leftoversKept`, if given, receives how
// many.
FsResult moveFolderInto(const std::string& path, const std::string& destinationFolder,
                        std::string& movedTo, const FolderProgress& progress = {},
                        int* leftoversKept = nullptr);

}  // namespace pictaria
