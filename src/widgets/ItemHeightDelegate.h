#pragma once
// Draws list items as usual but gives every item one fixed height.

#include <QStyledItemDelegate>

namespace pictaria {

class ItemHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    ItemHeightDelegate(int itemHeight, QObject* parent);

    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int itemHeight) { itemHeight_ = itemHeight; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    int itemHeight_;
};

}  // namespace pictaria
