// Test entry point: one QApplication on the offscreen platform for every suite, Qt's test mode
// and a temporary data folder, so that nothing touches the real home folder or trash.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

// The desktop trash of the tests lives in a temporary data folder, never in the user's own.
void useTemporaryDataHome() {
    static std::string dataHome =
        std::filesystem::temp_directory_path().string() + "/pictaria-data-XXXXXX";
    if (::mkdtemp(dataHome.data())) {
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    useTemporaryDataHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
