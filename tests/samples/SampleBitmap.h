// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows bitmap files written by program: through Qt's writer for the common layouts, and
// byte by byte for the ones it does not write (run-length encoded, bit-field masks, top-down).

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace pictaria::samples {

// Qt's BMP writer: 1 bit for mono, 8 bits for indexed, 24 bits for colour pictures.
std::string saveBitmap(const QImage& picture);

struct BitmapLayout {
    BitmapLayout(int width, int height, int bitsPerPixel, std::string pixelData)
        : width(width),
          height(height),
          bitsPerPixel(bitsPerPixel),
          pixelData(std::move(pixelData)) {}
    BitmapLayout& storedTopDown() {
        topDown = true;
        return *this;
    }
    BitmapLayout& compressedAs(int method) {
        compression = method;
        return *this;
    }
    BitmapLayout& withPalette(std::vector<std::uint32_t> entries) {
        palette = std::move(entries);
        return *this;
    }
    BitmapLayout& withMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
        masks = {red, green, blue};
        return *this;
    }
    // Bit fields with an alpha channel too, in a BITMAPV4HEADER.
    BitmapLayout& withAlphaMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                 std::uint32_t alpha) {
        masks = {red, green, blue, alpha};
        compression = 3;
        return *this;
    }

    int width;
    int height;  // rows bottom-up unless topDown
    int bitsPerPixel;
    std::string pixelData;  // rows or run-length codes, as stored
    bool topDown = false;
    int compression = 0;                 // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries
    std::vector<std::uint32_t> masks;    // red, green, blue (and alpha) masks for bit fields
};

// A file with a BITMAPINFOHEADER describing `layout`.
std::string buildBitmap(const BitmapLayout& layout);

}  // namespace pictaria::samples
