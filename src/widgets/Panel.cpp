// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Panel.h"

#include <QMouseEvent>

namespace pictaria {

Panel::Panel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
}

QColor Panel::color() const {
    return palette().color(QPalette::Window);
}

void Panel::setColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

void Panel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QFrame::mouseReleaseEvent(event);
}

}  // namespace pictaria
