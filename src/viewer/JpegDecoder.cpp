// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/JpegDecoder.h"

#include <algorithm>
#include <vector>

#include "viewer/ColourTransform.h"
#include "viewer/ExifOrientation.h"
#include "viewer/PictureMemory.h"

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

// An image of `size` the decoder can write its rows into, charged to the pictures' memory;
// null when memory is short.
QImage canvasFor(const JpegOutputFormat& format, QSize size) {
    QImage canvas = PictureMemory::shared().image(size, imageFormatOf(format));
    if (!canvas.isNull() && format.pixelKind == JPEG_PIXELS_PALETTE8) {
        canvas.setColorTable(colourTableOf(format));
    }
    return canvas;
}

// The rows of strips read in the stored layout, written turned into the upright picture: one of
// the orientations that swap the sides (5 to 8).
struct TurningSink {
    QImage* upright;
    int orientation;
    int storedWidth;
    int storedHeight;
    int pixelBytes;
    qsizetype stripBytesPerLine;

    template <typename Pixel>
    void put(const unsigned char* rows, int first, int count) {
        const bool fromBottom = orientation == 6 || orientation == 7;  // stored row 0 goes right
        const bool fromRight = orientation == 7 || orientation == 8;   // stored column 0 goes down
        for (int x = 0; x < storedWidth; ++x) {
            const int v = fromRight ? storedWidth - 1 - x : x;
            auto* line = reinterpret_cast<Pixel*>(upright->scanLine(v));
            for (int r = 0; r < count; ++r) {
                const int y = first + r;
                const int u = fromBottom ? storedHeight - 1 - y : y;
                line[u] = reinterpret_cast<const Pixel*>(rows + r * stripBytesPerLine)[x];
            }
        }
    }

    static void take(void* context, const unsigned char* rows, int first, int count) {
        auto* sink = static_cast<TurningSink*>(context);
        if (sink->pixelBytes == 4) {
            sink->put<quint32>(rows, first, count);
        } else {
            sink->put<quint8>(rows, first, count);
        }
    }
};

constexpr int kStripRows = 64;

template <typename Pixel>
void mirrorRows(QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<Pixel*>(picture.scanLine(y));
        std::reverse(row, row + picture.width());
    }
}

// Mirrors a picture the sides of which keep their lengths (orientations 2 to 4) in its own
// buffer: QImage's own mirroring copies a buffer it does not own.
void mirrorInPlace(QImage& picture, int orientation) {
    if (orientation == 2 || orientation == 3) {
        if (picture.depth() == 32) {
            mirrorRows<quint32>(picture);
        } else {
            mirrorRows<quint8>(picture);
        }
    }
    if (orientation == 3 || orientation == 4) {
        for (int top = 0, bottom = picture.height() - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(picture.scanLine(top), picture.scanLine(top) + picture.bytesPerLine(),
                             picture.scanLine(bottom));
        }
    }
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
    QImage canvas = readUpright(format, turn);
    if (canvas.isNull()) {
        return outOfMemory_ ? LoadedPicture{{}, {0, 0}, true} : LoadedPicture{};
    }
    if (transform) {
        transform->apply(canvas);  // colour by colour: the layout does not matter
    }
    return LoadedPicture{withPaletteIfAsked(std::move(canvas), palette), upright};
}

// Reads the pixels into one picture in the upright layout: mirrored in place when the sides
// keep their lengths, written turned strip by strip when they swap. No second full-size copy
// is made either way.
QImage JpegDecoder::readUpright(const JpegOutputFormat& format, int turn) {
    const QSize stored(format.width, format.height);
    QImage canvas = canvasFor(format, uprightSize(stored, turn));
    if (canvas.isNull()) {
        outOfMemory_ = true;
        return {};
    }
    if (turn < 5) {  // the sides keep their lengths
        if (!jpegSessionReadPixels(session_, canvas.bits(), canvas.bytesPerLine())) {
            return {};
        }
        mirrorInPlace(canvas, turn);
        return canvas;
    }
    const int pixelBytes = format.pixelKind == JPEG_PIXELS_RGB32 ? 4 : 1;
    const qsizetype stripBytesPerLine = static_cast<qsizetype>(format.width) * pixelBytes;
    std::vector<unsigned char> strip;
    try {
        strip.resize(static_cast<std::size_t>(stripBytesPerLine) * kStripRows);
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
        return {};
    }
    TurningSink sink{&canvas, turn, format.width, format.height, pixelBytes, stripBytesPerLine};
    if (!jpegSessionReadStrips(session_, strip.data(), stripBytesPerLine, kStripRows,
                               &TurningSink::take, &sink)) {
        return {};
    }
    return canvas;
}

std::string JpegDecoder::errorText() const {
    return session_ ? jpegSessionMessage(session_) : "Out of memory";
}

int JpegDecoder::warningCount() const {
    return session_ ? jpegSessionWarnings(session_) : 0;
}

}  // namespace pictaria
