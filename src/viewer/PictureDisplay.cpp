// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PictureDisplay.h"

#include <algorithm>
#include <cmath>

#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "viewer/BitmapFile.h"
#include "viewer/FitGeometry.h"
#include "viewer/JpegFile.h"
#include "viewer/PictureKinds.h"
#include "viewer/PictureLoadError.h"
#include "viewer/ScreenDepth.h"
#include "viewer/ScreenProfile.h"
#include "widgets/ImageControl.h"

namespace pictaria {

namespace {

constexpr int kDeepestPaletteScreen = 8;

// Fitted pictures decode at the smallest scale that still covers their bounds in device pixels
// (twice the bounds on a screen of two device pixels to one); actual-size pictures, and
// pictures that will not be fitted, decode in full.
ScaleChooser scaleForPane(const PictureRequest& request) {
    return [=](int frameWidth, int frameHeight) {
        const auto bounds =
            fitToPane(request.paneWidth, request.paneHeight, frameWidth, frameHeight);
        if (!request.shrinkToFit || !bounds) {
            return 1;
        }
        const double ratio = std::max(1.0, request.devicePixelRatio);
        return coveringScaleDenominator(frameWidth, frameHeight,
                                        static_cast<int>(std::ceil(bounds->width * ratio)),
                                        static_cast<int>(std::ceil(bounds->height * ratio)));
    };
}

LoadedPicture loadPicture(const PictureRequest& request, const std::atomic<bool>* cancelled) {
    const std::string extension = extractFileExt(request.path);
    if (IsKind(extension, JpegKinds)) {
        return loadJpegFile(request.path, scaleForPane(request), request.palette, cancelled,
                            request.outputProfile);
    }
    if (IsKind(extension, BitmapKinds)) {
        return loadBitmapFile(request.path, request.outputProfile);
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

std::string pictureTooLargeText(const std::string& path) {
    return "メモリが足りないため " + extractFileName(path) + " を表示できません。";
}

PictureRequest pictureRequest(const std::string& path, int paneWidth, int paneHeight,
                              bool shrinkToFit, double devicePixelRatio) {
    return {path,
            paneWidth,
            paneHeight,
            shrinkToFit,
            screenDepth() <= kDeepestPaletteScreen,
            devicePixelRatio,
            screenColourProfile()};
}

PreparedPicture preparePicture(const PictureRequest& request, const std::atomic<bool>* cancelled) {
    PreparedPicture prepared;
    prepared.fileFound = fileExists(request.path);
    if (!prepared.fileFound) {
        return prepared;
    }
    try {
        prepared.picture = loadPicture(request, cancelled);
        if (prepared.picture.lackedMemory) {
            throw PictureLoadError(pictureTooLargeText(request.path));
        }
    } catch (...) {
        prepared.error = std::current_exception();  // told when shown, as a direct show tells it
    }
    return prepared;
}

std::string presentPicture(const PreparedPicture& prepared, const PictureRequest& request,
                           ImageControl& image) {
    if (!prepared.fileFound) {
        return {};
    }
    if (prepared.error) {
        std::rethrow_exception(prepared.error);
    }
    const LoadedPicture& picture = prepared.picture;
    const QSize natural = picture.naturalSize;
    if (const auto bounds =
            fitToPane(request.paneWidth, request.paneHeight, natural.width(), natural.height())) {
        placeInPane(image, *bounds);
    }
    setDrawingMode(image, request.shrinkToFit);
    image.setPicture(picture.image);
    return sizeText(picture);
}

std::string showPicture(int paneWidth, int paneHeight, ImageControl& image, const std::string& path,
                        bool shrinkToFit) {
    const PictureRequest request =
        pictureRequest(path, paneWidth, paneHeight, shrinkToFit, image.devicePixelRatioF());
    return presentPicture(preparePicture(request), request, image);
}

}  // namespace pictaria
