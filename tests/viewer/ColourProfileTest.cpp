// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <functional>
#include <thread>

#include "TestProfiles.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/BitmapFile.h"
#include "viewer/ColourTransform.h"
#include "viewer/JpegDecoder.h"
#include "viewer/PictureDisplay.h"

namespace pictaria {
namespace {

using samples::encodeJpeg;
using samples::JpegColour;
using namespace pictaria::test;

const QColor kOrange(240, 140, 30);

const std::string& adobe() {
    static const std::string profile = rgbProfile(kAdobeRgbLike, 2.2);
    return profile;
}
const std::string& p3() {
    static const std::string profile = rgbProfile(kDisplayP3Like, 2.2);
    return profile;
}

LoadedPicture decode(const std::string& jpeg, const ColourProfile& output = {},
                     bool palette = false) {
    JpegDecoder decoder;
    decoder.setOutputProfile(output);
    return decoder.decodeBytes(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                               fullScale, palette);
}

// The colour LittleCMS makes of `colour` between two RGB profiles (empty: sRGB).
QRgb reference(QRgb colour, const std::string& from, const std::string& to = {}) {
    auto open = [](const std::string& bytes) {
        return bytes.empty() ? cmsCreate_sRGBProfile()
                             : cmsOpenProfileFromMem(bytes.data(), bytes.size());
    };
    cmsHPROFILE input = open(from);
    cmsHPROFILE output = open(to);
    cmsHTRANSFORM transform =
        cmsCreateTransform(input, TYPE_RGB_8, output, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    const unsigned char in[3] = {static_cast<unsigned char>(qRed(colour)),
                                 static_cast<unsigned char>(qGreen(colour)),
                                 static_cast<unsigned char>(qBlue(colour))};
    unsigned char out[3];
    cmsDoTransform(transform, in, out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(input);
    cmsCloseProfile(output);
    return qRgb(out[0], out[1], out[2]);
}

int srgbEncoded(double linear) {
    const double v =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(v * 255));
}

testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance = 3) {
    if (std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
        std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
        std::abs(qBlue(actual) - qBlue(expected)) <= tolerance) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << QColor(actual).name().toStdString() << " is not near "
                                       << QColor(expected).name().toStdString();
}

struct ProfileCase {
    const char* label;
    JpegColour colour;
    std::function<std::string(const std::string& jpeg)> embed;  // the file with its profile
    std::string output;                                         // empty: sRGB
    bool palette;
    // The colour expected of the plain decode's colour; null: the plain decode, byte for byte.
    std::function<QRgb(QRgb plain)> expected;
    QImage::Format format = QImage::Format_RGB32;
};

void PrintTo(const ProfileCase& c, std::ostream* out) {
    *out << c.label;
}

class EmbeddedProfiles : public testing::TestWithParam<ProfileCase> {};

TEST_P(EmbeddedProfiles, ConvertWhenUsableAndLeaveThePictureAsItWasOtherwise) {
    const ProfileCase& c = GetParam();
    const std::string plainJpeg = encodeJpeg(samples::solidPicture(24, 16, kOrange), {c.colour});
    const LoadedPicture plain = decode(plainJpeg, {}, c.palette);
    const LoadedPicture shown = decode(c.embed(plainJpeg), ColourProfile(c.output), c.palette);
    ASSERT_TRUE(shown.loaded());
    EXPECT_EQ(shown.naturalSize, QSize(24, 16));
    if (!c.expected) {
        EXPECT_EQ(shown.image, plain.image);
        return;
    }
    EXPECT_EQ(shown.image.format(), c.format);
    EXPECT_TRUE(near(shown.image.pixel(12, 8), c.expected(plain.image.pixel(12, 8))));
}

const auto kAsStored = nullptr;

INSTANTIATE_TEST_SUITE_P(
    Jpeg, EmbeddedProfiles,
    testing::Values(
        ProfileCase{"Adobe RGB to sRGB", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, adobe()); }, "",
                    false, [](QRgb plain) { return reference(plain, adobe()); }},
        ProfileCase{"Adobe RGB in segments to a P3 screen", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, adobe(), 100); },
                    p3(), false, [](QRgb plain) { return reference(plain, adobe(), p3()); }},
        ProfileCase{"Adobe RGB on a palette screen", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, adobe()); }, "", true,
                    [](QRgb plain) { return reference(plain, adobe()); }, QImage::Format_Indexed8},
        ProfileCase{"linear gray", JpegColour::Gray,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, grayProfile(1)); },
                    "", false,
                    [](QRgb plain) {
                        const int v = srgbEncoded(qGreen(plain) / 255.0);
                        return qRgb(v, v, v);
                    },
                    QImage::Format_Grayscale8},
        ProfileCase{
            "Adobe CMYK through its profile", JpegColour::AdobeCmyk,
            [](const std::string& jpeg) { return withIccProfile(jpeg, swappedInksProfile()); }, "",
            false, [](QRgb plain) { return qRgb(qBlue(plain), qGreen(plain), qRed(plain)); }},
        ProfileCase{"no profile on a P3 screen", JpegColour::Rgb,
                    [](const std::string& jpeg) { return jpeg; }, p3(), false, kAsStored},
        ProfileCase{"the screen's own profile", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, p3()); }, p3(), false,
                    kAsStored},
        ProfileCase{"gray profile in a colour file", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, grayProfile(1)); },
                    "", false, kAsStored},
        ProfileCase{"RGB profile in a CMYK file", JpegColour::AdobeCmyk,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, adobe()); }, "",
                    false, kAsStored},
        ProfileCase{"a segment missing", JpegColour::Rgb,
                    [](const std::string& jpeg) {
                        return withIccProfile(jpeg, adobe(), 100, [](int i) { return i != 1; });
                    },
                    "", false, kAsStored},
        ProfileCase{
            "profile cut after its header", JpegColour::Rgb,
            [](const std::string& jpeg) { return withIccProfile(jpeg, adobe().substr(0, 200)); },
            "", false, kAsStored},
        ProfileCase{"noise for a profile", JpegColour::Rgb,
                    [](const std::string& jpeg) {
                        std::string noise = adobe();
                        for (std::size_t i = 40; i < noise.size(); ++i) {
                            noise[i] = static_cast<char>(i * 131 + 7);
                        }
                        return withIccProfile(jpeg, noise);
                    },
                    "", false, kAsStored},
        ProfileCase{"an unusable screen profile counts as sRGB", JpegColour::Rgb,
                    [](const std::string& jpeg) { return withIccProfile(jpeg, adobe()); },
                    grayProfile(2.2), false,
                    [](QRgb plain) { return reference(plain, adobe()); }}));

