// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/DockablePanel.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>

namespace pictaria {

namespace {

int centredWithin(int centre, int length, int room) {
    return std::clamp(centre - length / 2, 0, std::max(0, room - length));
}

}  // namespace

QPoint dockedTopLeft(DockEdge edge, const QPoint& point, const QSize& size, const QSize& siteSize) {
    const int x = centredWithin(point.x(), size.width(), siteSize.width());
    const int y = centredWithin(point.y(), size.height(), siteSize.height());
    switch (edge) {
        case DockEdge::Left:
            return {0, y};
        case DockEdge::Right:
            return {std::max(0, siteSize.width() - size.width()), y};
        case DockEdge::Top:
            return {x, 0};
        case DockEdge::Bottom:
            return {x, std::max(0, siteSize.height() - size.height())};
    }
    return {x, y};
}

DockablePanel::DockablePanel(QWidget* site) : Panel(site), site_(site) {
    setMouseTracking(true);  // pointer movements over the panel stay with the panel
    setWindowTitle(QStringLiteral("コントロール"));
    site_->installEventFilter(this);
}

void DockablePanel::tearOff(const QPoint& globalTopLeft) {
    setParent(site_, Qt::Tool);
    follow(globalTopLeft);
    show();
}

void DockablePanel::dockInto(DockEdge edge, const QPoint& point) {
    if (isFloating()) {
        setParent(site_, Qt::Widget);
    }
    move(dockedTopLeft(edge, point, size(), site_->size()));
    show();
    raise();
}

QRect DockablePanel::rectInSite() const {
    if (!isFloating()) {
        return geometry();
    }
    return QRect(site_->mapFromGlobal(geometry().topLeft()), size());
}

void DockablePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        grip_ = event->position().toPoint();
    }
    Panel::mousePressEvent(event);
}

void DockablePanel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!pressed_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint globalPointer = event->globalPosition().toPoint();
    if (isFloating()) {
        follow(globalPointer - grip_);
        return;
    }
    if ((event->position().toPoint() - grip_).manhattanLength() >=
        QApplication::startDragDistance()) {
        tearOff(globalPointer - grip_);
        grabMouse();  // the drag goes on in the new window
    }
}

void DockablePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
        if (mouseGrabber() == this) {
            releaseMouse();
        }
    }
    Panel::mouseReleaseEvent(event);
}

bool DockablePanel::eventFilter(QObject* watched, QEvent* event) {
    const bool siteShownOrHidden = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if (watched == site_ && siteShownOrHidden && isFloating()) {
        setVisible(event->type() == QEvent::Show);
        if (isVisible()) {
            raise();
        }
    }
    return Panel::eventFilter(watched, event);
}

void DockablePanel::follow(const QPoint& globalTopLeft) {
    setGeometry(QRect(globalTopLeft, size()));  // the client area, not the frame
}

}  // namespace pictaria
