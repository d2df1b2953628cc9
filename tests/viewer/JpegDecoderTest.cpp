// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTransform>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/ExifOrientation.h"
#include "viewer/JpegDecoder.h"
#include "viewer/JpegFile.h"
#include "viewer/PictureMemory.h"

namespace pictaria {
namespace {

using samples::encodeJpeg;
using samples::JpegColour;
using samples::JpegSettings;

LoadedPicture decode(const std::string& jpeg, const ScaleChooser& scaleFor = fullScale,
                     bool palette = false, const JpegLimits& limits = defaultJpegLimits()) {
    JpegDecoder decoder(limits);
    return decoder.decodeBytes(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                               scaleFor, palette);
}

std::string failureText(const std::string& jpeg, const JpegLimits& limits = defaultJpegLimits()) {
    JpegDecoder decoder(limits);
    const LoadedPicture picture = decoder.decodeBytes(
        reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), fullScale, false);
    return picture.loaded() ? std::string() : decoder.errorText();
}

// Colours match within what JPEG compression may shift them.
testing::AssertionResult closeColour(QRgb actual, QColor expected, int tolerance = 12) {
    const bool close = std::abs(qRed(actual) - expected.red()) <= tolerance &&
                       std::abs(qGreen(actual) - expected.green()) <= tolerance &&
                       std::abs(qBlue(actual) - expected.blue()) <= tolerance;
    if (close) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << QColor(actual).name().toStdString() << " is not near "
                                       << expected.name().toStdString();
}

// A progressive file whose last scan is repeated until it holds `scans` scans in all.
std::string withScanCount(const std::string& progressive, int scans) {
    const std::size_t lastScan = progressive.rfind("\xFF\xDA");
    const std::size_t end = progressive.size() - 2;  // before EOI
    const std::string scan = progressive.substr(lastScan, end - lastScan);
    std::string hostile = progressive.substr(0, end);
    int present = 0;
    for (std::size_t at = progressive.find("\xFF\xDA"); at != std::string::npos;
         at = progressive.find("\xFF\xDA", at + 2)) {
        ++present;
    }
    for (int i = present; i < scans; ++i) {
        hostile += scan;
    }
    return hostile + "\xFF\xD9";
}

struct ColourCase {
    const char* label;
    JpegSettings settings;
    QImage::Format format;
};

void PrintTo(const ColourCase& c, std::ostream* out) {
    *out << c.label;
}

class JpegVariants : public testing::TestWithParam<ColourCase> {};

TEST_P(JpegVariants, DecodeToTheirColoursAtFullSize) {
    const QColor orange(240, 140, 30);
    const QColor gray(qGray(orange.rgb()), qGray(orange.rgb()), qGray(orange.rgb()));
    const ColourCase& c = GetParam();
    const LoadedPicture picture =
        decode(encodeJpeg(samples::solidPicture(37, 21, orange), c.settings));
    ASSERT_TRUE(picture.loaded());
    EXPECT_EQ(picture.naturalSize, QSize(37, 21));
    EXPECT_EQ(picture.image.size(), QSize(37, 21));
    EXPECT_EQ(picture.image.format(), c.format);
    const QColor expected = c.settings.colour == JpegColour::Gray ? gray : orange;
    EXPECT_TRUE(closeColour(picture.image.pixel(18, 10), expected));
    EXPECT_TRUE(closeColour(picture.image.pixel(36, 20), expected));
}

INSTANTIATE_TEST_SUITE_P(
    Files, JpegVariants,
    testing::Values(
        ColourCase{"baseline", {}, QImage::Format_RGB32},
        ColourCase{"progressive", {JpegColour::Rgb, 90, true}, QImage::Format_RGB32},
        ColourCase{"restart markers", {JpegColour::Rgb, 90, false, 1}, QImage::Format_RGB32},
        ColourCase{"gray", {JpegColour::Gray}, QImage::Format_Grayscale8},
        ColourCase{"Adobe CMYK", {JpegColour::AdobeCmyk}, QImage::Format_RGB32},
        ColourCase{"Adobe YCCK", {JpegColour::AdobeYcck, 90, true}, QImage::Format_RGB32}));

TEST(JpegScaling, DecodesAtTheChosenScaleAndKeepsTheFrameSize) {
    const std::string jpeg = encodeJpeg(samples::gradientPicture(801, 403));
    int askedWidth = 0;
    const LoadedPicture picture = decode(jpeg, [&](int width, int) {
        askedWidth = width;
        return 4;
    });
    EXPECT_EQ(askedWidth, 801);
    EXPECT_EQ(picture.naturalSize, QSize(801, 403));
    EXPECT_EQ(picture.image.size(), QSize(201, 101));
}

TEST(JpegPalette, GivesEightBitIndicesForColourAndGrayForGray) {
    const QImage gradient = samples::gradientPicture(64, 48);
    const LoadedPicture colour = decode(encodeJpeg(gradient), fullScale, true);
    EXPECT_EQ(colour.image.format(), QImage::Format_Indexed8);
    EXPECT_LE(colour.image.colorCount(), 256);
    EXPECT_TRUE(closeColour(colour.image.pixel(63, 47), QColor(255, 255, 255), 24));
    const LoadedPicture inks =
        decode(encodeJpeg(gradient, {JpegColour::AdobeCmyk}), fullScale, true);
    EXPECT_EQ(inks.image.format(), QImage::Format_Indexed8);
    const LoadedPicture gray = decode(encodeJpeg(gradient, {JpegColour::Gray}), fullScale, true);
    EXPECT_EQ(gray.image.format(), QImage::Format_Grayscale8);
}

TEST(JpegDamage, TruncatedFileShowsTheRowsThatArrivedOverGray) {
    const QColor blue(20, 40, 220);
    // Blue on top; grain below makes the bulk of the file, so half of it keeps the top.
    QImage content = samples::grainyPicture(64, 256, 7);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            content.setPixelColor(x, y, blue);
        }
    }
    const std::string whole = encodeJpeg(content);
    const std::string truncated = whole.substr(0, whole.size() / 2);
    JpegDecoder decoder;
    const LoadedPicture picture =
        decoder.decodeBytes(reinterpret_cast<const unsigned char*>(truncated.data()),
                            truncated.size(), fullScale, false);
    ASSERT_TRUE(picture.loaded()) << decoder.errorText();
    EXPECT_GT(decoder.warningCount(), 0);
    EXPECT_TRUE(closeColour(picture.image.pixel(10, 2), blue));
    EXPECT_TRUE(closeColour(picture.image.pixel(10, 250), QColor(128, 128, 128)));
}

