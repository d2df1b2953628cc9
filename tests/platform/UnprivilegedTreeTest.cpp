// SPDX-License-Identifier: GPL-3.0-or-later
// Folder trees that an ordinary user may only partly change, with the permission faults made
// real by running the operation as nobody: nothing is deleted, copied or removed by halves.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FolderOperations.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Unprivileged.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::string errorName(const FsResult& result) {
    return result ? "ok" : std::string(strerrorname_np(result.error()));
}

class UnprivilegedTreeTest : public ::testing::Test {
  protected:
    UnprivilegedTreeTest() {
        drives.map('C', c.path()).map('D', d.path());
        for (const test::TempDir* dir : {&c, &d}) {
            ::chmod(dir->path().c_str(), 0755);
        }
        // C:\mine\2004 belongs to the user, but its subfolder "kept" (with k.jpg) does not.
        c.writeFile("mine/2004/a.jpg", "photo a");
        c.writeFile("mine/2004/kept/k.jpg", "photo k");
        for (const char* owned : {"mine", "mine/2004", "mine/2004/a.jpg"}) {
            test::giveToNobody(c.host(owned));
        }
        // C:\locked\2005 belongs to the user, inside a folder the user may not write to.
        c.writeFile("locked/2005/b.jpg", "photo b");
        for (const char* owned : {"locked/2005", "locked/2005/b.jpg"}) {
            test::giveToNobody(c.host(owned));
        }
        d.makeFolder("dest");
        test::giveToNobody(d.host("dest"));
    }

    void expectEveryPhotoWhereItWas() const {
        EXPECT_EQ(c.readFile("mine/2004/a.jpg"), "photo a");
        EXPECT_EQ(c.readFile("mine/2004/kept/k.jpg"), "photo k");
        EXPECT_EQ(c.readFile("locked/2005/b.jpg"), "photo b");
        EXPECT_TRUE(fs::is_empty(d.host("dest")));
    }

    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
};

TEST_F(UnprivilegedTreeTest, AFolderThatMayNotLeaveItsParentIsNeitherTrashedNorDeleted) {
    const std::string outcome = test::runAsNobody([] {
        return errorName(trashFolder("C:\\locked\\2005")) + " " +
               errorName(deleteFolderTree("C:\\locked\\2005"));
    });
    EXPECT_EQ(outcome, "EACCES EACCES");
    expectEveryPhotoWhereItWas();
}

TEST_F(UnprivilegedTreeTest, ATreeWithAPartThatCannotGoIsNotDeletedNorMovedAtAll) {
    const std::string outcome = test::runAsNobody([] {
        std::string movedTo;
        return errorName(deleteFolderTree("C:\\mine\\2004")) + " " +
               errorName(moveFolderInto("C:\\mine\\2004", "D:\\dest", movedTo));
    });
    EXPECT_EQ(outcome, "EACCES EACCES");
    expectEveryPhotoWhereItWas();
}

TEST_F(UnprivilegedTreeTest, AFolderOfTheUsersOwnMovesWhole) {
    c.writeFile("mine/2006/c.jpg", "photo c");
    test::giveToNobody(c.host("mine/2006"));
    test::giveToNobody(c.host("mine/2006/c.jpg"));
    const std::string outcome = test::runAsNobody([] {
        std::string movedTo;
        return errorName(moveFolderInto("C:\\mine\\2006", "D:\\dest", movedTo)) + " " + movedTo;
    });
    EXPECT_EQ(outcome, "ok D:\\dest\\2006");
    EXPECT_EQ(d.readFile("dest/2006/c.jpg"), "photo c");
    EXPECT_FALSE(c.exists("mine/2006"));
}

}  // namespace
}  // namespace pictaria
