// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>

#include "platform/FileIo.h"
#include "platform/FileServices.h"
#include "platform/HostFiles.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

bool noPartialFilesIn(const test::TempDir& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().ends_with(".part")) {
            return false;
        }
    }
    return true;
}

class FileServicesTest : public ::testing::Test {
  protected:
    FileServicesTest() { drives.map('C', disk.path()).map('D', shm.path()); }

    test::TempDir disk;
    test::TempDir shm{"/dev/shm"};  // a second file system
    test::TestDrives drives;
};

// The current folder is the program's own text: the process never enters it, so that a card
// holding it can be removed safely.
TEST_F(FileServicesTest, CurrentFolderIsKeptAsTheTextThatWasSet) {
    disk.makeFolder("Photos");
    disk.writeFile("photo.jpg", "x");
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);
    ASSERT_TRUE(setCurrentDir("c:\\Photos"));
    EXPECT_EQ(currentDir(), "c:\\Photos");
    char buffer[4096];
    EXPECT_EQ(std::string(::getcwd(buffer, sizeof buffer)), std::string(before));
    EXPECT_EQ(setCurrentDir("C:\\Missing").error(), ENOENT);
    EXPECT_EQ(setCurrentDir("C:\\photo.jpg").error(), ENOTDIR);
    EXPECT_EQ(currentDir(), "c:\\Photos");
}

TEST_F(FileServicesTest, CreateDirMakesOneLevelOnly) {
    EXPECT_TRUE(createDir("C:\\New"));
    EXPECT_TRUE(directoryExists("C:\\New"));
    EXPECT_EQ(createDir("C:\\New").error(), EEXIST);
    EXPECT_FALSE(createDir("C:\\A\\B"));
    EXPECT_FALSE(fileExists("C:\\New"));
}

TEST_F(FileServicesTest, DeleteFileRemovesFilesNeverFolders) {
    disk.writeFile("a.jpg", "x");
    disk.makeFolder("Sub");
    EXPECT_TRUE(deleteFile("C:\\a.jpg"));
    EXPECT_FALSE(disk.exists("a.jpg"));
    EXPECT_FALSE(deleteFile("C:\\Sub"));
    EXPECT_TRUE(disk.exists("Sub"));
    EXPECT_FALSE(deleteFile("C:\\a.jpg"));
}

TEST_F(FileServicesTest, MoveNeverReplacesAnExistingTarget) {
    disk.writeFile("a.jpg", "source");
    disk.writeFile("b.jpg", "target");
    const FsResult result = moveFile("C:\\a.jpg", "C:\\b.jpg");
    EXPECT_EQ(result.error(), EEXIST);
    EXPECT_EQ(disk.readFile("a.jpg"), "source");
    EXPECT_EQ(disk.readFile("b.jpg"), "target");
    EXPECT_TRUE(moveFile("C:\\a.jpg", "C:\\c.jpg"));
    EXPECT_EQ(disk.readFile("c.jpg"), "source");
    EXPECT_FALSE(disk.exists("a.jpg"));
}

TEST_F(FileServicesTest, MoveRenamesFolders) {
    disk.writeFile("2004/May/a.jpg", "x");
    EXPECT_TRUE(moveFile("C:\\2004", "C:\\2005"));
    EXPECT_EQ(disk.readFile("2005/May/a.jpg"), "x");
    disk.makeFolder("2006");
    EXPECT_EQ(moveFile("C:\\2005", "C:\\2006").error(), EEXIST);
    EXPECT_TRUE(disk.exists("2005/May/a.jpg"));
}

