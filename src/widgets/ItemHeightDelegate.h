// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws check list items in rows of one fixed height. The row can be lower than the font's line
// (the window font is a pixel taller than the 12-pixel rows it is used in), so the tick box is
// shrunk to fit the row and the text sits on a baseline that keeps its descenders inside it.

#include <QStyledItemDelegate>

namespace pictaria {

class ItemHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    ItemHeightDelegate(int itemHeight, QObject* parent);

    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int itemHeight) { itemHeight_ = itemHeight; }

    // True when the point lies in the column of the item's tick box, anywhere in its row.
    bool onTickBox(const QStyleOptionViewItem& option, const QModelIndex& index,
                   const QPoint& point) const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    void paintCheck(QPainter* painter, const QStyleOptionViewItem& item) const;
    void paintText(QPainter* painter, const QStyleOptionViewItem& item) const;

    int itemHeight_;
};

}  // namespace pictaria
