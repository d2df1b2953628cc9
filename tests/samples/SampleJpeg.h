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

}  // namespace pictaria::samples
