// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "fileops/AttachText.h"
#include "fileops/VectorTickList.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

using Names = std::vector<std::string>;

class AttachTextTest : public ::testing::Test {
  protected:
    AttachTextTest() {
        drives.map('C', c.path());
        for (const char* name : {"a.jpg", "b.jpg", "Xa.jpg"}) {
            c.writeFile(std::string("photo/") + name, name);
        }
    }

    test::TempDir c;
    test::TestDrives drives;
};

TEST_F(AttachTextTest, TakenNameKeepsItsEntryOthersAreRenamedInPlace) {
    VectorTickList list({"a.jpg", "c.txt", "b.jpg"}, {true, false, true});
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", "X"), 1);
    EXPECT_EQ(list.names(), (Names{"a.jpg", "c.txt", "Xb.jpg"}));
    EXPECT_EQ(list.ticks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(c.readFile("photo/Xa.jpg"), "Xa.jpg");  // never replaced
    EXPECT_EQ(c.readFile("photo/Xb.jpg"), "b.jpg");
    EXPECT_TRUE(c.exists("photo/a.jpg"));
}

TEST_F(AttachTextTest, TwiceInARowAccumulatesAndSpacesAreKept) {
    VectorTickList list({"b.jpg"}, {true});
    attachTextToTicked(list, "C:\\photo", "Y");
    attachTextToTicked(list, "C:\\photo", "Y");
    EXPECT_EQ(list.names(), Names{"YYb.jpg"});
    attachTextToTicked(list, "C:\\photo", " trip ");
    EXPECT_EQ(list.names(), Names{" trip YYb.jpg"});
    EXPECT_TRUE(c.exists("photo/ trip YYb.jpg"));
}

TEST_F(AttachTextTest, DriveRootAndTrailingBackslashJoinWithOneBackslash) {
    c.writeFile("root.jpg", "r");
    VectorTickList list({"root.jpg"}, {true});
    attachTextToTicked(list, "C:\\", "trip_");
    EXPECT_TRUE(c.exists("trip_root.jpg"));
    VectorTickList inFolder({"b.jpg"}, {true});
    attachTextToTicked(inFolder, "C:\\photo\\", "trip_");
    EXPECT_TRUE(c.exists("photo/trip_b.jpg"));
}

TEST_F(AttachTextTest, TextsThatWouldMoveOrHideFilesRenameNothing) {
    c.makeFolder("photo/sub");
    VectorTickList list({"a.jpg"}, {true});
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", "sub\\"), 0);
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", "../"), 0);
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", ""), 0);
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", ".e"), 0);  // a leading dot hides a file
    EXPECT_EQ(attachTextToTicked(list, "C:\\photo", std::string(300, 'x')), 0);
    EXPECT_EQ(list.names(), Names{"a.jpg"});
    EXPECT_TRUE(c.exists("photo/a.jpg"));
}

}  // namespace
}  // namespace pictaria
