#pragma once
// Copy, move and delete of the ticked entries of the source list, and the list-only commands.
// Each entry's file is the source folder joined with the entry's name.

#include <string>

#include "fileops/TickList.h"

namespace pictaria {

inline constexpr const char* kChooseCopyFolderMessage =
    "コピーするフォルダをグリッドをクリックして選んで下さい。";
inline constexpr const char* kChooseMoveFolderMessage =
    "移動するフォルダをグリッドをクリックして選んで下さい。";

// Copies every ticked file into the target folder; the list stays as it is. Refused with a
// message when source and target are the same text.
void copyTicked(TickList& list, const std::string& sourceFolder, const std::string& targetFolder,
                int& uniqueNameCounter);

// Moves every ticked file into the target folder; moved entries leave the list, the others keep
// their text and tick. Refused with a message when source and target are the same text.
void moveTicked(TickList& list, const std::string& sourceFolder, const std::string& targetFolder,
                int& uniqueNameCounter);

inline constexpr const char* kDeleteForGoodFilesQuestion =
    "枚のファイルはゴミ箱に移せません。元に戻せませんが、完全に削除しますか？";
inline constexpr const char* kTrashFailedMessage = "ゴミ箱に移せなかったファイルがあります。\n";

// Moves every ticked file to the desktop's trash; the entries of files that went leave the
// list. Where no trash can take some of them, one question naming how many asks whether to
// delete those for good, before any is. Files that may not go at all (their folder is
// read-only...) stay, with one message giving the reason.
void deleteTicked(TickList& list, const std::string& sourceFolder);

// The same for every listed file, ticked or not; the list is emptied whatever the outcome.
void deleteAllListed(TickList& list, const std::string& sourceFolder);

// Unticks every entry.
void clearTicks(TickList& list);

// Removes the ticked entries from the list; the files stay.
void removeTickedEntries(TickList& list);

// The hints of the Copy and Move buttons.
std::string copyHint(const std::string& targetFolder);
std::string moveHint(const std::string& targetFolder);

}  // namespace pictaria
