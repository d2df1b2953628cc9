// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ImageControl.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace pictaria {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setLeft(int left) {
    move(left, y());
}

void ImageControl::setTop(int top) {
    move(x(), top);
}

void ImageControl::setWidth(int width) {
    resize(std::max(0, width), height());
}

void ImageControl::setHeight(int height) {
    resize(width(), std::max(0, height));
}

void ImageControl::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    fitToPicture();
}

void ImageControl::setStretch(bool stretch) {
    if (stretch_ != stretch) {
        stretch_ = stretch;
        rescale();
    }
}

void ImageControl::setPicture(const QImage& picture) {
    picture_ = picture;
    fitToPicture();
    rescale();
}

void ImageControl::drawBlankCanvas() {
    QImage canvas(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, canvas.width() - 1, canvas.height() - 1);
    painter.end();
    setPicture(canvas);
}

void ImageControl::paintEvent(QPaintEvent* event) {
    if (drawnIsStale_) {
        rebuildDrawn();
    }
    const QImage& shown = scaled_.isNull() ? picture_ : scaled_;
    if (shown.isNull()) {
        return;
    }
    // The part to paint, taken from the image's own pixels (device pixels for a stretched copy
    // made for a high-density screen).
    const QRectF target(event->rect());
    const qreal ratio = shown.devicePixelRatio();
    const QRectF source(target.topLeft() * ratio, target.size() * ratio);
    QPainter painter(this);
    painter.drawImage(target, shown, source);
}

void ImageControl::resizeEvent(QResizeEvent*) {
    rescale();
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

// An empty picture has no extent: nothing to scroll to is left behind.
void ImageControl::fitToPicture() {
    if (autoSize_) {
        resize(picture_.isNull() ? QSize(0, 0) : picture_.size());
    }
}

void ImageControl::rescale() {
    // Several bounds may change in a row; the scaling waits for the next paint.
    drawnIsStale_ = true;
    update();
}

// Only a stretched picture gets a copy of its own, at the control's size in device pixels, so
// that a high-density screen shows it at its full resolution; otherwise the picture itself is
// drawn (a photograph at actual size is held once).
void ImageControl::rebuildDrawn() {
    drawnIsStale_ = false;
    scaled_ = QImage();
    const qreal ratio = devicePixelRatioF();
    const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
    if (picture_.isNull() || !stretch_ || size().isEmpty() ||
        (picture_.size() == devicePixels && ratio == 1)) {
        return;
    }
    scaled_ = picture_.size() == devicePixels
                  ? picture_
                  : picture_.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled_.setDevicePixelRatio(ratio);
}

}  // namespace pictaria
