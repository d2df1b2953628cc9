// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the JPEG decoder. The input's length picks the DCT scale, whether
// a palette is asked for and whether colours go to sRGB or to a wide-gamut screen profile, so the
// seeds stay plain JPEG files and every road gets exercised (embedded ICC profiles included).
#include <cstddef>
#include <cstdint>

#include "../tests/viewer/TestProfiles.h"
#include "viewer/JpegDecoder.h"

namespace {

// The program's limits, with less room for pixels so that one input stays fast.
JpegLimits fuzzLimits() {
    JpegLimits limits = pictaria::defaultJpegLimits();
    limits.maxPixelBytes = 16u << 20;
    limits.maxMemory = 256L << 20;
    return limits;
}

// Reads every output byte, so that a row written short or past its end shows.
unsigned checksum(const QImage& image) {
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        const int bytes = image.width() * image.depth() / 8;
        for (int x = 0; x < bytes; ++x) {
            sum += row[x];
        }
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int kDenominators[] = {1, 2, 4, 8};
    const int denominator = kDenominators[size % 4];
    const bool palette = (size / 4) % 2 == 1;
    static const pictaria::ColourProfile screen(
        pictaria::test::rgbProfile(pictaria::test::kDisplayP3Like, 2.2));
    pictaria::JpegDecoder decoder(fuzzLimits());
    if ((size / 8) % 2 == 1) {
        decoder.setOutputProfile(screen);
    }
    const pictaria::LoadedPicture picture = decoder.decodeBytes(
        data, size, [denominator](int, int) { return denominator; }, palette);
    volatile unsigned sink = picture.loaded() ? checksum(picture.image) : 0;
    (void)sink;
    return 0;
}
