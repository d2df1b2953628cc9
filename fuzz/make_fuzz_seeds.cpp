// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the small pictures the fuzz targets start from: make_fuzz_seeds JPEG_DIR BITMAP_DIR.
#include <QColor>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "../tests/viewer/TestProfiles.h"
#include "samples/SampleBitmap.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"

namespace {

using namespace pictaria::samples;
namespace test = pictaria::test;
namespace fs = std::filesystem;

using Seeds = std::vector<std::pair<std::string, std::string>>;  // file name, bytes

Seeds jpegSeeds() {
    const QImage gradient = gradientPicture(17, 9);
    const QImage grain = grainyPicture(24, 16, 3);
    return {
        {"baseline.jpg", encodeJpeg(gradient)},
        {"grain.jpg", encodeJpeg(grain, {JpegColour::Rgb, 75})},
        {"progressive.jpg", encodeJpeg(grain, {JpegColour::Rgb, 90, true})},
        {"gray.jpg", encodeJpeg(gradient, {JpegColour::Gray})},
        {"gray-progressive.jpg", encodeJpeg(grain, {JpegColour::Gray, 90, true})},
        {"cmyk.jpg", encodeJpeg(gradient, {JpegColour::AdobeCmyk})},
        {"ycck-progressive.jpg", encodeJpeg(grain, {JpegColour::AdobeYcck, 90, true})},
        {"restarts.jpg", encodeJpeg(grain, {JpegColour::Rgb, 90, false, 1})},
        // Stored on its side: the EXIF orientation is read and the picture turned.
        {"oriented.jpg", withExif(encodeJpeg(grain), orientationTiff(6))},
        {"mirrored-progressive.jpg",
         withExif(encodeJpeg(grain, {JpegColour::Rgb, 90, true}), orientationTiff(7))},
        // Carrying ICC profiles, one of them split over several segments.
        {"adobe-rgb.jpg",
         test::withIccProfile(encodeJpeg(grain), test::rgbProfile(test::kAdobeRgbLike, 2.2))},
        {"prophoto-split.jpg",
         test::withIccProfile(encodeJpeg(gradient), test::rgbProfile(test::kProPhotoLike, 1.8),
                              200)},
        {"gray-profile.jpg",
         test::withIccProfile(encodeJpeg(gradient, {JpegColour::Gray}), test::grayProfile(1))},
        {"cmyk-profile.jpg", test::withIccProfile(encodeJpeg(gradient, {JpegColour::AdobeCmyk}),
                                                  test::swappedInksProfile())},
    };
}

Seeds bitmapSeeds() {
    const QImage gradient = gradientPicture(7, 5);
    constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    return {
        {"rgb24.bmp", saveBitmap(gradient)},
        {"indexed8.bmp", saveBitmap(gradient.convertToFormat(QImage::Format_Indexed8))},
        {"mono.bmp", saveBitmap(gradient.convertToFormat(QImage::Format_Mono))},
        {"argb32.bmp", saveBitmap(gradient.convertToFormat(QImage::Format_ARGB32))},
        {"rle8.bmp",
         buildBitmap(BitmapLayout(3, 2, 8, std::string("\x03\x00\x00\x00\x02\x01\x00\x01", 8))
                         .compressedAs(1)
                         .withPalette({red, blue}))},
        {"rle4.bmp", buildBitmap(BitmapLayout(4, 1, 4, std::string("\x04\x12\x00\x01", 4))
                                     .compressedAs(2)
                                     .withPalette({red, green, blue}))},
        {"argb1555.bmp", buildBitmap(BitmapLayout(2, 1, 16, std::string("\x00\xFC\x1F\x80", 4))
                                         .withAlphaMasks(0x7C00, 0x03E0, 0x001F, 0x8000))},
        {"masks16.bmp", buildBitmap(BitmapLayout(2, 1, 16, std::string("\x00\xF8\x1F\x00", 4))
                                        .compressedAs(3)
                                        .withMasks(0xF800, 0x07E0, 0x001F))},
        {"top-down.bmp",
         buildBitmap(
             BitmapLayout(1, 2, 24, std::string("\0\xFF\0\0\0\0\xFF\0", 8)).storedTopDown())},
        {"v5-profile.bmp", test::v5Bitmap(3, 2, 0xF08C1E, test::kProfileEmbedded,
                                          test::rgbProfile(test::kAdobeRgbLike, 2.2))},
    };
}

bool writeSeeds(const fs::path& folder, const Seeds& seeds) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "cannot write " << (folder / name) << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_fuzz_seeds JPEG_DIR BITMAP_DIR\n";
        return 2;
    }
    return writeSeeds(argv[1], jpegSeeds()) && writeSeeds(argv[2], bitmapSeeds()) ? 0 : 1;
}
