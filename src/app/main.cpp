// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the application object, the main window, the hidden slide show window and the
// message loop. Nothing is read from the command line or the environment; the exit code is 0.

#include <exception>

#include "aids/Slid_Unit3.h"
#include "app/MainFormUnit1.h"
#include "platform/DriveLettering.h"
#include "platform/MessageSink.h"
#include "platform/MountWatcher.h"
#include "platform/TerminationSignals.h"
#include "viewer/ScreenDepth.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/FontConfigurationLoader.h"
#include "widgets/FontDatabaseWarmUp.h"
#include "widgets/QtMessageSink.h"
#include "widgets/WindowFont.h"

namespace {

void runWindows() {
    using namespace pictaria;
    setApplicationIdentity();
    screenDepth();  // measured once, before any picture is decoded
    DriveLettering lettering = DriveLettering::atStartUp(readMountedVolumes());
    setActiveDriveTable(lettering.table());
    TForm1 mainWindow;
    Form1 = &mainWindow;
    MountWatcher mounts(std::move(lettering));
    QObject::connect(&mounts, &MountWatcher::drivesChanged, &mainWindow, &TForm1::showNewDrives);
    TSlidShowForm slideShow([&mainWindow] { return mainWindow.previewPathTexts(); },
                            [&mainWindow](int width, int height, ImageControl* image,
                                          const std::string& path, std::function<void()> shown) {
                                mainWindow.ShowPicture(width, height, image, path,
                                                       std::move(shown));
                            });
    slideShow.setReadAhead(
        [&mainWindow](int width, int height, ImageControl* image, const std::string& path) {
            mainWindow.readAheadForSlideShow(width, height, image, path);
        });
    SlidShowForm = &slideShow;
    // Ended from outside, the program leaves its event loops as when its window is closed; the
    // command at work then stops after the file in hand as the window goes.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received,
                     [] { QCoreApplication::exit(0); });
    mainWindow.show();
    QApplication::exec();
    SlidShowForm = nullptr;
    Form1 = nullptr;
}

}  // namespace

int main() {
    int argc = 1;
    char programName[] = "pictaria";
    char* argv[] = {programName, nullptr};

    const pictaria::FontConfigurationLoader fontConfiguration;
    pictaria::ErrorReportingApplication application(argc, argv);
    const pictaria::FontDatabaseWarmUp fonts(fontConfiguration);
    // Every window and message box writes in the window font. It is also the default for text
    // laid out before a control takes its window's font (a spin box lays out its editor that
    // way), which would otherwise load a second family at start-up for nothing.
    QApplication::setFont(pictaria::windowFont());
    pictaria::QtMessageSink messageBoxes;
    pictaria::setMessageSink(&messageBoxes);
    try {
        runWindows();
    } catch (const std::exception& error) {
        pictaria::showMessage(error.what());
    }
    pictaria::setMessageSink(nullptr);
    return 0;
}
