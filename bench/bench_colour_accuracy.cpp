// SPDX-License-Identifier: GPL-3.0-or-later
// How closely the colours of pictures carrying ICC profiles match LittleCMS's own JPEG tool
// (jpgicc, from liblcms2-utils) converting the same files to sRGB. For each file it prints the
// mean and largest CIEDE2000 difference over all pixels, then over all files:
//   colour_accuracy_mean_de2000   (aim: at most 1.0)
//   colour_accuracy_max_de2000    (aim: at most 3.0)
// Files: photo-like and smooth pictures with Adobe RGB-like, Display P3-like and ProPhoto-like
// primaries, a linear gray profile, a CMYK printer profile made by program, and, when the
// system has them, the Adobe RGB, ROMM RGB and CMYK profiles that come with Ghostscript.
// jpgicc writes JPEG, so its output is written at quality 100 and decoded again.
#include <lcms2.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/viewer/TestProfiles.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "viewer/JpegDecoder.h"

namespace {

using namespace pictaria;
using samples::JpegColour;

struct Sample {
    std::string name;
    JpegColour colour;
    std::string profile;
};

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Decoded in full, as 32-bit colour (gray spread to colour).
QImage decode(const std::string& jpeg) {
    JpegDecoder decoder;
    return decoder
        .decodeBytes(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), fullScale,
                     false)
        .image.convertToFormat(QImage::Format_RGB32);
}

struct Difference {
    double mean = 0;
    double max = 0;
    long pixels = 0;
};

Difference compare(const QImage& ours, const QImage& reference, cmsHTRANSFORM toLab) {
    Difference d;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(ours.width()) * 3 * 2);
    std::vector<cmsCIELab> lab(static_cast<std::size_t>(ours.width()) * 2);
    double sum = 0;
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            unsigned char* pair = &rgb[static_cast<std::size_t>(x) * 6];
            pair[0] = qRed(a), pair[1] = qGreen(a), pair[2] = qBlue(a);
            pair[3] = qRed(b), pair[4] = qGreen(b), pair[5] = qBlue(b);
        }
        cmsDoTransform(toLab, rgb.data(), lab.data(),
                       static_cast<cmsUInt32Number>(ours.width()) * 2);
        for (int x = 0; x < ours.width(); ++x) {
            const double e = cmsCIE2000DeltaE(&lab[x * 2], &lab[x * 2 + 1], 1, 1, 1);
            sum += e;
            d.max = std::max(d.max, e);
        }
    }
    d.pixels = static_cast<long>(ours.width()) * ours.height();
    d.mean = sum / static_cast<double>(d.pixels);
    return d;
}

std::vector<Sample> samplesToCompare() {
    std::vector<Sample> list = {
        {"adobe-rgb-like", JpegColour::Rgb, test::rgbProfile(test::kAdobeRgbLike, 563.0 / 256)},
        {"display-p3-like", JpegColour::Rgb, test::rgbProfile(test::kDisplayP3Like, 2.2)},
        {"prophoto-like", JpegColour::Rgb, test::rgbProfile(test::kProPhotoLike, 1.8)},
        {"linear-gray", JpegColour::Gray, test::grayProfile(1.0)},
        {"gray-gamma-1.8", JpegColour::Gray, test::grayProfile(1.8)},
        {"cmyk-made", JpegColour::AdobeCmyk, test::swappedInksProfile()},
    };
    const std::string ghostscript = "/usr/share/color/icc/ghostscript/";
    for (const auto& [file, colour] :
         {std::pair{"a98.icc", JpegColour::Rgb}, std::pair{"rommrgb.icc", JpegColour::Rgb},
          std::pair{"default_cmyk.icc", JpegColour::AdobeCmyk},
          std::pair{"ps_cmyk.icc", JpegColour::AdobeCmyk}}) {
        const std::string bytes = fileBytes(ghostscript + file);
        if (!bytes.empty()) {
            list.push_back({std::string("ghostscript-") + file, colour, bytes});
        }
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_8, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    const QImage pictures[] = {samples::grainyPicture(640, 480, 7),
                               samples::gradientPicture(640, 480)};
    double sum = 0;
    double largest = 0;
    long pixels = 0;
    for (const Sample& sample : samplesToCompare()) {
        for (int p = 0; p < 2; ++p) {
            const std::string in = folder.filePath("in.jpg").toStdString();
            const std::string out = folder.filePath("out.jpg").toStdString();
            const std::string jpeg = test::withIccProfile(
                samples::encodeJpeg(pictures[p], {sample.colour, 95}), sample.profile);
            writeFile(in, jpeg);
            std::remove(out.c_str());
            const std::string command = "jpgicc -q100 '" + in + "' '" + out + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "failed: %s\n", command.c_str());
                return 1;
            }
            const Difference d = compare(decode(jpeg), decode(fileBytes(out)), toLab);
            std::printf("%-28s %-8s mean %.3f  max %.3f\n", sample.name.c_str(),
                        p == 0 ? "photo" : "ramps", d.mean, d.max);
            sum += d.mean * static_cast<double>(d.pixels);
            pixels += d.pixels;
            largest = std::max(largest, d.max);
        }
    }
    std::printf("colour_accuracy_mean_de2000 %.3f\n", sum / static_cast<double>(pixels));
    std::printf("colour_accuracy_max_de2000 %.3f\n", largest);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
    return 0;
}
