// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SplitterBar.h"

#include <QMouseEvent>

#include <algorithm>

namespace pictaria {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeVerCursor);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void SplitterBar::setControls(QWidget* above, QWidget* below) {
    above_ = above;
    below_ = below;
}

QColor SplitterBar::color() const {
    return palette().color(QPalette::Window);
}

void SplitterBar::setColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !above_ || !below_) {
        return;
    }
    dragging_ = true;
    pressY_ = qRound(event->globalPosition().y());
    startAbove_ = above_->height();
    startBelow_ = below_->height();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    const int wanted = startAbove_ + qRound(event->globalPosition().y()) - pressY_;
    const int height = clampedHeight(wanted);
    if (height != above_->height()) {
        above_->setFixedHeight(height);
        emit moved();
    }
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
}

int SplitterBar::clampedHeight(int wanted) const {
    const int highest = std::max(minSize_, startAbove_ + startBelow_ - minSize_);
    return std::clamp(wanted, minSize_, highest);
}

}  // namespace pictaria