TEST(JpegDamage, JunkBehindTheLastRowDoesNotMatter) {
    const std::string jpeg = encodeJpeg(samples::gradientPicture(40, 30));
    const std::string withJunk = jpeg.substr(0, jpeg.size() - 2) + "\xFF\xDA\x00\x02\x01junk";
    EXPECT_TRUE(decode(withJunk).loaded());
}

TEST(JpegDamage, NotAJpegFails) {
    EXPECT_NE(failureText("GIF89a this is no JPEG at all"), "");
    EXPECT_NE(failureText(std::string(1, '\xFF')), "");
    EXPECT_NE(failureText(""), "");
    EXPECT_NE(failureText("\xFF\xD8\xFF\xD9"), "");
}

TEST(JpegLimits, HugeFrameFailsBeforeAnyLargeAllocation) {
    const std::string small = encodeJpeg(samples::gradientPicture(16, 16));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(failureText(samples::withFrameSize(small, 60000, 60000)), "JPEG picture too large");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    JpegLimits tight = defaultJpegLimits();
    tight.maxPixelBytes = 16 * 16 * 4;
    EXPECT_EQ(failureText(small, tight), "");
    tight.maxPixelBytes -= 1;
    EXPECT_EQ(failureText(small, tight), "JPEG picture too large");
}

