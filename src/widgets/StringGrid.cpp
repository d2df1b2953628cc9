// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/StringGrid.h"
#include "widgets/TextBytes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace pictaria {

namespace {

constexpr int kTextRole = Qt::UserRole;
constexpr int kDefaultCount = 5;

}  // namespace

StringGrid::StringGrid(QWidget* parent) : QTableWidget(kDefaultCount, kDefaultCount, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setDefaultColWidth(64);
    setDefaultRowHeight(24);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Tab moves the focus on to the window's next part, as everywhere on the desktop; only a
    // deliberate move in the grid picks a cell.
    setTabKeyNavigation(false);
}

void StringGrid::markFirstCell() {
    if (item(0, 0)) {
        setCurrentCell(0, 0, QItemSelectionModel::NoUpdate);
    }
}

int StringGrid::defaultColWidth() const {
    return horizontalHeader()->defaultSectionSize();
}

void StringGrid::setDefaultColWidth(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
}

int StringGrid::defaultRowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
}

std::string StringGrid::cells(int col, int row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->data(kTextRole).toByteArray().toStdString() : std::string();
}

void StringGrid::setCells(int col, int row, const std::string& text) {
    auto* cell = new QTableWidgetItem(displayText(text));
    cell->setData(kTextRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, col, cell);
}

void StringGrid::setHint(const std::string& hint) {
    hint_ = hint;
    setToolTip(displayText(hint));
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();  // the context menu comes from its own event
        return;
    }
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid()) {
        event->accept();
        return;
    }
    emit selectCell(cell.column(), cell.row());
    QTableWidget::mousePressEvent(event);
    emit clicked();
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

// Enter opens the cell under the keyboard's mark as a double click does: its press picks it
// first.
void StringGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (const QModelIndex cell = currentIndex(); cell.isValid()) {
            emit selectCell(cell.column(), cell.row());
            setCurrentIndex(cell);
            emit clicked();
            emit doubleClicked();
        }
        return;
    }
    const QModelIndex before = currentIndex();
    QTableWidget::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after != before) {
        emit selectCell(after.column(), after.row());
        emit clicked();
    }
}

}  // namespace pictaria
