// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>

#include "platform/DirectorySearch.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

std::map<std::string, std::uint32_t> listAll(const std::string& pattern, std::uint32_t mask) {
    std::map<std::string, std::uint32_t> found;
    DirectorySearch search;
    SearchEntry entry;
    for (bool more = search.findFirst(pattern, mask, entry); more; more = search.findNext(entry)) {
        found[entry.name] = entry.attributes;
    }
    return found;
}

class DirectorySearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        drives.map('C', dir.path());
        dir.makeFolder("Plain");
        dir.makeFolder(".cache");
        dir.makeFolder("my.photos");
        dir.makeFolder("Locked");
        ::chmod(dir.host("Locked").c_str(), 0555);
        dir.writeFile("a.jpg", "x");
        dir.writeFile("back\\slash.jpg", "x");
        ASSERT_EQ(::symlink(dir.host("Plain").c_str(), dir.host("Link").c_str()), 0);
        ASSERT_EQ(::mkfifo(dir.host("pipe").c_str(), 0644), 0);
    }
    void TearDown() override { ::chmod(dir.host("Locked").c_str(), 0755); }

    test::TempDir dir;
    test::TestDrives drives;
};

TEST_F(DirectorySearchTest, OnlyPlainRealFoldersCarryExactlyTheDirectoryAttribute) {
    const auto found = listAll("C:\\*.*", attr::AnyFile);
    EXPECT_EQ(found.at("Plain"), attr::Directory);
    EXPECT_EQ(found.at("my.photos"), attr::Directory);
    EXPECT_EQ(found.at(".cache"), attr::Directory | attr::Hidden);
    EXPECT_EQ(found.at("Locked"), attr::Directory | attr::ReadOnly);
    EXPECT_EQ(found.at("Link"), attr::ReparsePoint);
    EXPECT_EQ(found.at("pipe"), attr::System);
    EXPECT_EQ(found.at("a.jpg"), 0u);
    EXPECT_EQ(found.at("."), attr::Directory);
    EXPECT_EQ(found.at(".."), attr::Directory);
    // A name that cannot be written as path text is never offered.
    EXPECT_EQ(found.count("back\\slash.jpg"), 0u);
}

TEST_F(DirectorySearchTest, MaskPassesOverSpecialEntriesNotAsked) {
    const auto found = listAll("C:\\*.*", attr::Directory);
    EXPECT_EQ(found.count("Plain"), 1u);
    EXPECT_EQ(found.count("a.jpg"), 1u);  // plain files always qualify
    EXPECT_EQ(found.count(".cache"), 0u);
    EXPECT_EQ(found.count("pipe"), 0u);
    const auto filesOnly = listAll("C:\\*.*", 0);
    EXPECT_EQ(filesOnly.count("Plain"), 0u);
    EXPECT_EQ(filesOnly.count("a.jpg"), 1u);
}

TEST_F(DirectorySearchTest, RelativePatternSearchesTheCurrentFolderAndMissingFolderFindsNothing) {
    ASSERT_EQ(::chdir(dir.host("").c_str()), 0);
    EXPECT_EQ(listAll("*.jpg", attr::AnyFile).count("a.jpg"), 1u);
    EXPECT_TRUE(listAll("C:\\Missing\\*.*", attr::AnyFile).empty());
    EXPECT_TRUE(listAll("Q:\\*.*", attr::AnyFile).empty());
}

TEST(Wildcard, CaseInsensitiveStarsAndQuestionMarks) {
    const std::string mask =
        "*.jpg;*.jepg;*.bmp;*.bimp;*.crw;*raw;*.arw;*.pfg*.dng;*.rw2;*orf;*.raf;*.x3f";
    EXPECT_TRUE(matchesMask("IMG.JPG", mask));
    EXPECT_TRUE(matchesMask("a.Raw", mask));
    EXPECT_TRUE(matchesMask("draw", mask));  // "*raw" needs no dot
    EXPECT_TRUE(matchesMask("scan.jepg", mask));
    EXPECT_FALSE(matchesMask("scan.jpeg", mask));
    EXPECT_TRUE(matchesMask("x.pfgy.dng", mask));
    EXPECT_FALSE(matchesMask("x.dng", mask));
    EXPECT_TRUE(matchesMask("x.ORF", mask));
    EXPECT_TRUE(matchesMask("dorf", mask));  // "*orf" needs no dot either
    EXPECT_FALSE(matchesMask("color", mask));
    EXPECT_TRUE(matchesWildcard("anything", "*.*"));
    EXPECT_TRUE(matchesWildcard("表.jpg", "?.jpg"));
    EXPECT_FALSE(matchesWildcard("表表.jpg", "?.jpg"));
    EXPECT_FALSE(matchesMask("a.jpg", ""));
}

}  // namespace
}  // namespace pictaria