// A small file whose header claims a frame just under the pixel limit cannot take the process
// past its budget: the output and libjpeg's whole-frame coefficients must fit together.
TEST(JpegLimits, ForgedFramesStayWithinTheDecodeBudget) {
    const std::string progressive =
        encodeJpeg(samples::gradientPicture(16, 16), {JpegColour::Rgb, 90, true});
    JpegLimits limits = defaultJpegLimits();
    limits.maxMemory = 56L << 20;
    const std::string forged = samples::withFrameSize(progressive, 3000, 3000);
    EXPECT_NE(failureText(forged, limits), "");  // 36 MB of pixels and 27 MB of coefficients
    limits.maxMemory = 64L << 20;
    EXPECT_EQ(failureText(forged, limits), "");
    EXPECT_EQ(decode(
                  forged, [](int, int) { return 8; }, false, limits)
                  .loaded(),
              true);
}

TEST(JpegLimits, ProgressiveFileWithTooManyScansFails) {
    const std::string progressive =
        encodeJpeg(samples::gradientPicture(32, 32), {JpegColour::Rgb, 90, true});
    JpegLimits limits = defaultJpegLimits();
    limits.maxScans = 40;
    EXPECT_EQ(failureText(withScanCount(progressive, 40), limits), "");
    EXPECT_EQ(failureText(withScanCount(progressive, 41), limits),
              "Too many scans in a progressive JPEG file");
    EXPECT_NE(failureText(withScanCount(progressive, 2000)), "");
}

}  // namespace
}  // namespace pictaria

namespace pictaria {
namespace {

// A picture whose corners carry four colours, to see where each ends up.
const QColor kCorners[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};  // TL, TR, BL, BR

QImage cornerPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixelColor(x, y, kCorners[(y >= height / 2) * 2 + (x >= width / 2)]);
        }
    }
    return picture;
}

// The stored corner (0 TL, 1 TR, 2 BL, 3 BR) that each shown corner holds, for orientations 1-8,
// as the EXIF tag places the stored first row and column.
const int kShownCorners[9][4] = {
    {},           {0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1},
    {0, 2, 1, 3}, {2, 0, 3, 1}, {3, 1, 2, 0}, {1, 3, 0, 2},
};

TEST(JpegOrientation, EveryOrientationIsShownUprightAtItsUprightSize) {
    const std::string stored = encodeJpeg(cornerPicture(64, 32));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        int askedWidth = 0;
        const LoadedPicture picture = decode(
            samples::withExif(stored, samples::orientationTiff(orientation)), [&](int width, int) {
                askedWidth = width;
                return 1;
            });
        const bool turned = orientation >= 5;
        EXPECT_EQ(picture.naturalSize, turned ? QSize(32, 64) : QSize(64, 32));
        EXPECT_EQ(picture.image.size(), picture.naturalSize);
        EXPECT_EQ(askedWidth, picture.naturalSize.width());
        const QImage& shown = picture.image;
        const QPoint corners[4] = {{2, 2},
                                   {shown.width() - 3, 2},
                                   {2, shown.height() - 3},
                                   {shown.width() - 3, shown.height() - 3}};
        for (int corner = 0; corner < 4; ++corner) {
            EXPECT_TRUE(closeColour(shown.pixel(corners[corner]),
                                    kCorners[kShownCorners[orientation][corner]]))
                << "corner " << corner;
        }
    }
}

// The stored picture turned and mirrored upright by the toolkit's own transforms: the reference
// for the turn the decoder makes while it reads.
QImage uprightPicture(const QImage& stored, int orientation) {
    switch (orientation) {
        case 2:
            return stored.mirrored(true, false);
        case 3:
            return stored.mirrored(true, true);
        case 4:
            return stored.mirrored(false, true);
        case 5:
            return stored.transformed(QTransform().rotate(90)).mirrored(true, false);
        case 6:
            return stored.transformed(QTransform().rotate(90));
        case 7:
            return stored.transformed(QTransform().rotate(90)).mirrored(false, true);
        case 8:
            return stored.transformed(QTransform().rotate(270));
        default:
            return stored;
    }
}

