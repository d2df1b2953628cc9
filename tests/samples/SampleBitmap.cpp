// SPDX-License-Identifier: GPL-3.0-or-later
#include "samples/SampleBitmap.h"

#include <QBuffer>

namespace pictaria::samples {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kV4HeaderBytes = 108;  // with the masks, the colour space and gamma

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string saveBitmap(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string buildBitmap(const BitmapLayout& layout) {
    const bool v4 = layout.masks.size() == 4;
    const std::uint32_t header = v4 ? kV4HeaderBytes : kInfoHeaderBytes;
    const auto tables =
        static_cast<std::uint32_t>(4 * ((v4 ? 0 : layout.masks.size()) + layout.palette.size()));
    const std::uint32_t pixelOffset = kFileHeaderBytes + header + tables;
    std::string out = "BM";
    putLittleEndian(out, pixelOffset + static_cast<std::uint32_t>(layout.pixelData.size()), 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, pixelOffset, 4);
    putLittleEndian(out, header, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(layout.width), 4);
    putLittleEndian(out,
                    static_cast<std::uint32_t>(layout.topDown ? -layout.height : layout.height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, static_cast<std::uint32_t>(layout.bitsPerPixel), 2);
    putLittleEndian(out, static_cast<std::uint32_t>(layout.compression), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(layout.pixelData.size()), 4);
    putLittleEndian(out, 2835, 4);  // 72 dots per inch, both ways
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(layout.palette.size()), 4);
    putLittleEndian(out, 0, 4);
    for (const std::uint32_t mask : layout.masks) {
        putLittleEndian(out, mask, 4);
    }
    if (v4) {
        out.append(kV4HeaderBytes - kInfoHeaderBytes - 16, '\0');  // colour space, gamma
    }
    for (const std::uint32_t entry : layout.palette) {
        putLittleEndian(out, entry, 4);
    }
    return out + layout.pixelData;
}

}  // namespace pictaria::samples
