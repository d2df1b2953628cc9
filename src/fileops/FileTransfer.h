#pragma once
// Puts one file into the destination folder as a copy or by moving it, never replacing a file
// that is already there, and never leaving a half-written or lost picture behind.

#include <string>

#include "platform/DeferredMoves.h"

namespace pictaria {

enum class TransferMode { Copy = 0, Move = 1 };

inline constexpr const char* kMissingFileOrFolderMessage =
    "ファイル、または、フォルダが、有りません。";
inline constexpr const char* kCopyFailedMessage = "ファイルは、コピー出来ませんでした。";
inline constexpr const char* kMoveFailedMessage = "ファイルは、移動出来ませんでした。";

// Transfers `sourcePath` into `targetFolder` (+ `subPath`) under a collision-free name.
// Returns true when the file arrived (and, for a move, left its source). Failures are told
// through the message seam and give false:
//  - source or destination folder missing: the missing-file message, nothing touched;
//  - same drive letter (first byte) and a move: a rename; refused, false without a message;
//  - otherwise a byte copy under a temporary name, renamed into place when whole; a move then
//    removes the source, or removes the copy again when the source cannot go. A failed copy
//    shows the copy or move message and leaves no file behind.
bool transferFile(TransferMode mode, const std::string& sourcePath, const std::string& subPath,
                  const std::string& targetFolder, int& uniqueNameCounter);

enum class TransferOutcome { Failed, Done, AwaitingRemoval };

// As transferFile, for a batch: a move by copy only copies into `deferred` (tagged `tag`) and
// leaves the flush and the removal of the source to deferred.finish(), so that a batch flushes
// its copies to disk once instead of once per file.
TransferOutcome transferFileInBatch(TransferMode mode, const std::string& sourcePath,
                                    const std::string& subPath, const std::string& targetFolder,
                                    int& uniqueNameCounter, DeferredMoves& deferred, int tag);

}  // namespace pictaria
