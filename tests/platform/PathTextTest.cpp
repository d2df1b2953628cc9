// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/PathText.h"

namespace pictaria {
namespace {

TEST(PathText, JoinFollowsTheRootRule) {
    EXPECT_EQ(joinPath("C:\\", "a.jpg"), "C:\\a.jpg");
    EXPECT_EQ(joinPath("c:\\", "a.jpg"), "c:\\a.jpg");
    EXPECT_EQ(joinPath("C:\\Photos", "a.jpg"), "C:\\Photos\\a.jpg");
    // Only the length counts: any three-character folder takes no backslash.
    EXPECT_EQ(joinPath("abc", "x"), "abcx");
}

TEST(PathText, ComponentsOfPathsWithMultiByteNames) {
    // 表 and ソ are the characters whose second Shift-JIS byte is a backslash; in UTF-8 they
    // must come out whole.
    const std::string folder = "D:\\写真\\表ソ";
    EXPECT_EQ(extractFileName(folder), "表ソ");
    EXPECT_EQ(extractFileDir(folder), "D:\\写真");
    EXPECT_EQ(extractFileName(joinPath(folder, "ソ表.JPG")), "ソ表.JPG");
    EXPECT_EQ(extractFileExt("D:\\表.ソ\\表ソ.jpg"), ".jpg");
    EXPECT_EQ(extractFileExt("D:\\表.ソ\\表ソ"), "");
    EXPECT_EQ(fileStem("D:\\表\\ソ.tar.jpg"), "ソ.tar");
    EXPECT_EQ(textPosition("ソ", "表ソ"), 4u);
}

TEST(PathText, ParentFolderKeepsTheBackslashOfADriveRoot) {
    EXPECT_EQ(extractFileDir("C:\\Photos\\2004"), "C:\\Photos");
    EXPECT_EQ(extractFileDir("C:\\Photos"), "C:\\");
    EXPECT_EQ(extractFileDir("C:\\"), "C:\\");
    EXPECT_EQ(extractFileDir("name.jpg"), "");
}

TEST(PathText, LastComponentAndExtension) {
    EXPECT_EQ(extractFileName("C:\\Photos\\2004"), "2004");
    EXPECT_EQ(extractFileName("C:\\"), "");
    EXPECT_EQ(extractFileName("C:a.jpg"), "a.jpg");
    EXPECT_EQ(extractFileExt("archive.tar.JPG"), ".JPG");
    EXPECT_EQ(extractFileExt("C:\\my.photos\\memo"), "");
    EXPECT_EQ(extractFileExt("C:\\x\\.hidden"), ".hidden");
    EXPECT_EQ(fileStem("memo"), "memo");
}

// Only the colon right after a leading drive letter separates; any other is part of a name.
TEST(PathText, ColonsInsideNamesAreOrdinaryCharacters) {
    struct Row {
        const char* path;
        const char* name;
        const char* dir;
        const char* ext;
    };
    const Row rows[] = {
        {"C:\\Photos\\12:30.jpg", "12:30.jpg", "C:\\Photos", ".jpg"},
        {"C:\\12:30\\a.b:c", "a.b:c", "C:\\12:30", ".b:c"},
        {"C:\\12:30", "12:30", "C:\\", ""},
        {"C:\\a:\\x", "x", "C:\\a:", ""},
        {"12:30 noon.jpg", "12:30 noon.jpg", "", ".jpg"},
        {"D:x.jpg", "x.jpg", "D:", ".jpg"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(extractFileName(row.path), row.name);
        EXPECT_EQ(extractFileDir(row.path), row.dir);
        EXPECT_EQ(extractFileExt(row.path), row.ext);
    }
}

TEST(PathText, TrailingBackslashAndPosition) {
    EXPECT_EQ(removeTrailingBackslash("C:\\Photos\\"), "C:\\Photos");
    EXPECT_EQ(removeTrailingBackslash("C:\\Photos"), "C:\\Photos");
    EXPECT_EQ(removeTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(textPosition(".", ".cache"), 1u);
    EXPECT_EQ(textPosition(".", "my.photos"), 3u);
    EXPECT_EQ(textPosition(".", "Photos"), 0u);
    EXPECT_EQ(textPosition("", "Photos"), 0u);
}

}  // namespace
}  // namespace pictaria
