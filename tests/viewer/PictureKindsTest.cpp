// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "viewer/PictureKinds.h"

namespace pictaria {
namespace {

// Which in-program lists take a file name: decoded as JPEG, loaded as bitmap, listed in the
// destination, first preview, shown on a click.
struct KindCase {
    const char* name;
    bool jpeg, bitmap, folder, firstPreview, view;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

class ExtensionKinds : public testing::TestWithParam<KindCase> {};

TEST_P(ExtensionKinds, FollowEachListExactly) {
    const KindCase& c = GetParam();
    const std::string extension = extractFileExt(c.name);
    EXPECT_EQ(IsKind(extension, JpegKinds), c.jpeg);
    EXPECT_EQ(IsKind(extension, BitmapKinds), c.bitmap);
    EXPECT_EQ(IsKind(extension, FolderPictureKinds), c.folder);
    EXPECT_EQ(IsKind(extension, FirstPreviewKinds), c.firstPreview);
    EXPECT_EQ(IsKind(extension, ViewKinds), c.view);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtensionKinds,
    testing::Values(KindCase{"C:\\Photos\\IMG_0001.JPG", true, false, true, true, true},
                    KindCase{"scan.jpeg", true, false, true, true, false},
                    KindCase{"scan.JPEG", true, false, true, false, true},
                    KindCase{"photo.Jpg", false, false, false, false, false},
                    KindCase{"raw0001.CRW", false, false, true, false, false},
                    KindCase{"raw0001.crw", false, false, false, false, false},
                    KindCase{"archive.tar.JPG", true, false, true, true, true},
                    KindCase{"paint.bimp", false, true, false, true, false},
                    KindCase{"paint.BIMP", false, true, true, false, true},
                    KindCase{"paint.bmp", false, true, true, true, true},
                    KindCase{"README", false, false, false, false, false},
                    KindCase{"C:\\a.jpg\\README", false, false, false, false, false}));

TEST(BrowseFilter, OffersThePictureMaskThenEveryFile) {
    const std::string filter(BrowseFilter);
    const std::string pictures = "画像ファイル (*.*)|" + std::string(BrowseMask);
    EXPECT_EQ(filter, pictures + "|すべてのファイル (*.*)|*.*");
}

}  // namespace
}  // namespace pictaria
