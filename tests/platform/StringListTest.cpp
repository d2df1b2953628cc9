// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QObject>

#include "platform/StringList.h"

namespace pictaria {
namespace {

TEST(StringListTest, SortIgnoresCaseAndKeepsTheOrderOfEqualEntries) {
    StringList list;
    for (const char* text : {"b", "A", "c", "B", "a"}) {
        list.add(text);
    }

    list.sort();

    EXPECT_EQ(list.texts(), (std::vector<std::string>{"A", "a", "b", "B", "c"}));
}

TEST(StringListTest, ObjectsTravelWithTheirEntries) {
    QObject first, second;
    StringList list;
    list.add("C:\\Photos\\b", &first);
    list.add("C:\\Photos\\a", &second);
    list.add("C:\\Photos\\c");

    list.sort();

    EXPECT_EQ(list[0], "C:\\Photos\\a");
    EXPECT_EQ(list.objectAt(0), &second);
    EXPECT_EQ(list.objectAt(1), &first);
    EXPECT_EQ(list.objectAt(2), nullptr);
}

TEST(StringListTest, NamesThatAreNotUtf8SurviveSorting) {
    StringList list;
    list.add("\xff\xfe");
    list.add("写真");
    list.add("abc");
    list.sort();

    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list[0], "abc");
    auto texts = list.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "\xff\xfe"), texts.end());
}

}  // namespace
}  // namespace pictaria
