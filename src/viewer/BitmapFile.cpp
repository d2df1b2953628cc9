// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/BitmapFile.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <string>

#include "viewer/ColourTransform.h"
#include "viewer/PictureLoadError.h"
#include "viewer/PictureMemory.h"
#include "viewer/RegularFile.h"

namespace pictaria {

namespace {

// Passes reads through to another device and remembers whether any came back short: the
// bitmap reader keeps the rows a cut file lacks as uninitialised memory, so a short read is
// the only sign of pixels that were never read.
class ShortReadWatch : public QIODevice {
  public:
    explicit ShortReadWatch(QIODevice& inner) : inner_(inner) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return inner_.isSequential(); }
    qint64 size() const override { return inner_.size(); }
    bool seek(qint64 position) override {
        return QIODevice::seek(position) && inner_.seek(position);
    }
    bool cameShort() const { return cameShort_; }

  protected:
    qint64 readData(char* data, qint64 wanted) override {
        const qint64 got = inner_.read(data, wanted);
        cameShort_ = cameShort_ || got < wanted;
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QIODevice& inner_;
    bool cameShort_ = false;
};

[[noreturn]] void invalidBitmap() {
    throw PictureLoadError("Bitmap image is not valid");
}

// Bitmaps are drawn opaque: an alpha channel (all zero in many files, or one bit of 16) would
// let the panel show through.
QImage opaque(QImage picture) {
    if (!picture.hasAlphaChannel()) {
        return picture;
    }
    if (picture.format() == QImage::Format_ARGB32) {
        picture.reinterpretAsFormat(QImage::Format_RGB32);  // the colour bytes stay as they are
        return picture;
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

// The parts of the file header and the V5 information header the profile is found with.
constexpr qint64 kFileHeaderBytes = 14;
constexpr quint32 kV5HeaderBytes = 124;
constexpr int kColourSpaceTypeAt = 56;  // in the information header
constexpr int kProfileOffsetAt = 112;   // from the start of the information header
constexpr int kProfileSizeAt = 116;
constexpr quint32 kProfileEmbedded = 0x4D424544;  // 'MBED'

quint32 littleEndian32(const unsigned char* bytes) {
    return quint32{bytes[0]} | quint32{bytes[1]} << 8 | quint32{bytes[2]} << 16 |
           quint32{bytes[3]} << 24;
}

// Reads exactly `count` bytes at `at`; false when the device holds fewer there.
bool readAt(QIODevice& device, qint64 at, char* bytes, qint64 count) {
    return device.seek(at) && device.read(bytes, count) == count;
}

}  // namespace

std::string embeddedBitmapProfile(QIODevice& device, qint64 start) {
    if (device.isSequential()) {
        return {};
    }
    unsigned char header[kFileHeaderBytes + kV5HeaderBytes];
    if (!readAt(device, start, reinterpret_cast<char*>(header), sizeof header) ||
        header[0] != 'B' || header[1] != 'M') {
        return {};
    }
    const unsigned char* info = header + kFileHeaderBytes;
    if (littleEndian32(info) < kV5HeaderBytes ||
        littleEndian32(info + kColourSpaceTypeAt) != kProfileEmbedded) {
        return {};
    }
    const quint32 offset = littleEndian32(info + kProfileOffsetAt);
    const quint32 size = littleEndian32(info + kProfileSizeAt);
    const qint64 at = start + kFileHeaderBytes + qint64{offset};
    if (offset < kV5HeaderBytes || size == 0 || size > kMaxEmbeddedProfileBytes ||
        at + qint64{size} > device.size()) {
        return {};
    }
    std::string profile(size, '\0');
    if (!readAt(device, at, profile.data(), qint64{size})) {
        return {};
    }
    return profile;
}

namespace {

// The pixels the reader is about to fill, charged to the pictures' memory budget, so that a
// bitmap counts with the JPEGs held beside it. A canvas of the size and format the header gives
// is filled in place by the reader. Null when the header is not readable or the bitmap is larger
// than the reader would make (the read then fails as invalid), and when it does not fit the
// budget (`lackedMemory`).
QImage chargedCanvas(QImageReader& reader, int allocationLimitMb, bool& lackedMemory) {
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (size.isEmpty() || format == QImage::Format_Invalid) {
        return {};
    }
    const qint64 bits =
        qint64{size.width()} * size.height() * QImage::toPixelFormat(format).bitsPerPixel();
    if (bits / 8 > (qint64{allocationLimitMb} << 20)) {
        return {};
    }
    QImage canvas = PictureMemory::shared().image(size, format);
    lackedMemory = canvas.isNull();
    return canvas;
}

LoadedPicture readBitmapPicture(QIODevice& device, int allocationLimitMb,
                                const ColourProfile& output) {
    // The reader's limit is process-wide; every bitmap read sets it to the same value.
    QImageReader::setAllocationLimit(allocationLimitMb);
    const qint64 start = device.pos();
    ShortReadWatch watched(device);
    QImageReader reader(&watched, "BMP");
    reader.setDecideFormatFromContent(false);
    bool lackedMemory = false;
    QImage picture = chargedCanvas(reader, allocationLimitMb, lackedMemory);
    if (lackedMemory) {
        return LoadedPicture{{}, {0, 0}, true};
    }
    if (!reader.read(&picture) || watched.cameShort()) {
        invalidBitmap();  // a cut file would show memory that is not its own
    }
    picture = opaque(std::move(picture));
    const std::string profile = embeddedBitmapProfile(device, start);
    if (const auto transform = colourTransformFor(profile, PictureColours::Rgb, output)) {
        transform->apply(picture);
    }
    const QSize size = picture.size();
    return LoadedPicture{std::move(picture), size};
}

}  // namespace

QImage readBitmap(QIODevice& device, int allocationLimitMb, const ColourProfile& output) {
    LoadedPicture loaded = readBitmapPicture(device, allocationLimitMb, output);
    if (loaded.lackedMemory) {
        throw PictureLoadError("メモリが足りないため、ビットマップを表示できません。");
    }
    return std::move(loaded.image);
}

LoadedPicture loadBitmapFile(std::string_view pathText, const ColourProfile& output) {
    QFile file;
    const int fd = openRegularFile(pathText);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw PictureLoadError("Cannot open file \"" + std::string(pathText) + "\"");
    }
    return readBitmapPicture(file, kBitmapAllocationLimitMb, output);
}

}  // namespace pictaria
