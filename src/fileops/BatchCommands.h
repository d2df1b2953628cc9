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

// Deletes every ticked file for good; deleted entries leave the list. No confirmation.
void deleteTicked(TickList& list, const std::string& sourceFolder);

// Deletes every listed file, ticked or not, and empties the list whatever the outcome.
void deleteAllListed(TickList& list, const std::string& sourceFolder);

// Unticks every entry.
void clearTicks(TickList& list);

// Removes the ticked entries from the list; the files stay.
void removeTickedEntries(TickList& list);

// The hints of the Copy and Move buttons.
std::string copyHint(const std::string& targetFolder);
std::string moveHint(const std::string& targetFolder);

}  // namespace pictaria
