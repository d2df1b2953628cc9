// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/BitmapFile.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <string>

#include "viewer/PictureLoadError.h"
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

}  // namespace

QImage readBitmap(QIODevice& device, int allocationLimitMb) {
    // The reader's limit is process-wide; every bitmap read sets it to the same value.
    QImageReader::setAllocationLimit(allocationLimitMb);
    ShortReadWatch watched(device);
    QImageReader reader(&watched, "BMP");
    reader.setDecideFormatFromContent(false);
    QImage picture = reader.read();
    if (picture.isNull() || watched.cameShort()) {
        invalidBitmap();  // a cut file would show memory that is not its own
    }
    return opaque(std::move(picture));
}

LoadedPicture loadBitmapFile(std::string_view pathText) {
    QFile file;
    const int fd = openRegularFile(pathText);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw PictureLoadError("Cannot open file \"" + std::string(pathText) + "\"");
    }
    QImage picture = readBitmap(file);
    const QSize size = picture.size();
    return LoadedPicture{std::move(picture), size};
}

}  // namespace pictaria
