#include "viewer/PictureDisplay.h"

#include <QImage>

#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "widgets/ImageControl.h"

namespace pictaria {

// First version: Qt's readers, no fitting. Replaced by the libjpeg decoder and the fit.
std::string showPicture(int, int, ImageControl& image, const std::string& path, bool shrinkToFit) {
    if (!fileExists(path)) {
        return {};
    }
    QImage picture;
    if (const auto host = hostPathOf(path)) {
        picture.load(QString::fromStdString(*host));
    }
    image.setAutoSize(!shrinkToFit);
    image.setStretch(shrinkToFit);
    image.setPicture(picture);
    return picture.isNull()
               ? std::string()
               : std::to_string(picture.width()) + "X" + std::to_string(picture.height());
}

}  // namespace pictaria
