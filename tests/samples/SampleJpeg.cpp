// SPDX-License-Identifier: GPL-3.0-or-later
#include "samples/SampleJpeg.h"

#include <jpeglib.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace pictaria::samples {

namespace {

// RGB as inverted inks, the Adobe way, chosen so that ink * black / 255 gives the colour back.
void rgbToInvertedInks(const uchar* rgb, uchar* inks, int width) {
    for (int x = 0; x < width; ++x, rgb += 3, inks += 4) {
        const int black = std::max({rgb[0], rgb[1], rgb[2]});
        for (int channel = 0; channel < 3; ++channel) {
            inks[channel] = black == 0 ? 255 : static_cast<uchar>(rgb[channel] * 255 / black);
        }
        inks[3] = static_cast<uchar>(black);
    }
}

void configure(jpeg_compress_struct& cinfo, const QImage& picture, const JpegSettings& settings) {
    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    switch (settings.colour) {
        case JpegColour::Gray:
            cinfo.input_components = 1;
            cinfo.in_color_space = JCS_GRAYSCALE;
            break;
        case JpegColour::AdobeCmyk:
        case JpegColour::AdobeYcck:
            cinfo.input_components = 4;
            cinfo.in_color_space = JCS_CMYK;
            break;
        case JpegColour::Rgb:
            cinfo.input_components = 3;
            cinfo.in_color_space = JCS_RGB;
            break;
    }
    jpeg_set_defaults(&cinfo);
    if (settings.colour == JpegColour::AdobeYcck) {
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    }
    jpeg_set_quality(&cinfo, settings.quality, TRUE);
    if (settings.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    cinfo.restart_in_rows = settings.restartRows;
}

// One row of the picture in the layout the compressor was told to expect.
const uchar* inputRow(const QImage& rgb, int y, JpegColour colour, std::vector<uchar>& scratch) {
    if (colour == JpegColour::AdobeCmyk || colour == JpegColour::AdobeYcck) {
        rgbToInvertedInks(rgb.constScanLine(y), scratch.data(), rgb.width());
        return scratch.data();
    }
    return rgb.constScanLine(y);
}

}  // namespace

std::string encodeJpeg(const QImage& picture, const JpegSettings& settings) {
    const QImage pixels = picture.convertToFormat(
        settings.colour == JpegColour::Gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);  // a fixture failing to encode ends the program
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    configure(cinfo, pixels, settings);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uchar> scratch(static_cast<std::size_t>(pixels.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uchar*>(
            inputRow(pixels, static_cast<int>(cinfo.next_scanline), settings.colour, scratch));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::string withFrameSize(std::string jpeg, int width, int height) {
    const auto byteAt = [&jpeg](std::size_t i) { return static_cast<uchar>(jpeg[i]); };
    // Walk the marker segments after SOI up to the frame header.
    for (std::size_t i = 2; i + 8 < jpeg.size() && byteAt(i) == 0xFF;
         i += 2 + (byteAt(i + 2) << 8 | byteAt(i + 3))) {
        const uchar marker = byteAt(i + 1);
        if (marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    throw std::invalid_argument("no frame header in JPEG bytes");
}

namespace {

void appendLittle(std::string& out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::string orientationTiff(int value, int type, int count) {
    std::string tiff = "II";
    appendLittle(tiff, 42, 2);
    appendLittle(tiff, 8, 4);  // the first directory follows the header
    appendLittle(tiff, 1, 2);  // one entry
    appendLittle(tiff, 0x0112, 2);
    appendLittle(tiff, static_cast<unsigned>(type), 2);
    appendLittle(tiff, static_cast<unsigned>(count), 4);
    appendLittle(tiff, static_cast<unsigned>(value), 4);  // a short, padded to four bytes
    appendLittle(tiff, 0, 4);                             // no next directory
    return tiff;
}

std::string withExif(const std::string& jpeg, const std::string& tiff) {
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>((length >> 8) & 0xFF);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

}  // namespace pictaria::samples
