#include "widgets/ItemHeightDelegate.h"

namespace pictaria {

ItemHeightDelegate::ItemHeightDelegate(int itemHeight, QObject* parent)
    : QStyledItemDelegate(parent), itemHeight_(itemHeight) {}

QSize ItemHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), itemHeight_};
}

}  // namespace pictaria
