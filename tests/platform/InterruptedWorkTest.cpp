// SPDX-License-Identifier: GPL-3.0-or-later
// A run of the program killed in the middle of its work: nothing stands under a real name before
// it is complete, and what was left behind is cleared by the next transfer into that folder.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileServices.h"
#include "platform/FolderOperations.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(InterruptedWork, AFolderMoveKilledHalfWayLeavesOnlyAHiddenPartialCopyThatIsClearedLater) {
    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
    drives.map('C', c.path()).map('D', d.path());
    for (const char* name : {"Trip/1.jpg", "Trip/2.jpg", "Trip/3.jpg"}) {
        c.writeFile(name, std::string(10000, name[5]));
    }
    d.makeFolder("dest");

    const pid_t mover = ::fork();
    if (mover == 0) {
        std::string movedTo;
        moveFolderInto("C:\\Trip", "D:\\dest", movedTo, [](std::int64_t, std::int64_t) {
            ::raise(SIGKILL);  // the power goes after the first photograph arrived
            return true;
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(mover, &status, 0), mover);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::vector<std::string> left = namesIn(d.host("dest"));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].starts_with(".pictaria-" + std::to_string(mover) + "-")) << left[0];
    EXPECT_EQ(namesIn(c.host("Trip")), (std::vector<std::string>{"1.jpg", "2.jpg", "3.jpg"}));

    // Work of a run that is still going is left alone.
    const std::string ours = ".pictaria-" + std::to_string(::getpid()) + "-99.part";
    d.writeFile("dest/" + ours, "in progress");
    removeLeftovers("D:\\dest");
    EXPECT_EQ(namesIn(d.host("dest")), std::vector<std::string>{ours});
    EXPECT_EQ(c.readFile("Trip/2.jpg"), std::string(10000, '2'));
}

}  // namespace
}  // namespace pictaria
