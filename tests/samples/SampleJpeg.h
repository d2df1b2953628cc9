// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JPEG files written by program through libjpeg's compressor, in the variants the decoder must
// read: baseline, progressive, gray, CMYK and YCCK (Adobe, inks inverted), restart markers.

#include <QImage>
#include <string>

namespace pictaria::samples {

enum class JpegColour { Rgb, Gray, AdobeCmyk, AdobeYcck };

struct JpegSettings {
    JpegColour colour = JpegColour::Rgb;
    int quality = 90;
    bool progressive = false;
    int restartRows = 0;  // a restart marker every this many MCU rows (0: none)
};

// The JPEG bytes of a picture (any format; converted to 24-bit RGB first).
std::string encodeJpeg(const QImage& picture, const JpegSettings& settings = {});

// Overwrites the frame header's height and width (the SOF marker) of JPEG bytes.
std::string withFrameSize(std::string jpeg, int width, int height);

// A little-endian TIFF block whose first directory holds one Orientation entry (tag 0x0112) of
// the given type, count and value, as a camera writes it (type 3, count 1).
std::string orientationTiff(int value, int type = 3, int count = 1);

// JPEG bytes with an APP1 segment holding "Exif\0\0" and `tiff` right after the start marker.
std::string withExif(const std::string& jpeg, const std::string& tiff);

}  // namespace pictaria::samples