QImage readBitmapBytes(const std::string& bytes, const ColourProfile& output = {}) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return readBitmap(buffer, kBitmapAllocationLimitMb, output);
}

// Only an embedded profile lying wholly within the file behind the header is read; a linked one
// names a file that is never opened.
TEST(BitmapProfiles, OnlyAnEmbeddedProfileWithinTheFileConverts) {
    const std::uint32_t orange = kOrange.rgb() & 0xFFFFFF;
    const std::string embedded = v5Bitmap(3, 2, orange, kProfileEmbedded, adobe());
    struct Case {
        const char* label;
        std::string bytes;
        bool converted;
    };
    std::string pastTheEnd = embedded;
    putLittle32(pastTheEnd, 14 + 116, static_cast<std::uint32_t>(adobe().size() + 1));
    std::string huge = embedded;
    putLittle32(huge, 14 + 116, 0xFFFFFFF0u);
    std::string insideTheHeader = embedded;
    putLittle32(insideTheHeader, 14 + 112, 0);
    const Case cases[] = {
        {"embedded", embedded, true},
        {"linked", v5Bitmap(3, 2, orange, kProfileLinked, std::string("/tmp/x.icc\0", 11)), false},
        {"size past the end", pastTheEnd, false},
        {"huge size", huge, false},
        {"offset inside the header", insideTheHeader, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QByteArray data = QByteArray::fromStdString(c.bytes);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(embeddedBitmapProfile(buffer) == adobe(), c.converted);
        const QRgb expected = c.converted ? reference(kOrange.rgb(), adobe()) : kOrange.rgb();
        EXPECT_EQ(readBitmapBytes(c.bytes).pixel(1, 1), expected);
    }
}

// Every display goes through preparePicture: fitted (decoded at a reduced scale) or at actual
// size, JPEG or bitmap, the picture comes in the request's output profile.
TEST(ShownProfiles, PicturesAreConvertedToTheRequestedProfileAtTheDrawnSize) {
    TempDir folder;
    TestDrives drives;
    drives.map('C', folder.path());
    folder.writeFile(
        "wide.jpg",
        withIccProfile(encodeJpeg(samples::solidPicture(1600, 1200, kOrange)), adobe()));
    folder.writeFile("wide.bmp",
                     v5Bitmap(600, 400, kOrange.rgb() & 0xFFFFFF, kProfileEmbedded, adobe()));
    const QRgb plainJpeg =
        decode(encodeJpeg(samples::solidPicture(16, 16, kOrange))).image.pixel(8, 8);
    for (const bool fitted : {true, false}) {
        PictureRequest request = pictureRequest("C:\\wide.jpg", 498, 343, fitted, 1);
        request.outputProfile = ColourProfile(p3());
        const PreparedPicture jpeg = preparePicture(request);
        EXPECT_EQ(jpeg.picture.image.width(), fitted ? 800 : 1600);
        EXPECT_TRUE(near(jpeg.picture.image.pixel(100, 100), reference(plainJpeg, adobe(), p3())));
        request.path = "C:\\wide.bmp";
        EXPECT_EQ(preparePicture(request).picture.image.pixel(100, 100),
                  reference(kOrange.rgb(), adobe(), p3()));
    }
}

// Transforms are made once per pair of profiles and kind of picture, whichever thread asks.
TEST(ColourTransforms, AreKeptPerProfilePairAndKindAcrossThreads) {
    const std::string own = rgbProfile(kProPhotoLike, 1.8);  // not made by another test
    const int before = colourTransformsMade();
    const auto first = colourTransformFor(own, PictureColours::Rgb, {});
    std::shared_ptr<const ColourTransform> fromWorker;
    std::thread([&] { fromWorker = colourTransformFor(own, PictureColours::Rgb, {}); }).join();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(fromWorker, first);
    EXPECT_NE(colourTransformFor(own, PictureColours::Rgb, ColourProfile(p3())), first);
    EXPECT_EQ(colourTransformFor(own, PictureColours::Gray, {}), nullptr);
    EXPECT_EQ(colourTransformFor(own, PictureColours::Gray, {}), nullptr);
    EXPECT_EQ(colourTransformsMade() - before, 3);
}

}  // namespace
}  // namespace pictaria
