// Test entry point: the program's own application object (errors escaping a handler become
// messages) on the offscreen platform, Qt's test mode and a temporary data folder, so that
// nothing touches the real home folder or trash.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include <filesystem>

#include "support/TempDir.h"
#include "widgets/ErrorReportingApplication.h"

int main(int argc, char** argv) {
    // The desktop trash of the tests lives in a temporary data folder, never in the user's own.
    const pictaria::test::TempDir dataHome;
    ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    pictaria::ErrorReportingApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
