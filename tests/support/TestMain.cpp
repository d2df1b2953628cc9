// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: the program's own application object (errors escaping a handler become
// messages) on the offscreen platform, Qt's test mode and a temporary data folder, so that
// nothing touches the real home folder or trash.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include <filesystem>

#include "support/TempDir.h"
#include "widgets/ErrorReportingApplication.h"

namespace {

// Every test starts with an empty trash, also when the whole suite runs in one process: the
// trash folder is read once per process by the desktop library, so it cannot change per test.
class EmptyTrashBeforeEachTest : public ::testing::EmptyTestEventListener {
  public:
    explicit EmptyTrashBeforeEachTest(std::filesystem::path trash) : trash_(std::move(trash)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        std::error_code ignored;
        std::filesystem::remove_all(trash_, ignored);
    }

  private:
    std::filesystem::path trash_;
};

}  // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(
        new EmptyTrashBeforeEachTest(std::filesystem::path(dataHome.path()) / "Trash"));
    return RUN_ALL_TESTS();
}
