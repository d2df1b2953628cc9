// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FileIo.h"
#include "platform/FolderOperations.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

class FolderOperationsTest : public ::testing::Test {
  protected:
    FolderOperationsTest() { drives.map('C', c.path()).map('D', d.path()); }

    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
};

TEST_F(FolderOperationsTest, RootsMountPointsAndHomeAreNeverTouched) {
    c.makeFolder("Photos/2004");
    EXPECT_TRUE(isProtectedFolder("C:\\"));
    EXPECT_TRUE(isProtectedFolder("d:\\"));
    EXPECT_FALSE(isProtectedFolder("C:\\Photos\\2004"));

    // A folder that holds another drive's root, or the home folder, is protected too.
    drives.map('E', c.host("Photos/2004"));
    EXPECT_TRUE(isProtectedFolder("C:\\Photos"));
    c.makeFolder("home/user");
    const std::string realHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", c.host("home/user").c_str(), 1);
    EXPECT_TRUE(isProtectedFolder("C:\\home"));
    EXPECT_TRUE(isProtectedFolder("C:\\home\\user"));
    ::setenv("HOME", realHome.c_str(), 1);
}

TEST_F(FolderOperationsTest, TrashKeepsTheFolderRestorable) {
    c.writeFile("Photos/2004/a.jpg", "picture");
    ASSERT_TRUE(trashFolder("C:\\Photos\\2004"));
    EXPECT_FALSE(c.exists("Photos/2004"));
    const fs::path trash = fs::path(std::getenv("XDG_DATA_HOME")) / "Trash";
    bool found = false;
    for (const auto& entry : fs::directory_iterator(trash / "info")) {
        const std::string name = entry.path().stem().string();
        if (name.starts_with("2004") && fs::exists(trash / "files" / name / "a.jpg")) {
            found = true;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(trashFolder("C:\\Photos\\Missing"));
}

TEST_F(FolderOperationsTest, MoveIntoAFolderTakesAFreeName) {
    c.writeFile("A/a.jpg", "moved");
    c.writeFile("B/A/old.jpg", "already there");
    std::string movedTo;
    ASSERT_TRUE(moveFolderInto("C:\\A", "C:\\B", movedTo));
    EXPECT_EQ(movedTo, "C:\\B\\A (2)");
    EXPECT_EQ(c.readFile("B/A (2)/a.jpg"), "moved");
    EXPECT_EQ(c.readFile("B/A/old.jpg"), "already there");
}

TEST_F(FolderOperationsTest, MoveIntoItselfIsRefusedAndWhereItIsDoesNothing) {
    c.makeFolder("A/Sub");
    drives.map('E', c.path());
    std::string movedTo;
    EXPECT_EQ(moveFolderInto("C:\\A", "C:\\A", movedTo).error(), EINVAL);
    EXPECT_EQ(moveFolderInto("C:\\A", "C:\\A\\Sub", movedTo).error(), EINVAL);
    EXPECT_EQ(moveFolderInto("C:\\A\\Sub", "C:\\A", movedTo).error(), EALREADY);
    EXPECT_EQ(moveFolderInto("C:\\A\\Sub", "E:\\A", movedTo).error(), EALREADY);
    EXPECT_EQ(c.tree().size(), 2u);
}

TEST_F(FolderOperationsTest, MoveAcrossFileSystemsCopiesTheWholeTree) {
    d.writeFile("Card/DCIM/a.jpg", "a");
    d.writeFile("Card/DCIM/b.jpg", "b");
    d.makeFolder("Card/Empty");
    c.makeFolder("Sorted");
    std::string movedTo;
    ASSERT_TRUE(moveFolderInto("D:\\Card", "C:\\Sorted", movedTo));
    EXPECT_EQ(movedTo, "C:\\Sorted\\Card");
    EXPECT_EQ(c.readFile("Sorted/Card/DCIM/a.jpg"), "a");
    EXPECT_EQ(c.readFile("Sorted/Card/DCIM/b.jpg"), "b");
    EXPECT_TRUE(c.exists("Sorted/Card/Empty"));
    EXPECT_FALSE(d.exists("Card"));
}

// Fails every copy after the first file, as a full disk would.
class FailAfterFirstFile : public FileIo {
  public:
    ssize_t copyChunk(int in, int out, std::size_t length) override {
        const ssize_t n = FileIo::copyChunk(in, out, length);
        if (n == 0 && ++filesDone > 1) {
            errno = ENOSPC;
            return -1;
        }
        return n;
    }
    int filesDone = 0;
};

TEST_F(FolderOperationsTest, FailedMoveAcrossFileSystemsLeavesTheSourceWhole) {
    d.writeFile("Card/a.jpg", "a");
    d.writeFile("Card/b.jpg", "b");
    d.writeFile("Card/c.jpg", "c");
    c.makeFolder("Sorted");
    FailAfterFirstFile full;
    test::FileIoScope scope(full);
    std::string movedTo;
    EXPECT_EQ(moveFolderInto("D:\\Card", "C:\\Sorted", movedTo).error(), ENOSPC);
    EXPECT_TRUE(fs::is_empty(c.host("Sorted")));
    EXPECT_EQ(d.readFile("Card/a.jpg"), "a");
    EXPECT_EQ(d.readFile("Card/b.jpg"), "b");
    EXPECT_EQ(d.readFile("Card/c.jpg"), "c");
}

TEST_F(FolderOperationsTest, StoppedMoveIsUndone) {
    d.writeFile("Card/a.jpg", "a");
    d.writeFile("Card/b.jpg", "b");
    c.makeFolder("Sorted");
    std::string movedTo;
    const auto stop = [](std::int64_t, std::int64_t) { return false; };
    EXPECT_EQ(moveFolderInto("D:\\Card", "C:\\Sorted", movedTo, stop).error(), ECANCELED);
    EXPECT_TRUE(fs::is_empty(c.host("Sorted")));
    EXPECT_TRUE(d.exists("Card/a.jpg") && d.exists("Card/b.jpg"));
}

// The copied tree is flushed, and so is its name once given, before the source goes; a flush
// that fails leaves the source the only copy.
TEST_F(FolderOperationsTest, MoveAcrossFileSystemsWhoseFlushFailsKeepsTheSource) {
    for (const auto kind : {test::FailingSync::FileSystems, test::FailingSync::Folders}) {
        d.writeFile("Card/DCIM/a.jpg", "a");
        c.makeFolder("Sorted");
        test::FailingSync failing(kind);
        test::FileIoScope scope(failing);
        std::string movedTo;
        EXPECT_EQ(moveFolderInto("D:\\Card", "C:\\Sorted", movedTo).error(), EIO) << kind;
        EXPECT_TRUE(fs::is_empty(c.host("Sorted"))) << kind;
        EXPECT_EQ(d.readFile("Card/DCIM/a.jpg"), "a");
    }
}

// Takes the card at `card` out (a lazy unmount) right after the `nth` name given there.
class CardTakenOutAfterNaming : public FileIo {
  public:
    CardTakenOutAfterNaming(std::string card, int nth) : card_(std::move(card)), left_(nth) {}
    int renameNoReplace(const char* from, const char* to) override {
        const int renamed = FileIo::renameNoReplace(from, to);
        if (renamed == 0 && --left_ == 0) {
            ::umount2(card_.c_str(), MNT_DETACH);
        }
        return renamed;
    }

  private:
    std::string card_;
    int left_;
};

// A card taken out part way through a folder move onto it, after its first photograph or right
// after the tree got its name there: nothing goes into the folder it leaves behind on the disk
// below, nothing of the source goes, and the move says why.
TEST_F(FolderOperationsTest, MoveOntoACardTakenOutPartWayKeepsTheSourceWhole) {
    for (const int nth : {1, 4}) {
        SCOPED_TRACE(nth);
        test::SmallTmpfs card(1 << 20);
        if (!card.mounted()) {
            GTEST_SKIP() << "no privilege to mount a tmpfs here";
        }
        drives.map('E', card.path());
        for (const char* name : {"Trip/a.jpg", "Trip/Day2/b.jpg", "Trip/c.jpg"}) {
            d.writeFile(name, name);
        }
        const auto source = d.tree();
        CardTakenOutAfterNaming takenOut(card.path(), nth);
        test::FileIoScope scope(takenOut);
        std::string movedTo;
        EXPECT_EQ(moveFolderInto("D:\\Trip", "E:\\", movedTo).error(), ENODEV);
        EXPECT_TRUE(fs::is_empty(card.path()));
        EXPECT_EQ(d.tree(), source);
    }
}

}  // namespace
}  // namespace pictaria
