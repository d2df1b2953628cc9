// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "navigator/FolderCommands.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Unprivileged.h"

namespace pictaria {
namespace {

// A folder the user owns inside a folder the user may not change: the trash refuses it for lack
// of permission, which is no reason to offer deleting it for good.
TEST(DeleteChosenFolder, APermissionRefusedIsToldAndNoDeleteForGoodIsOffered) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    ::chmod(c.path().c_str(), 0755);
    c.writeFile("locked/2004/a.jpg", "photo");
    test::giveToNobody(c.host("locked/2004"));
    test::giveToNobody(c.host("locked/2004/a.jpg"));

    const std::string outcome = test::runAsNobody([] {
        std::string asked;
        const FolderOutcome deleted =
            deleteChosenFolder("C:\\locked\\2004", "C:\\locked", [&](const std::string& question) {
                asked += "\nasked: " + question;
                return true;
            });
        return (deleted.ok() ? "deleted" : "kept") + asked + "\nshown: " + deleted.message;
    });
    EXPECT_EQ(outcome, "kept\nasked: " + std::string(kMoveToTrashQuestion) +
                           "C:\\locked\\2004\nshown: " + kDeleteFailedMessage +
                           "Permission denied");
    EXPECT_EQ(c.readFile("locked/2004/a.jpg"), "photo");
}

}  // namespace
}  // namespace pictaria
