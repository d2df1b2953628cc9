// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>

#include "samples/SampleBitmap.h"
#include "samples/SamplePixels.h"
#include "viewer/BitmapFile.h"
#include "viewer/PictureLoadError.h"
#include "viewer/PictureMemory.h"

namespace pictaria {
namespace {

using samples::BitmapLayout;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

QImage read(const std::string& bytes) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return readBitmap(buffer);
}

struct BitmapCase {
    const char* label;
    BitmapLayout layout;
    std::uint32_t topLeft, bottomRight;  // expected colours
};

void PrintTo(const BitmapCase& c, std::ostream* out) {
    *out << c.label;
}

class BitmapVariants : public testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapVariants, LoadWithTheirColours) {
    const BitmapCase& c = GetParam();
    const QImage picture = read(samples::buildBitmap(c.layout));
    ASSERT_EQ(picture.size(), QSize(c.layout.width, c.layout.height));
    EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, c.topLeft);
    EXPECT_EQ(picture.pixel(c.layout.width - 1, c.layout.height - 1) & 0xFFFFFF, c.bottomRight);
}

// Pixel bytes as stored, embedded zeros included.
template <std::size_t N>
std::string stored(const char (&bytes)[N]) {
    return std::string(bytes, N - 1);
}

BitmapLayout twoRows24() {
    return BitmapLayout(1, 2, 24, stored("\0\xFF\0\0\0\0\xFF\0"));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BitmapVariants,
    testing::Values(
        // Bottom-up rows: the last stored row (red) is the top one.
        BitmapCase{"24 bits", twoRows24(), kRed, kGreen},
        BitmapCase{"24 bits top-down", twoRows24().storedTopDown(), kGreen, kRed},
        BitmapCase{"4-bit palette",
                   BitmapLayout(3, 1, 4, stored("\x01\x20\0\0")).withPalette({kRed, kGreen, kBlue}),
                   kRed, kBlue},
        BitmapCase{"RLE8",
                   BitmapLayout(2, 2, 8, stored("\x02\0\0\0\x02\x01\0\x01"))
                       .compressedAs(1)
                       .withPalette({kRed, kBlue}),
                   kBlue, kRed},
        // Qt widens 5-bit channels by shifting, so full red reads 0xF8.
        BitmapCase{"16-bit masks",
                   BitmapLayout(2, 1, 16, stored("\0\xF8\x1F\0"))
                       .compressedAs(3)
                       .withMasks(0xF800, 0x07E0, 0x001F),
                   0xF80000, 0x0000F8}));

TEST(BitmapWrittenByQt, RoundTripsEveryPixel) {
    const QImage gradient = samples::gradientPicture(33, 17);
    EXPECT_EQ(read(samples::saveBitmap(gradient)).convertToFormat(QImage::Format_RGB888), gradient);
}

// An alpha channel would let the panel show through: bitmaps are drawn opaque, in their colours.
TEST(BitmapWithAlpha, IsOpaque) {
    const QImage transparent =
        read(samples::buildBitmap(BitmapLayout(1, 1, 32, stored("\0\0\xFF\0"))
                                      .withAlphaMasks(0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000)));
    const QImage argb1555 =
        read(samples::buildBitmap(BitmapLayout(2, 1, 16, stored("\0\xFC\x1F\x80"))
                                      .withAlphaMasks(0x7C00, 0x03E0, 0x001F, 0x8000)));
    for (const QImage& picture : {transparent, argb1555}) {
        EXPECT_FALSE(picture.hasAlphaChannel());
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 255);
    }
    EXPECT_EQ(transparent.pixel(0, 0) & 0xFFFFFF, kRed);
    EXPECT_EQ(argb1555.pixel(0, 0) & 0xFFFFFF, 0xF80000u);
    EXPECT_EQ(argb1555.pixel(1, 0) & 0xFFFFFF, 0x0000F8u);
}

TEST(BrokenBitmap, ThrowsTheErrorTheUserSees) {
    const BitmapLayout enormous(100000, 100000, 24, "tiny");
    const std::string valid = samples::saveBitmap(samples::gradientPicture(16, 16));
    // A file cut in its pixels would show memory that is not its own where its rows are missing.
    const std::string photo = samples::saveBitmap(samples::gradientPicture(300, 200));
    const std::string halfPixels = photo.substr(0, photo.size() - 300 * 3 * 100);
    const std::string rle = samples::buildBitmap(
        BitmapLayout(2, 2, 8, stored("\x02\0\0\0")).compressedAs(1).withPalette({kRed, kBlue}));
    for (const std::string& bytes :
         {std::string(), std::string("BM"), std::string("GIF89a"), valid.substr(0, 30),
          samples::buildBitmap(enormous), halfPixels, rle}) {
        EXPECT_THROW(read(bytes), PictureLoadError) << bytes.size() << " bytes";
    }
}

// A bitmap's pixels count with every other picture held: charged while any copy lives, and a
// bitmap that does not fit is refused as lacking memory rather than made beside the others.
TEST(BitmapFile, CountsInThePicturesMemoryAndIsRefusedWhenItDoesNotFit) {
    QImage written(300, 200, QImage::Format_RGB32);
    written.fill(Qt::darkCyan);
    QByteArray data;
    QBuffer out(&data);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(written.save(&out, "BMP"));
    const auto readBack = [&data] {
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return readBitmap(buffer);
    };
    PictureMemory& memory = PictureMemory::shared();
    const std::size_t before = memory.used();
    const std::size_t limit = memory.limit();
    {
        const QImage held = readBack();
        EXPECT_EQ(held.pixel(299, 199), written.pixel(299, 199));
        EXPECT_GE(memory.used(), before + held.sizeInBytes());
    }
    EXPECT_EQ(memory.used(), before);
    memory.setLimit(before + 1000);
    EXPECT_THROW(readBack(), PictureLoadError);
    memory.setLimit(limit);
    EXPECT_EQ(memory.used(), before);
}

}  // namespace
}  // namespace pictaria
