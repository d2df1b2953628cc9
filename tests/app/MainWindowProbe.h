// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's own state, for tests that set a window up as a user's earlier commands
// would have left it, and read what a command left.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/MainFormUnit1.h"
#include "work/WorkQueues.h"

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
    template <typename Busy>
    static bool processEventsWhile(Busy busy) {
        QElapsedTimer waited;
        waited.start();
        while (busy() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return !busy();
    }
    // Lets the window's event loop run until the drives of a command just asked for have
    // answered, so that its job runs (or it was refused); false when they still have not.
    static bool waitForDriveChecks(TForm1& window) {
        return processEventsWhile([&] { return window.drivesBeingChecked_ > 0; });
    }
    // Lets the window's event loop run until no folder listing is on its way (or 5 s passed);
    // false when one still is.
    static bool waitForListings(TForm1& window) {
        return processEventsWhile([&] { return window.work_->pending(); });
    }
    // The same until neither view waits for its picture (a pick hands its picture to the
    // read-ahead's thread and shows it when it arrives; the preview's is read like a listing).
    static bool waitForPicture(TForm1& window) {
        return processEventsWhile([&] {
            return window.sourcePick_.view() == SourcePick::View::Waiting ||
                   window.work_->pending();
        });
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

inline bool waitForPicture(TForm1& window) {
    return MainWindowProbe::waitForPicture(window);
}

}  // namespace pictaria::test
