#include "viewer/PictureDisplay.h"

#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "viewer/BitmapFile.h"
#include "viewer/FitGeometry.h"
#include "viewer/JpegFile.h"
#include "viewer/PictureKinds.h"
#include "viewer/ScreenDepth.h"
#include "widgets/ImageControl.h"

namespace pictaria {

namespace {

constexpr int kDeepestPaletteScreen = 8;

// Fitted pictures decode at the smallest scale that still covers their bounds; actual-size
// pictures, and pictures that will not be fitted, decode in full.
ScaleChooser scaleForPane(int paneWidth, int paneHeight, bool shrinkToFit) {
    return [=](int frameWidth, int frameHeight) {
        const auto bounds = fitToPane(paneWidth, paneHeight, frameWidth, frameHeight);
        if (!shrinkToFit || !bounds) {
            return 1;
        }
        return coveringScaleDenominator(frameWidth, frameHeight, bounds->width, bounds->height);
    };
}

LoadedPicture loadPicture(const std::string& path, int paneWidth, int paneHeight,
                          bool shrinkToFit) {
    const std::string extension = extractFileExt(path);
    if (IsKind(extension, JpegKinds)) {
        return loadJpegFile(path, scaleForPane(paneWidth, paneHeight, shrinkToFit),
                            screenDepth() <= kDeepestPaletteScreen);
    }
    if (IsKind(extension, BitmapKinds)) {
        return loadBitmapFile(path);
    }
    return {};
}

void placeInPane(ImageControl& image, const PictureBounds& bounds) {
    image.setHeight(bounds.height);
    image.setWidth(bounds.width);
    image.setTop(bounds.top);
    image.setLeft(bounds.left);
}

void setDrawingMode(ImageControl& image, bool shrinkToFit) {
    image.setAutoSize(!shrinkToFit);
    image.setStretch(shrinkToFit);
}

std::string sizeText(const LoadedPicture& picture) {
    if (!picture.loaded()) {
        return {};
    }
    return std::to_string(picture.naturalSize.width()) + "X" +
           std::to_string(picture.naturalSize.height());
}

}  // namespace

std::string showPicture(int paneWidth, int paneHeight, ImageControl& image, const std::string& path,
                        bool shrinkToFit) {
    if (!fileExists(path)) {
        return {};
    }
    const LoadedPicture picture = loadPicture(path, paneWidth, paneHeight, shrinkToFit);
    const QSize natural = picture.naturalSize;
    if (const auto bounds = fitToPane(paneWidth, paneHeight, natural.width(), natural.height())) {
        placeInPane(image, *bounds);
    }
    setDrawingMode(image, shrinkToFit);
    image.setPicture(picture.image);
    return sizeText(picture);
}

}  // namespace pictaria
