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

}  // namespace
}  // namespace pictaria