// A picture turned while it is read, strip by strip, is pixel for pixel the stored picture turned
// afterwards, in colour and in gray, for pictures spanning several strips, square ones too; the
// picture handed on is the one buffer charged to the pictures' memory, never a second full-size
// copy of it.
TEST(JpegOrientation, TurnedWhileReadIntoItsOnlyBuffer) {
    for (const auto& [colour, side] :
         {std::pair{JpegColour::Rgb, 203}, std::pair{JpegColour::Rgb, 150},
          std::pair{JpegColour::Gray, 203}, std::pair{JpegColour::AdobeCmyk, 203}}) {
        const std::string stored =
            encodeJpeg(samples::grainyPicture(150, side, 5), {colour, 90});  // 150: square
        const QImage plain = decode(stored).image;
        for (int orientation = 2; orientation <= 8; ++orientation) {
            SCOPED_TRACE(orientation);
            const std::size_t before = PictureMemory::shared().used();
            const LoadedPicture turned =
                decode(samples::withExif(stored, samples::orientationTiff(orientation)));
            EXPECT_EQ(turned.image, uprightPicture(plain, orientation));
            EXPECT_EQ(PictureMemory::shared().used() - before,
                      static_cast<std::size_t>(turned.image.sizeInBytes()));
        }
    }
}

TEST(JpegOrientation, BrokenOrHostileTagsMeanAsStored) {
    struct Row {
        const char* what;
        std::string tiff;
    };
    const std::string good = samples::orientationTiff(6);
    std::string bigEndian = good;
    bigEndian[0] = bigEndian[1] = 'M';  // the numbers stay little-endian, so they read wrong
    std::string farDirectory = good;
    farDirectory[4] = '\x7F';
    const Row rows[] = {
        {"value 0", samples::orientationTiff(0)},
        {"value 9", samples::orientationTiff(9)},
        {"value 65535", samples::orientationTiff(65535)},
        {"a long instead of a short", samples::orientationTiff(6, 4)},
        {"two values", samples::orientationTiff(6, 3, 2)},
        {"cut inside the entry", good.substr(0, 16)},
        {"cut before the directory", good.substr(0, 9)},
        {"no byte order", "XX" + good.substr(2)},
        {"wrong byte order", bigEndian},
        {"directory past the end", farDirectory},
        {"empty", ""},
    };
    const std::string stored = encodeJpeg(cornerPicture(64, 32));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(exifOrientation(reinterpret_cast<const unsigned char*>(row.tiff.data()),
                                  row.tiff.size()),
                  1);
        EXPECT_EQ(decode(samples::withExif(stored, row.tiff)).naturalSize, QSize(64, 32));
    }
    EXPECT_EQ(exifOrientation(reinterpret_cast<const unsigned char*>(good.data()), good.size()), 6);
}

// A card: every read takes a while. Past `kGiveUpAfter` bytes the decode is given up, as when
// the user picks another picture; what is read from then on only holds the card.
std::atomic<bool> givenUp{false};
std::atomic<long> delivered{0};
std::atomic<long> readWhenGivenUp{0};
constexpr long kGiveUpAfter = 160 * 1024;

ssize_t cardRead(int fd, void* buffer, std::size_t size) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    givenUp = givenUp || delivered >= kGiveUpAfter;
    const ssize_t got = ::read(fd, buffer, size);
    delivered += got;
    if (givenUp) {
        readWhenGivenUp += got;
    }
    return got;
}

TEST(JpegCancel, AGivenUpDecodeOfACardStopsReadingWithinOneBuffer) {
    test::TempDir folder;
    test::TestDrives drives;
    drives.map('C', folder.path());
    std::ofstream(folder.host("card.jpg"), std::ios::binary)
        << encodeJpeg(samples::grainyPicture(1200, 1200, 3));
    setPictureFileReader(cardRead);
    const LoadedPicture picture = loadJpegFile(
        "C:\\card.jpg", [](int, int) { return 1; }, false, &givenUp);
    setPictureFileReader(nullptr);
    EXPECT_FALSE(picture.loaded());
    EXPECT_GE(delivered, kGiveUpAfter);
    EXPECT_LE(readWhenGivenUp, 64 * 1024);
}

}  // namespace
}  // namespace pictaria
