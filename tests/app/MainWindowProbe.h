// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's own state, for tests that set a window up as a user's earlier commands
// would have left it, and read what a command left.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/MainFormUnit1.h"
#include "navigator/FolderListing.h"

namespace pictaria::test {

struct MainWindowState {
    int& PreviewIndex;
    int& PreviewCount;
    StringList& FolderEntries;
    StringList& PageGrids;
    QWidget*& NewestSheet;
    StringGrid*& NewestGrid;
    std::string& SourceFolder;
    std::string& TargetFolder;
    StringList& PreviewPaths;
    bool& ShrinkToFit;
    int& PageCounter;
    int& SelectedCol;
    int& SelectedRow;
    int& UniqueNameCounter;
    std::string& CurrentPicturePath;
};

class MainWindowProbe {
  public:
    // Lets the window's event loop run until no folder listing is on its way (or 5 s passed);
    // false when one still is.
    static bool waitForListings(TForm1& window) {
        QElapsedTimer waited;
        waited.start();
        while (window.listing_->pending() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return !window.listing_->pending();
    }
    static MainWindowState stateOf(TForm1& window) {
        return {window.PreviewIndex, window.PreviewCount,      window.FolderEntries,
                window.PageGrids,    window.NewestSheet,       window.NewestGrid,
                window.SourceFolder, window.TargetFolder,      window.PreviewPaths,
                window.ShrinkToFit,  window.PageCounter,       window.SelectedCol,
                window.SelectedRow,  window.UniqueNameCounter, window.CurrentPicturePath};
    }
};

inline MainWindowState stateOf(TForm1& window) {
    return MainWindowProbe::stateOf(window);
}

inline bool waitForListings(TForm1& window) {
    return MainWindowProbe::waitForListings(window);
}

}  // namespace pictaria::test
