// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ScrollBox.h"

#include <QChildEvent>
#include <QEvent>

namespace pictaria {

namespace {

bool changesChildExtent(QEvent::Type type) {
    return type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
           type == QEvent::Hide;
}

}  // namespace

ScrollBox::ScrollBox(QWidget* parent) : QScrollArea(parent) {
    auto* surface = new QWidget;
    surface->setAutoFillBackground(false);
    surface->installEventFilter(this);
    setWidget(surface);
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == surface() && event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) {
            child->installEventFilter(this);
        }
    } else if (watched != surface() && changesChildExtent(event->type())) {
        fitSurface();
    }
    return QScrollArea::eventFilter(watched, event);
}

void ScrollBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    fitSurface();
}

void ScrollBox::fitSurface() {
    QRect extent(QPoint(0, 0), viewport()->size());
    for (const QWidget* child : surface()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) {
            extent = extent.united(QRect(QPoint(0, 0), child->geometry().bottomRight()));
        }
    }
    if (surface()->size() != extent.size()) {
        surface()->resize(extent.size());
    }
}

}  // namespace pictaria
