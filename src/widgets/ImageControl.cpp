#include "widgets/ImageControl.h"

#include <QMouseEvent>
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

void ImageControl::paintEvent(QPaintEvent*) {
    if (drawnIsStale_) {
        rebuildDrawn();
    }
    if (drawn_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, drawn_);
}

void ImageControl::resizeEvent(QResizeEvent*) {
    rescale();
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ImageControl::fitToPicture() {
    if (autoSize_ && !picture_.isNull()) {
        resize(picture_.size());
    }
}

void ImageControl::rescale() {
    // Several bounds may change in a row; the scaling waits for the next paint.
    drawnIsStale_ = true;
    update();
}

void ImageControl::rebuildDrawn() {
    drawnIsStale_ = false;
    if (picture_.isNull()) {
        drawn_ = QPixmap();
    } else if (stretch_ && picture_.size() != size() && !size().isEmpty()) {
        drawn_ = QPixmap::fromImage(
            picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else {
        drawn_ = QPixmap::fromImage(picture_);
    }
}

}  // namespace pictaria
