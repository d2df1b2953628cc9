// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/PrintableName.h"

namespace pictaria {
namespace {

TEST(PrintableName, EscapesWhatCannotBeToldApartAndKeepsTheRest) {
    struct Row {
        std::string bytes;
        std::string shown;
    };
    const Row rows[] = {
        {"IMG_0001.JPG", "IMG_0001.JPG"},
        {"写真 表ソ.jpg", "写真 表ソ.jpg"},
        {"collide-\xfe.jpg", "collide-\\xFE.jpg"},
        {"collide-\xff.jpg", "collide-\\xFF.jpg"},
        {"collide-\xef\xbf\xbd.jpg", "collide-\xef\xbf\xbd.jpg"},  // a real U+FFFD stays
        {"caf\xe9.JPG", "caf\\xE9.JPG"},                           // Latin-1
        {"\x83\x65.JPG", "\\x83e.JPG"},                            // Shift-JIS
        {"a\nb\r\tc\x01\x7f", "a\\nb\\r\\tc\\x01\\x7F"},
        {"c1\xc2\x85", "c1\\xC2\\x85"},
        {"cut\xe5\x86", "cut\\xE5\\x86"},                    // a character cut short
        {"over\xc0\xaf", "over\\xC0\\xAF"},                  // an overlong '/'
        {"sur\xed\xa0\x80", "sur\\xED\\xA0\\x80"},           // a surrogate
        {"big\xf4\x90\x80\x80", "big\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
        {"emoji\xf0\x9f\x93\xb7", "emoji\xf0\x9f\x93\xb7"},
        {std::string("nul\0x", 5), "nul\\x00x"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(printableName(row.bytes), row.shown) << row.shown;
    }
}

TEST(PrintableName, MessagesMayKeepTheirLineBreaks) {
    EXPECT_EQ(printableName("削除しますか？\nC:\\a\xfe", LineBreaks::Keep),
              "削除しますか？\nC:\\a\\xFE");
}

}  // namespace
}  // namespace pictaria
