// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ItemHeightDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace pictaria {

namespace {

const QStyle* styleOf(const QStyleOptionViewItem& item) {
    return item.widget ? item.widget->style() : QApplication::style();
}

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& item) {
    if (!(item.state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

// The style's own tick box place (where a click toggles it), shrunk to fit into the row.
QRect checkRect(const QStyleOptionViewItem& item) {
    const QRect place =
        styleOf(item)->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, item.widget);
    const int side = std::min(place.height(), item.rect.height() - 1);
    QRect fitted(0, 0, side, side);
    fitted.moveCenter(QPoint(place.center().x(), item.rect.center().y()));
    return fitted;
}

}  // namespace

ItemHeightDelegate::ItemHeightDelegate(int itemHeight, QObject* parent)
    : QStyledItemDelegate(parent), itemHeight_(itemHeight) {}

bool ItemHeightDelegate::onTickBox(const QStyleOptionViewItem& option, const QModelIndex& index,
                                   const QPoint& point) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (!(item.features & QStyleOptionViewItem::HasCheckIndicator)) {
        return false;
    }
    const QRect box = checkRect(item);
    return item.rect.contains(point) && point.x() >= box.left() && point.x() <= box.right();
}

QSize ItemHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), itemHeight_};
}

void ItemHeightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if ((item.features & QStyleOptionViewItem::HasCheckIndicator) &&
        !(index.flags() & Qt::ItemIsUserCheckable)) {
        item.state &= ~QStyle::State_Enabled;  // a locked tick: its entry is drawn greyed, whole
    }
    painter->save();
    painter->setClipRect(item.rect);
    styleOf(item)->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, item.widget);
    if (item.features & QStyleOptionViewItem::HasCheckIndicator) {
        paintCheck(painter, item);
    }
    paintText(painter, item);
    painter->restore();
}

void ItemHeightDelegate::paintCheck(QPainter* painter, const QStyleOptionViewItem& item) const {
    QStyleOptionViewItem check(item);
    check.rect = checkRect(item);
    check.state &= ~QStyle::State_HasFocus;
    check.state |= item.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    styleOf(item)->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter,
                                 item.widget);
}

void ItemHeightDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& item) const {
    const QRect area =
        styleOf(item)->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    const QFontMetrics metrics(item.font);
    const int centred = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    const int baseline = std::min(centred, area.bottom() + 1 - metrics.descent());
    const bool selected = item.state & QStyle::State_Selected;
    painter->setFont(item.font);
    painter->setPen(item.palette.color(colourGroup(item),
                                       selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QPoint(area.left(), baseline), item.text);
}

}  // namespace pictaria
