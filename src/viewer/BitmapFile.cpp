#include "viewer/BitmapFile.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <string>

#include "viewer/PictureLoadError.h"
#include "viewer/RegularFile.h"

namespace pictaria {

QImage readBitmap(QIODevice& device, int allocationLimitMb) {
    // The reader's limit is process-wide; every bitmap read sets it to the same value.
    QImageReader::setAllocationLimit(allocationLimitMb);
    QImageReader reader(&device, "BMP");
    reader.setDecideFormatFromContent(false);
    QImage picture = reader.read();
    if (picture.isNull()) {
        throw PictureLoadError("Bitmap image is not valid");
    }
    return picture;
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
