// SPDX-License-Identifier: GPL-3.0-or-later
// A run of the program killed in the middle of its work: nothing stands under a real name before
// it is complete, and what was left behind goes to the trash at the next transfer into that
// folder.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileServices.h"
#include "platform/FolderOperations.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Trash.h"

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

TEST(InterruptedWork, AFolderMoveKilledHalfWayLeavesOnlyAHiddenPartialCopyThatGoesToTheTrash) {
    test::TempDir c;  // on the trash's file system
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
    drives.map('C', c.path()).map('D', d.path());
    for (const char* name : {"Trip/1.jpg", "Trip/2.jpg", "Trip/3.jpg"}) {
        d.writeFile(name, std::string(10000, name[5]));
    }
    c.makeFolder("dest");

    const pid_t mover = ::fork();
    if (mover == 0) {
        std::string movedTo;
        moveFolderInto("D:\\Trip", "C:\\dest", movedTo, [](std::int64_t, std::int64_t) {
            ::raise(SIGKILL);  // the power goes after the first photograph arrived
            return true;
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(mover, &status, 0), mover);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::vector<std::string> left = namesIn(c.host("dest"));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].starts_with(".pictaria-" + std::to_string(mover) + "-")) << left[0];
    EXPECT_EQ(namesIn(d.host("Trip")), (std::vector<std::string>{"1.jpg", "2.jpg", "3.jpg"}));

    // What the dead run left could be the only copy of something: where no trash takes it, it
    // stays; else it goes to the trash. Work of runs still going (ours, another's) stays.
    const std::string file = ".pictaria-" + std::to_string(mover) + "-77.part";
    const std::string ours = ".pictaria-" + std::to_string(::getpid()) + "-99.part";
    const std::string theirs = ".pictaria-" + std::to_string(::getppid()) + "-1.part";
    for (const std::string& name : {file, ours, theirs}) {
        c.writeFile("dest/" + name, "in progress");
    }
    std::vector<std::string> all{left[0], file, ours, theirs};
    std::sort(all.begin(), all.end());
    {
        test::NoTrash noTrash;
        EXPECT_EQ(removeLeftovers("C:\\dest"), 2);  // counted, for the user to be told
        EXPECT_EQ(namesIn(c.host("dest")), all);
    }
    EXPECT_EQ(removeLeftovers("C:\\dest"), 0);
    std::vector<std::string> running{ours, theirs};
    std::sort(running.begin(), running.end());
    EXPECT_EQ(namesIn(c.host("dest")), running);
    EXPECT_EQ(namesIn((test::trashFolder() / "files" / left[0]).string()).size(), 1u);
    EXPECT_EQ(test::trashedFiles()[file], "in progress");
    EXPECT_EQ(d.readFile("Trip/2.jpg"), std::string(10000, '2'));
}

}  // namespace
}  // namespace pictaria
