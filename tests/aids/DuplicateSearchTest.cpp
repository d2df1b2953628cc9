// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "aids/DuplicateSearch.h"
#include "fileops/VectorTickList.h"
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

TEST_F(DuplicateSearchTest, TicksCopiesAndTheReferenceButNotNearMisses) {
    const std::string picture(3 << 20, 'p');  // spans several comparison blocks
    std::string lastByteDiffers = picture;
    lastByteDiffers.back() = 'q';
    c.writeFile("src/ref.jpg", picture);
    c.writeFile("src/copy1.jpg", picture);
    c.writeFile("src/copy2.jpg", picture);
    c.writeFile("src/near.jpg", lastByteDiffers);
    c.writeFile("src/short.jpg", picture.substr(1));
    VectorTickList list({"ref.jpg", "copy1.jpg", "near.jpg", "gone.jpg", "short.jpg", "copy2.jpg"},
                        {false, false, false, false, false, false});
    EXPECT_EQ(tickIdenticalFiles(list, "C:\\src", "C:\\src\\ref.jpg"), 3);
    EXPECT_EQ(list.ticks(), (std::vector<bool>{true, true, false, false, false, true}));
}

TEST_F(DuplicateSearchTest, EmptyFilesAreEqualAndTicksAreNeverRemoved) {
    c.writeFile("src/empty.jpg", "");
    c.writeFile("src/also-empty.jpg", "");
    c.writeFile("src/other.jpg", "x");
    VectorTickList list({"also-empty.jpg", "other.jpg"}, {false, true});
    tickIdenticalFiles(list, "C:\\src", "C:\\src\\empty.jpg");
    EXPECT_EQ(list.ticks(), (std::vector<bool>{true, true}));
}

// A fifo named like a picture has no writer: opening it for reading must not wait for one.
TEST_F(DuplicateSearchTest, AFifoIsNoPictureAndNeverBlocks) {
    c.writeFile("src/empty.jpg", "");
    ASSERT_EQ(::mkfifo(c.host("src/pipe.jpg").c_str(), 0644), 0);
    VectorTickList list({"pipe.jpg", "empty.jpg"}, {false, false});
    EXPECT_EQ(tickIdenticalFiles(list, "C:\\src", "C:\\src\\empty.jpg"), 1);
    EXPECT_EQ(tickIdenticalFiles(list, "C:\\src", "C:\\src\\pipe.jpg"), 0);
    EXPECT_EQ(list.ticks(), (std::vector<bool>{false, true}));
}

TEST_F(DuplicateSearchTest, NoReferenceDoesNothing) {
    c.writeFile("src/a.jpg", "");
    VectorTickList list({"a.jpg"}, {false});
    EXPECT_EQ(tickIdenticalFiles(list, "C:\\src", ""), 0);
    EXPECT_EQ(tickIdenticalFiles(list, "C:\\src", "C:\\src\\missing.jpg"), 0);
    EXPECT_EQ(list.ticks(), std::vector<bool>{false});
}

}  // namespace
}  // namespace pictaria
