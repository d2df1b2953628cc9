// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PopupMenu.h"

#include <QAbstractScrollArea>
#include <QMenu>

namespace pictaria {

void attachPopupMenu(QWidget& control, QMenu& menu) {
    // A scroll area reports the position in its viewport's coordinates.
    auto* scrollArea = qobject_cast<QAbstractScrollArea*>(&control);
    QWidget* origin = scrollArea ? scrollArea->viewport() : &control;
    control.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        &control, &QWidget::customContextMenuRequested, &menu,
        [origin, &menu](const QPoint& point) { menu.popup(origin->mapToGlobal(point)); });
}

}  // namespace pictaria