TEST_F(FileServicesTest, MoveAcrossFileSystemsCopiesThenRemovesTheSource) {
    // Longer than one copy step, not a multiple of a buffer, every piece different: a piece
    // written twice, out of order or dropped shows.
    std::string bytes((9 << 20) + 123, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    shm.writeFile("a.jpg", bytes);
    ::utimensat(AT_FDCWD, shm.host("a.jpg").c_str(),
                std::array<timespec, 2>{timespec{1000, 0}, timespec{1100000000, 0}}.data(), 0);
    ASSERT_TRUE(moveFile("D:\\a.jpg", "C:\\a.jpg"));
    EXPECT_EQ(disk.readFile("a.jpg"), bytes);
    EXPECT_FALSE(shm.exists("a.jpg"));
    struct stat st {};
    ::stat(disk.host("a.jpg").c_str(), &st);
    EXPECT_EQ(st.st_mtim.tv_sec, 1100000000);
    EXPECT_TRUE(noPartialFilesIn(disk));
}

TEST_F(FileServicesTest, MoveOfAFolderAcrossFileSystemsIsRefusedHere) {
    shm.writeFile("Dir/a.jpg", "x");
    EXPECT_EQ(moveFile("D:\\Dir", "C:\\Dir").error(), EXDEV);
    EXPECT_TRUE(shm.exists("Dir/a.jpg"));
    EXPECT_FALSE(disk.exists("Dir"));
}

TEST_F(FileServicesTest, CopyKeepsBytesAndDateAndNeverOverwrites) {
    disk.writeFile("a.jpg", "source bytes");
    disk.writeFile("b.jpg", "existing");
    EXPECT_EQ(copyFile("C:\\a.jpg", "C:\\b.jpg").error(), EEXIST);
    EXPECT_EQ(disk.readFile("b.jpg"), "existing");
    EXPECT_TRUE(copyFile("C:\\a.jpg", "D:\\a.jpg"));
    EXPECT_EQ(shm.readFile("a.jpg"), "source bytes");
    EXPECT_EQ(disk.readFile("a.jpg"), "source bytes");
    disk.writeFile("empty.jpg", "");
    EXPECT_TRUE(copyFile("C:\\empty.jpg", "D:\\empty.jpg"));
    EXPECT_TRUE(shm.exists("empty.jpg"));
    EXPECT_EQ(copyFile("C:\\missing.jpg", "D:\\m.jpg").error(), ENOENT);
}

// Makes the file system refuse the no-replace flag, as some FAT and FUSE mounts do.
class NoReplaceFlagRefused : public FileIo {
  public:
    int renameNoReplace(const char*, const char*) override {
        errno = EINVAL;
        return -1;
    }
};

TEST_F(FileServicesTest, FailedCopyLeavesNoPartialFileAndTheSourceWhole) {
    const std::string bytes(50000, 'p');
    shm.writeFile("a.jpg", bytes);
    test::FailingCopy full(1);
    test::FileIoScope scope(full);
    EXPECT_EQ(copyFile("D:\\a.jpg", "C:\\a.jpg").error(), ENOSPC);
    EXPECT_EQ(moveFile("D:\\a.jpg", "C:\\b.jpg").error(), ENOSPC);
    EXPECT_FALSE(disk.exists("a.jpg"));
    EXPECT_FALSE(disk.exists("b.jpg"));
    EXPECT_TRUE(noPartialFilesIn(disk));
    EXPECT_EQ(shm.readFile("a.jpg"), bytes);
}

TEST_F(FileServicesTest, MoveWhoseSourceCannotBeRemovedIsUndone) {
    shm.writeFile("a.jpg", "only copy");
    test::RefusedRemoval readOnlySource(shm.path());
    test::FileIoScope scope(readOnlySource);
    EXPECT_FALSE(moveFile("D:\\a.jpg", "C:\\a.jpg"));
    EXPECT_EQ(shm.readFile("a.jpg"), "only copy");
    EXPECT_FALSE(disk.exists("a.jpg"));
}

TEST_F(FileServicesTest, RefusedNoReplaceFlagFallsBackWithoutReplacing) {
    disk.writeFile("a.jpg", "a");
    disk.writeFile("b.jpg", "b");
    disk.makeFolder("F");
    disk.makeFolder("G");
    NoReplaceFlagRefused fat;
    test::FileIoScope scope(fat);
    EXPECT_EQ(moveFile("C:\\a.jpg", "C:\\b.jpg").error(), EEXIST);
    EXPECT_EQ(disk.readFile("b.jpg"), "b");
    EXPECT_TRUE(moveFile("C:\\a.jpg", "C:\\c.jpg"));
    EXPECT_EQ(disk.readFile("c.jpg"), "a");
    EXPECT_EQ(moveFile("C:\\F", "C:\\G").error(), EEXIST);
    EXPECT_TRUE(moveFile("C:\\F", "C:\\H"));
    EXPECT_TRUE(disk.exists("H"));
}

TEST_F(FileServicesTest, TwoLettersReachingOneFolderNeverLoseTheFile) {
    drives.map('E', disk.path());
    disk.writeFile("a.jpg", "only copy");
    EXPECT_EQ(moveFile("C:\\a.jpg", "E:\\a.jpg").error(), EEXIST);
    EXPECT_EQ(disk.readFile("a.jpg"), "only copy");
}

TEST_F(FileServicesTest, OverlongPathsFailCleanly) {
    const std::string longName(300, 'n');
    disk.writeFile("a.jpg", "x");
    EXPECT_FALSE(moveFile("C:\\a.jpg", "C:\\" + longName));
    EXPECT_FALSE(createDir("C:\\" + longName));
    EXPECT_TRUE(disk.exists("a.jpg"));
}

}  // namespace
}  // namespace pictaria
