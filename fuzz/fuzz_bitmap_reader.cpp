// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the bitmap reader the display uses. A refused bitmap throws
// PictureLoadError, which is the expected outcome; anything else escaping is a finding. Odd-sized
// inputs are shown on a wide-gamut screen, so that an embedded profile's conversion runs too.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "../tests/viewer/TestProfiles.h"
#include "viewer/BitmapFile.h"
#include "viewer/PictureLoadError.h"

namespace {

// Less room than the program allows, so that one input stays fast.
constexpr int kFuzzAllocationLimitMb = 64;

// Qt's reader explains every refused file on stderr; the fuzzer needs none of it.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler(dropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        static const pictaria::ColourProfile screen(
            pictaria::test::rgbProfile(pictaria::test::kDisplayP3Like, 2.2));
        const QImage picture = pictaria::readBitmap(
            buffer, kFuzzAllocationLimitMb, size % 2 == 1 ? screen : pictaria::ColourProfile());
        volatile QRgb sink = picture.pixel(picture.width() - 1, picture.height() - 1);
        (void)sink;
    } catch (const pictaria::PictureLoadError&) {
    }
    return 0;
}
