// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system steps of the folder commands of the page menu (new, delete, rename, move) and
// what they change on the pages. The questions and messages go through the message seam; the
// name input and folder selection dialogs belong to the caller.

#include <functional>
#include <string>

#include "platform/FolderOperations.h"

namespace pictaria {

class StringGrid;

inline constexpr const char* kEnterNewFolderNameMessage = "新しいフォルダの名前を入力して下さい。";
inline constexpr const char* kEnterRenamedFolderNameMessage =
    "新しいフォルダ名を、入力してください。";
inline constexpr const char* kChooseFolderToDeleteMessage =
    "削除するフォルダをグリッドをクリックして選んで下さい。";
inline constexpr const char* kProtectedFromDeleteMessage =
    "ドライブ、マウント先、ホームフォルダ、またはそれらを含むフォルダは削除出来ません。";
inline constexpr const char* kChooseMoveDestinationMessage =
    "移動するフォルダをディレクトリボックスをダブルクリックして選んで下さい。";
inline constexpr const char* kMoveToTrashQuestion =
    "このフォルダを、中身ごとゴミ箱に移動しますか？\n";
inline constexpr const char* kDeleteForGoodQuestion =
    "このフォルダはゴミ箱に移せません。元に戻せませんが、完全に削除しますか？\n";
inline constexpr const char* kDeleteFailedMessage = "フォルダを、削除出来ませんでした。\n";
inline constexpr const char* kMoveIntoItselfMessage =
    "フォルダを、そのフォルダ自身やその中のフォルダへは移動出来ません。";
inline constexpr const char* kAlreadyThereMessage =
    "このフォルダは、既に移動先のフォルダの中に有ります。";
inline constexpr const char* kProtectedFromMoveMessage =
    "ドライブ、ホームフォルダ、またはそれらを含むフォルダは移動出来ません。";
inline constexpr const char* kMoveFailedMessage = "フォルダを、移動出来ませんでした。\n";

// What a folder move is told when its destination's volume went part way: the drive, and that
// the folder was not moved ("ドライブ E: は、この操作の途中で取り外されたので、フォルダを移動し
// ませんでした。").
std::string folderVolumeGoneMessage(const std::string& destination);

// What a folder command did, and what the user is to be told of it (empty: nothing). The
// commands tell nothing themselves.
struct FolderOutcome {
    FsResult result = FsResult::success();
    std::string message;
    bool inTrash = false;  // a deleted folder went to the trash, from which it can come back
    // Leftovers of an ended run of the program that stayed in a move's destination, no trash
    // taking them.
    int leftoversKept = 0;

    bool ok() const { return result.ok(); }
};

// A question to the user (yes or no), asked by the window.
using FolderQuestion = std::function<bool(const std::string& question)>;

// True for a name that stays one folder level: not empty, no separator, not "." or "..", and
// within the host's limit for a name.
bool isFolderName(const std::string& name);

// Creates the folder `name` in `parent`; `created` receives its path.
bool createFolderIn(const std::string& parent, const std::string& name, std::string& created);

// Puts a name into the first empty cell of the grid, row by row; a full grid gets a new last
// row for it.
void putIntoFirstEmptyCell(StringGrid& grid, const std::string& name);

// Deletes `folder`, chosen on the grids, while the page of `pagePath` is in front. The page's
// folder itself, drive roots, mount points and the home folder are refused with a message. The
// page's folder becomes the current folder (the parent of `folder` when the page lies inside
// it); once `ask` agrees, the folder goes to the trash; where no trash takes it, `ask` is asked
// again whether to delete it for good. Succeeds when the folder is gone; a question answered
// no ends it with ECANCELED and nothing to tell.
FolderOutcome deleteChosenFolder(const std::string& folder, const std::string& pagePath,
                                 const FolderQuestion& ask);

// Renames `folder` to `name` in the folder `pagePath` (a rename on one file system, never
// replacing) after making the folder's parent the current folder; `renamedTo` receives the new
// path. Does nothing when the new path is the folder's own, and refuses silently what cannot or
// must not be renamed: protected folders, names that are not one level, names and paths beyond
// the host's limits.
bool renameFolder(const std::string& folder, const std::string& pagePath, const std::string& name,
                  std::string& renamedTo);

// True when `path` is `folder` or lies below it.
bool isInsideFolder(const std::string& path, const std::string& folder);

// A path after `oldFolder` became `newFolder`: the leading old folder replaced when the path
// lies inside it, else unchanged.
std::string renamedPath(const std::string& path, const std::string& oldFolder,
                        const std::string& newFolder);

// Moves `folder` into `destination` ("Name (2)" when its name is taken there); `movedTo`
// receives its new path. Protected folders and a destination inside the folder are refused with
// a message; a destination whose volume went part way is told so; other failures are told with
// the reason, except a move the user stopped. The work runs inside `during`, which gets the
// progress callback to pass on (the window shows its progress window there, gone before anything
// is told).
using ProgressScope =
    std::function<FsResult(const std::function<FsResult(const FolderProgress&)>&)>;
FolderOutcome moveChosenFolder(const std::string& folder, const std::string& destination,
                               std::string& movedTo, const ProgressScope& during);

}  // namespace pictaria
