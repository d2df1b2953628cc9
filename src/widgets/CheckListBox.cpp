#include "widgets/CheckListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "widgets/ItemHeightDelegate.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr int kNameRole = Qt::UserRole;

}  // namespace

CheckListBox::CheckListBox(QWidget* parent)
    : QListWidget(parent), delegate_(new ItemHeightDelegate(16, this)) {
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setMouseTracking(true);
}

int CheckListBox::itemHeight() const {
    return delegate_->itemHeight();
}

void CheckListBox::setItemHeight(int height) {
    delegate_->setItemHeight(height);
    doItemsLayout();
}

void CheckListBox::addName(const std::string& name) {
    auto* item = new QListWidgetItem(displayText(name));
    item->setData(kNameRole, bytesOf(name));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    addItem(item);
}

void CheckListBox::addNames(const std::vector<std::string>& names) {
    setUpdatesEnabled(false);  // one repaint for the whole batch
    for (const std::string& name : names) {
        addName(name);
    }
    setUpdatesEnabled(true);
}

void CheckListBox::removeAt(int index) {
    delete takeItem(index);
}

std::string CheckListBox::name(int index) const {
    return textOf(item(index)->data(kNameRole));
}

void CheckListBox::setName(int index, const std::string& name) {
    QListWidgetItem* entry = item(index);
    entry->setText(displayText(name));
    entry->setData(kNameRole, bytesOf(name));
}

bool CheckListBox::checked(int index) const {
    return item(index)->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int index, bool checked) {
    item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CheckListBox::setItemIndex(int index) {
    if (index < 0) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

int CheckListBox::selectedIndex() const {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) {
            return i;
        }
    }
    return -1;
}

int CheckListBox::itemIndexAt(const QPoint& point) const {
    const QListWidgetItem* found = itemAt(point);
    return found ? row(found) : -1;
}

// A press on the tick box is taken by the tick alone; the item is picked all the same.
void CheckListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    const int pressed = itemIndexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed >= 0) {
        if (selectedIndex() != pressed) {
            setItemIndex(pressed);
        }
        emit clicked();
    }
}

void CheckListBox::mouseMoveEvent(QMouseEvent* event) {
    QListWidget::mouseMoveEvent(event);
    emit pointerMoved(event->buttons(), event->position().toPoint());
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) {
        emit clicked();
    }
}

}  // namespace pictaria
