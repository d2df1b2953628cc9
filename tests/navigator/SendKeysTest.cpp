// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "navigator/SendKeys.h"

namespace pictaria {
namespace {

// A key keeps its folder through a sort; the tenth folder takes the key used longest ago, and a
// forgotten folder's key is the next to be given.
TEST(SendKeysTest, KeysStayWithTheirFoldersAndTheOldestIsGivenAway) {
    SendKeys keys;
    for (int i = 1; i <= SendKeys::kKeys; ++i) {
        EXPECT_EQ(keys.use("D:\\" + std::to_string(i)), i);
    }
    EXPECT_EQ(keys.use("D:\\1"), 1);    // used again: its key stays, and it is the newest now
    EXPECT_EQ(keys.use("D:\\new"), 2);  // the key of D:\2, used longest ago
    EXPECT_EQ(keys.folderOfKey(2), "D:\\new");
    EXPECT_EQ(keys.folderOfKey(1), "D:\\1");

    keys.forget("D:\\5");
    EXPECT_EQ(keys.folderOfKey(5), "");
    EXPECT_EQ(keys.use("D:\\other"), 5);
    EXPECT_EQ(keys.folderOfKey(0), "");
    EXPECT_EQ(keys.folderOfKey(10), "");
    EXPECT_EQ(keys.use(""), 0);
}

// The folders the keyboard's pick passes on its way through the pages get no key; the one it
// rests on takes the first free key. A passed folder that is no longer the destination when the
// pick rests, or one that a command used meanwhile, takes none by the rest.
TEST(SendKeysTest, OnlyTheFolderThePickRestsOnTakesAKey) {
    SendKeys keys;
    for (const char* folder : {"C:\\", "C:\\tmp", "C:\\tmp\\card", "C:\\tmp\\family"}) {
        keys.pass(folder);
    }
    keys.rest("C:\\tmp\\family");
    EXPECT_EQ(keys.folderOfKey(1), "C:\\tmp\\family");
    EXPECT_EQ(keys.folderOfKey(2), "");

    keys.pass("C:\\tmp\\trips");
    keys.rest("C:\\tmp\\other");
    keys.rest("C:\\tmp\\trips");  // the pick moved on: resting later gives nothing either
    EXPECT_EQ(keys.folderOfKey(2), "");

    keys.pass("C:\\tmp\\friends");
    EXPECT_EQ(keys.use("D:\\"), 2);
    keys.rest("C:\\tmp\\friends");
    EXPECT_EQ(keys.folderOfKey(3), "");
}

}  // namespace
}  // namespace pictaria
