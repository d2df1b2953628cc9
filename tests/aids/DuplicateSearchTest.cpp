// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "aids/DuplicateSearch.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

class DuplicateSearchTest : public ::testing::Test {
  protected:
    DuplicateSearchTest() { drives.map('C', c.path()); }

    test::TempDir c;
    test::TestDrives drives;
};

using Names = std::vector<std::string>;

TEST_F(DuplicateSearchTest, FindsCopiesAndTheReferenceButNotNearMisses) {
    const std::string picture(3 << 20, 'p');  // spans several comparison blocks
    std::string lastByteDiffers = picture;
    lastByteDiffers.back() = 'q';
    c.writeFile("src/ref.jpg", picture);
    c.writeFile("src/copy1.jpg", picture);
    c.writeFile("src/copy2.jpg", picture);
    c.writeFile("src/near.jpg", lastByteDiffers);
    c.writeFile("src/short.jpg", picture.substr(1));
    EXPECT_EQ(identicalFilesAmong(
                  {"ref.jpg", "copy1.jpg", "near.jpg", "gone.jpg", "short.jpg", "copy2.jpg"},
                  "C:\\src", "C:\\src\\ref.jpg"),
              (Names{"ref.jpg", "copy1.jpg", "copy2.jpg"}));
}

TEST_F(DuplicateSearchTest, EmptyFilesAreEqual) {
    c.writeFile("src/empty.jpg", "");
    c.writeFile("src/also-empty.jpg", "");
    c.writeFile("src/other.jpg", "x");
    EXPECT_EQ(identicalFilesAmong({"also-empty.jpg", "other.jpg"}, "C:\\src", "C:\\src\\empty.jpg"),
              Names{"also-empty.jpg"});
}

// A fifo named like a picture has no writer: opening it for reading must not wait for one.
TEST_F(DuplicateSearchTest, AFifoIsNoPictureAndNeverBlocks) {
    c.writeFile("src/empty.jpg", "");
    ASSERT_EQ(::mkfifo(c.host("src/pipe.jpg").c_str(), 0644), 0);
    const Names names{"pipe.jpg", "empty.jpg"};
    EXPECT_EQ(identicalFilesAmong(names, "C:\\src", "C:\\src\\empty.jpg"), Names{"empty.jpg"});
    EXPECT_EQ(identicalFilesAmong(names, "C:\\src", "C:\\src\\pipe.jpg"), Names{});
}

TEST_F(DuplicateSearchTest, NoReferenceFindsNothing) {
    c.writeFile("src/a.jpg", "");
    EXPECT_EQ(identicalFilesAmong({"a.jpg"}, "C:\\src", ""), Names{});
    EXPECT_EQ(identicalFilesAmong({"a.jpg"}, "C:\\src", "C:\\src\\missing.jpg"), Names{});
}

}  // namespace
}  // namespace pictaria
