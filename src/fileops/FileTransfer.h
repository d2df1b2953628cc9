// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts one file into the destination folder as a copy or by moving it, never replacing a file
// that is already there, and never leaving a half-written or lost picture behind.

#include <string>

#include "fileops/FileOutcome.h"
#include "platform/DeferredMoves.h"

namespace pictaria {

enum class TransferMode { Copy = 0, Move = 1 };

inline constexpr const char* kMissingFileOrFolderMessage =
    "ファイル、または、フォルダが、有りません。";
inline constexpr const char* kCopyFailedMessage = "ファイルは、コピー出来ませんでした。";
inline constexpr const char* kMoveFailedMessage = "ファイルは、移動出来ませんでした。";

// Transfers `sourcePath` into `targetFolder` (+ `subPath`) under a collision-free name and
// says what happened; it tells the user nothing itself:
//  - done, or done under a new name when the name was taken at the destination;
//  - source or destination folder missing: failed with the missing-file message, nothing
//    touched;
//  - same drive letter (first byte) and a move: a rename; refused, failed with the move
//    message and the reason;
//  - otherwise a byte copy under a temporary name, renamed into place when whole; a move then
//    removes the source, or removes the copy again when the source cannot go. A failed copy
//    fails with the copy or move message and leaves no file behind.
// A transfer of `name` that failed for `reason`: told with the copy or move message and the
// system's reason on a line of its own.
FileOutcome transferFailure(TransferMode mode, const std::string& name, FsResult reason);

FileOutcome transferFile(TransferMode mode, const std::string& sourcePath,
                         const std::string& subPath, const std::string& targetFolder,
                         int& uniqueNameCounter);

// As transferFile, for a batch: a move by copy only copies into `deferred` (tagged `tag`) and
// leaves the flush, the copy's name and the removal of the source to deferred.finish(), so
// that a batch flushes its copies to disk a group at a time instead of once per file; the names
// promised to those copies count as taken. Such a move comes back done, with `awaitingRemoval` set:
// it is finished only when deferred.finish() says so.
FileOutcome transferFileInBatch(TransferMode mode, const std::string& sourcePath,
                                const std::string& subPath, const std::string& targetFolder,
                                int& uniqueNameCounter, DeferredMoves& deferred, int tag,
                                bool& awaitingRemoval);

}  // namespace pictaria
