// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copy, move and delete of the ticked entries of the source list, and the list-only commands.
// Each entry's file is the source folder joined with the entry's name.

#include <functional>
#include <string>
#include <vector>

#include "fileops/DeleteBatch.h"
#include "fileops/FileOutcome.h"
#include "fileops/FileTransfer.h"
#include "fileops/TickList.h"
#include "fileops/TransferBatch.h"

namespace pictaria {

inline constexpr const char* kChooseCopyFolderMessage =
    "コピーするフォルダをグリッドをクリックして選んで下さい。";
inline constexpr const char* kChooseMoveFolderMessage =
    "移動するフォルダをグリッドをクリックして選んで下さい。";

// The message that refuses a copy or move whose source and target folders are the same text;
// nullptr when the command may run.
const char* sameFolderRefusal(TransferMode mode, const std::string& sourceFolder,
                              const std::string& targetFolder);

// Each command returns what happened to each file it handled, in list order, and tells the
// user nothing itself (see failureReport). Copy and Move run a TransferBatch here and now.
std::vector<BatchItem> tickedItems(const TickList& list);
std::vector<BatchItem> listedItems(const TickList& list);

// Copies every ticked file into the target folder; the list stays as it is. Does nothing when
// sameFolderRefusal refuses it.
std::vector<FileOutcome> copyTicked(TickList& list, const std::string& sourceFolder,
                                    const std::string& targetFolder, int& uniqueNameCounter);

// Moves every ticked file into the target folder; moved entries leave the list, the others keep
// their text and tick. Does nothing when sameFolderRefusal refuses it.
std::vector<FileOutcome> moveTicked(TickList& list, const std::string& sourceFolder,
                                    const std::string& targetFolder, int& uniqueNameCounter);

inline constexpr const char* kDeleteForGoodFilesQuestion =
    "枚のファイルはゴミ箱に移せません。元に戻せませんが、完全に削除しますか？";

// Asked once per delete, with the number of files no trash can take: true to delete those for
// good.
using DeleteForGoodQuestion = std::function<bool(std::size_t files)>;

// Moves every ticked file to the desktop's trash; the entries of files that went leave the
// list. Where no trash can take some of them, `askForGood` is asked once before any is deleted
// for good. Files that may not go at all (their folder is read-only...) stay, failed with the
// reason.
std::vector<FileOutcome> deleteTicked(TickList& list, const std::string& sourceFolder,
                                      const DeleteForGoodQuestion& askForGood);

// The same for every listed file, ticked or not; the list is emptied whatever the outcome.
std::vector<FileOutcome> deleteAllListed(TickList& list, const std::string& sourceFolder,
                                         const DeleteForGoodQuestion& askForGood);

// Unticks every entry.
void clearTicks(TickList& list);

// Removes the ticked entries from the list; the files stay.
void removeTickedEntries(TickList& list);

// The hints of the Copy and Move buttons.
std::string copyHint(const std::string& targetFolder);
std::string moveHint(const std::string& targetFolder);

}  // namespace pictaria
