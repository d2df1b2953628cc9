// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "navigator/FolderGrid.h"
#include "platform/FileServices.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

using Names = std::vector<std::string>;

TEST(FolderGrid, RowsAlwaysHaveRoomForOneMoreEntry) {
    EXPECT_EQ(folderGridRows({}), (std::vector<Names>{Names(5)}));

    const auto five = folderGridRows({"1", "2", "3", "4", "5"});
    ASSERT_EQ(five.size(), 2u);
    EXPECT_EQ(five[0], (Names{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(five[1], Names(5));

    const auto seven = folderGridRows({"1", "2", "3", "4", "5", "6", "7"});
    ASSERT_EQ(seven.size(), 2u);
    EXPECT_EQ(seven[1], (Names{"6", "7", "", "", ""}));
}

TEST(FolderGrid, CaptionsCellsAndStatus) {
    EXPECT_EQ(pageCaption("C:\\"), "C:\\");
    EXPECT_EQ(pageCaption("C:\\Photos\\2004"), "2004");
    EXPECT_EQ(folderOfCell("C:\\", "Photos"), "C:\\Photos");
    EXPECT_EQ(folderOfCell("C:\\Photos", "2004"), "C:\\Photos\\2004");
    EXPECT_EQ(folderOfCell("", "D:\\"), "D:\\");
    EXPECT_EQ(destinationStatus("C:\\Photos", 3), "C:\\Photos 3個");
}

TEST(FolderGrid, ListsOnlyPlainVisibleFoldersSortedIgnoringCase) {
    test::TempDir dir;
    test::TestDrives drives;
    drives.map('C', dir.path());
    for (const char* name : {"b", "A", "c", ".cache", "my.photos", "Locked"}) {
        dir.makeFolder(std::string("Photos/") + name);
    }
    ::chmod(dir.host("Photos/Locked").c_str(), 0555);
    std::filesystem::create_directory_symlink(dir.host("Photos/b"), dir.host("Photos/Link"));
    dir.writeFile("Photos/file.jpg", "x");

    EXPECT_EQ(listPlainSubfolders("C:\\Photos"), (Names{"A", "b", "c", "my.photos"}));
    EXPECT_EQ(currentDir(), "C:\\Photos");
    EXPECT_TRUE(listPlainSubfolders("C:\\Missing").empty());
    ::chmod(dir.host("Photos/Locked").c_str(), 0755);
}

}  // namespace
}  // namespace pictaria
