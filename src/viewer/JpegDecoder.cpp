// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/JpegDecoder.h"

#include "viewer/ColourTransform.h"
#include "viewer/ExifOrientation.h"

namespace pictaria {

namespace {

constexpr unsigned long long kMaxPixelBytes = 1ull << 30;
constexpr int kMaxScans = 500;
// Output and working memory of one decode together; with the control's share this keeps the
// process under about 1.2 GB whatever a file claims.
constexpr long kDecodeBudget = 1100L << 20;

QImage::Format imageFormatOf(const JpegOutputFormat& format) {
    switch (format.pixelKind) {
        case JPEG_PIXELS_GRAY8:
            return QImage::Format_Grayscale8;
        case JPEG_PIXELS_PALETTE8:
            return QImage::Format_Indexed8;
        default:
            return QImage::Format_RGB32;
    }
}

QList<QRgb> colourTableOf(const JpegOutputFormat& format) {
    QList<QRgb> table;
    table.reserve(format.paletteSize);
    for (int i = 0; i < format.paletteSize; ++i) {
        table.append(qRgb(format.palette[i][0], format.palette[i][1], format.palette[i][2]));
    }
    return table;
}

// An image the decoder can write its rows into; null when memory is short.
QImage canvasFor(const JpegOutputFormat& format) {
    QImage canvas(format.width, format.height, imageFormatOf(format));
    if (!canvas.isNull() && format.pixelKind == JPEG_PIXELS_PALETTE8) {
        canvas.setColorTable(colourTableOf(format));
    }
    return canvas;
}

// Colour pictures that libjpeg could not quantize itself (inks) get their palette here.
QImage withPaletteIfAsked(QImage picture, bool palette) {
    if (palette && picture.format() == QImage::Format_RGB32) {
        return picture.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    }
    return picture;
}

PictureColours pictureColoursOf(int jpegColours) {
    switch (jpegColours) {
        case JPEG_COLOURS_GRAY:
            return PictureColours::Gray;
        case JPEG_COLOURS_INKS:
            return PictureColours::Inks;
        case JPEG_COLOURS_INVERTED_INKS:
            return PictureColours::InvertedInks;
        default:
            return PictureColours::Rgb;
    }
}

}  // namespace

int fullScale(int, int) {
    return 1;
}

JpegLimits defaultJpegLimits() {
    return JpegLimits{kMaxPixelBytes, kMaxScans, kDecodeBudget, nullptr, nullptr};
}

JpegDecoder::JpegDecoder(const JpegLimits& limits) : session_(jpegSessionCreate(&limits)) {}

JpegDecoder::~JpegDecoder() {
    jpegSessionDestroy(session_);
}

LoadedPicture JpegDecoder::decodeFile(std::FILE* file, const ScaleChooser& scaleFor, bool palette) {
    int width = 0;
    int height = 0;
    if (!session_ || !file || !jpegSessionReadHeaderFromFile(session_, file, &width, &height)) {
        return {};
    }
    return decodeFrame(width, height, scaleFor, palette);
}

LoadedPicture JpegDecoder::decodeBytes(const unsigned char* data, std::size_t size,
                                       const ScaleChooser& scaleFor, bool palette) {
    int width = 0;
    int height = 0;
    if (!session_ || !jpegSessionReadHeaderFromMemory(session_, data, size, &width, &height)) {
        return {};
    }
    return decodeFrame(width, height, scaleFor, palette);
}

int JpegDecoder::orientation() const {
    const unsigned char* tiff = nullptr;
    std::size_t size = 0;
    return jpegSessionExif(session_, &tiff, &size) ? exifOrientation(tiff, size) : kStoredUpright;
}

std::shared_ptr<const ColourTransform> JpegDecoder::embeddedProfileTransform() const {
    const unsigned char* profile = nullptr;
    std::size_t size = 0;
    if (!jpegSessionIccProfile(session_, &profile, &size)) {
        return nullptr;
    }
    return colourTransformFor(std::string_view(reinterpret_cast<const char*>(profile), size),
                              pictureColoursOf(jpegSessionColours(session_)), output_);
}

// The scale is chosen, and the picture handed on, upright: a photograph stored on its side is
// turned as its EXIF orientation says. Colours are converted from the file's own profile at the
// decoded size, before a palette is made of them.
LoadedPicture JpegDecoder::decodeFrame(int frameWidth, int frameHeight,
                                       const ScaleChooser& scaleFor, bool palette) {
    const int turn = orientation();
    const QSize upright = uprightSize(QSize(frameWidth, frameHeight), turn);
    const std::shared_ptr<const ColourTransform> transform = embeddedProfileTransform();
    const int colours = jpegSessionColours(session_);
    if (transform && (colours == JPEG_COLOURS_INKS || colours == JPEG_COLOURS_INVERTED_INKS)) {
        jpegSessionKeepInks(session_);  // the transform turns the inks into colour
    }
    JpegOutputFormat format{};
    if (!jpegSessionStart(session_, scaleFor(upright.width(), upright.height()), palette ? 1 : 0,
                          &format)) {
        return {};
    }
    QImage canvas = canvasFor(format);
    if (canvas.isNull() || !jpegSessionReadPixels(session_, canvas.bits(), canvas.bytesPerLine())) {
        return {};
    }
    if (transform) {
        transform->apply(canvas);
    }
    QImage stored = withPaletteIfAsked(std::move(canvas), palette);
    return LoadedPicture{turn == kStoredUpright ? std::move(stored) : uprightPicture(stored, turn),
                         upright};
}

std::string JpegDecoder::errorText() const {
    return session_ ? jpegSessionMessage(session_) : "Out of memory";
}

int JpegDecoder::warningCount() const {
    return session_ ? jpegSessionWarnings(session_) : 0;
}

}  // namespace pictaria
