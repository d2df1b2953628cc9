// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a user finds the controls of the main window and its dialogs, in pixels from the
// window's top left corner (the window has no frame on a screen without a window manager).
// They follow the layout in src/app/MainFormLayout.cpp and the dialogs' own.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pictaria::e2e {

inline constexpr QSize kMainWindowSize(847, 660);

inline constexpr QRect kOpenButton(141, 5, 58, 25);
inline constexpr QRect kCopyButton(141, 32, 58, 25);
inline constexpr QRect kMoveButton(141, 59, 58, 25);
inline constexpr QRect kDeleteButton(142, 142, 56, 25);
inline constexpr QRect kSlideButton(235, 254, 57, 25);

// The source list: one entry every 12 pixels inside a 2-pixel frame.
inline constexpr QRect kSourceList(0, 0, 136, 345);
inline constexpr int kSourceListFrame = 2;
inline constexpr int kSourceEntryHeight = 12;

// A click anywhere on the large picture (or the panel around it) ticks the picked entry.
inline constexpr QPoint kLargePicture(597, 160);

// The grids of the folder pages while their tabs fit in one row: the drive grid's columns are
// 86 pixels wide, a folder page's 85; every row is 18 pixels high.
inline constexpr QPoint kGridOrigin(3, 377);
inline constexpr int kDriveGridColumnWidth = 86;
inline constexpr int kFolderGridColumnWidth = 85;
inline constexpr int kGridRowHeight = 18;
inline constexpr int kGridVisibleRows = 13;

// The folder selection dialog and its "O K" button.
inline constexpr QSize kFolderDialogSize(379, 318);
// The Stop button of a progress window, at its lower right corner.
inline QPoint progressStopButton(QSize window) {
    return {window.width() - 50, window.height() - 25};
}
inline constexpr QRect kFolderDialogOk(57, 251, 75, 25);

// The name dialog (new folder, rename, delete confirmation).
inline constexpr QSize kNameDialogSize(313, 189);

// The slide show's control panel, shown while the pointer is over it, and its close button.
inline constexpr QPoint kSlidePanelSpot(8, 16);
inline constexpr QRect kSlideCloseButton(154, 20, 28, 25);

// The entries of the folder pages' menu, top to bottom.
enum class FolderMenuEntry { Menu, NewFolder, DeleteFolder, RenameFolder, MoveFolder, Count };

}  // namespace pictaria::e2e
