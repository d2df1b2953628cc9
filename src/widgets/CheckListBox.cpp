// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CheckListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

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
    insertName(count(), name);
}

void CheckListBox::insertName(int index, const std::string& name) {
    auto* item = new QListWidgetItem(displayText(name));
    item->setData(kNameRole, bytesOf(name));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    insertItem(index, item);
}

void CheckListBox::addNames(const std::vector<std::string>& names) {
    setUpdatesEnabled(false);  // one repaint for the whole batch
    for (const std::string& name : names) {
        addName(name);
    }
    setUpdatesEnabled(true);
}

// Removing the selected item leaves nothing selected: the view would otherwise select the next
// item, which the large view does not show.
void CheckListBox::removeAt(int index) {
    const bool wasSelected = item(index)->isSelected();
    tickPressed_ = -1;
    delete takeItem(index);
    if (wasSelected) {
        setItemIndex(-1);
    }
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
    if (!tickLocked(index)) {
        item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void CheckListBox::setTickLocked(QListWidgetItem* entry, bool locked) {
    entry->setFlags(locked ? entry->flags() & ~Qt::ItemIsUserCheckable
                           : entry->flags() | Qt::ItemIsUserCheckable);
}

bool CheckListBox::tickLocked(int index) const {
    return !(item(index)->flags() & Qt::ItemIsUserCheckable);
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
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int CheckListBox::itemIndexAt(const QPoint& point) const {
    const QListWidgetItem* found = itemAt(point);
    return found ? row(found) : -1;
}

bool CheckListBox::onTickBox(int index, const QPoint& point) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(item(index));
    return delegate_->onTickBox(option, indexFromItem(item(index)), point);
}

void CheckListBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    tickPressed_ = -1;
    previousDragPoint_.reset();
    const QPoint point = event->position().toPoint();
    const int pressed = itemIndexAt(point);
    if (event->button() != Qt::LeftButton || pressed < 0) {
        return;
    }
    previousDragPoint_ = point;  // a drag from here passes over the entry pressed first
    if (onTickBox(pressed, point)) {
        tickPressed_ = pressed;
        tickBeforePress_ = checked(pressed);
    }
    if (selectedIndex() != pressed) {
        setItemIndex(pressed);
    }
    emit clicked();
}

// The second press of a double click picks like the first, so a double click on a tick box
// turns it over twice, as two clicks do.
void CheckListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CheckListBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint point = event->position().toPoint();
    const bool dragging = event->buttons().testFlag(Qt::LeftButton);
    if (!dragging) {
        previousDragPoint_.reset();
    }
    emit pointerMoved(event->buttons(), point);
    if (dragging) {
        previousDragPoint_ = point;
    }
}

// The tick is set from what it was at the press, so a tick given by the pointer passing over
// the box in between is not taken back: one press and release, one change.
void CheckListBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const int pressed = std::exchange(tickPressed_, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        itemIndexAt(event->position().toPoint()) == pressed) {
        setChecked(pressed, !tickBeforePress_);
    }
}

// With nothing picked yet, the first Up or Down picks the entry the keyboard's mark is on (the
// first one, in a list that just got the focus) rather than moving past it.
void CheckListBox::keyPressEvent(QKeyEvent* event) {
    const int before = selectedIndex();
    const bool vertical = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (before < 0 && vertical && currentRow() >= 0) {
        event->accept();
        setItemIndex(currentRow());
        emit keyPicked();
        return;
    }
    QListWidget::keyPressEvent(event);
    const int after = selectedIndex();
    if (after != before && after >= 0) {
        emit keyPicked();
    }
}

}  // namespace pictaria
