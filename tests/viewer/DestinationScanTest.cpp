// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/DirectorySearch.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/DestinationScan.h"

namespace pictaria {
namespace {

// The lower list and the preview cycle follow the names as a person reads them, whatever order
// the file system keeps them in.
TEST(DestinationScan, ListsInNameOrder) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    for (const char* name : {"IMG_1576.JPG", "IMG_0568.JPG", "img_1000.jpg", "IMG_1891.JPG",
                             "a.CRW", "zz.bmp", "IMG_0002.JPG", "notes.txt", "B.jpg"}) {
        c.writeFile(std::string("Dest/") + name, "x");
    }
    c.makeFolder("Dest/Sub");
    c.makeFolder("Dest/2004");

    DirectorySearch search;
    const DestinationListing listing = scanDestination("C:\\Dest", search);

    EXPECT_EQ(listing.listNames,
              (std::vector<std::string>{"2004", "a.CRW", "B.jpg", "IMG_0002.JPG", "IMG_0568.JPG",
                                        "img_1000.jpg", "IMG_1576.JPG", "IMG_1891.JPG", "Sub",
                                        "zz.bmp"}));
    ASSERT_EQ(listing.previewPaths.size(), 8u);
    EXPECT_EQ(listing.previewPaths.front(), "C:\\Dest\\a.CRW");
    EXPECT_EQ(listing.previewPaths.back(), "C:\\Dest\\zz.bmp");
}

}  // namespace
}  // namespace pictaria
