// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes one JPEG stream into a QImage through libjpeg (see JpegSession.h for the settings
// and for what counts as a failure). The scale is chosen once the frame size is known, so a
// picture that will be drawn small is decoded small.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "viewer/ColourProfile.h"
#include "viewer/JpegSession.h"
#include "viewer/LoadedPicture.h"

namespace pictaria {

class ColourTransform;

// Given the upright picture's width and height (the frame header's, swapped for a photograph
// stored on its side), the DCT scale denominator to decode at (1, 2, 4 or 8).
using ScaleChooser = std::function<int(int frameWidth, int frameHeight)>;

// Full size, always.
int fullScale(int frameWidth, int frameHeight);

// The limits every picture display decodes under: about 1 GiB of decoded pixels, 500
// progressive scans, and 1.1 GB for the output and libjpeg's working memory together.
JpegLimits defaultJpegLimits();

class JpegDecoder {
  public:
    explicit JpegDecoder(const JpegLimits& limits = defaultJpegLimits());
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Each decoder decodes one stream, once. The result is empty when the stream cannot be
    // decoded; `palette` asks for 8-bit palette pixels instead of 32-bit colour. The picture
    // comes upright (EXIF orientation applied) and its natural size is the upright size. The file
    // stays open; the bytes must outlive the call.
    LoadedPicture decodeFile(std::FILE* file, const ScaleChooser& scaleFor, bool palette);
    LoadedPicture decodeBytes(const unsigned char* data, std::size_t size,
                              const ScaleChooser& scaleFor, bool palette);

    // The profile colours are converted to when the file carries an ICC profile (sRGB unless
    // set); files without one, or with one that cannot be used, keep their decoded colours.
    void setOutputProfile(ColourProfile output) { output_ = std::move(output); }

    // Why the decode failed; empty when it did not. A decode refused because its picture did
    // not fit the pictures' memory (see PictureMemory.h) comes back with lackedMemory set.
    std::string errorText() const;
    // Warnings about damaged or missing data in a decode that still completed.
    int warningCount() const;

  private:
    int orientation() const;
    std::shared_ptr<const ColourTransform> embeddedProfileTransform() const;
    LoadedPicture decodeFrame(int frameWidth, int frameHeight, const ScaleChooser& scaleFor,
                              bool palette);
    QImage readUpright(const JpegOutputFormat& format, int turn);

    JpegSession* session_;
    ColourProfile output_;
    bool outOfMemory_ = false;
};

}  // namespace pictaria
