// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A grid of text cells without header rows or columns. Cell texts are byte strings kept in the
// item data and shown as (possibly lossy) UTF-8.
//
// A left mouse press on a cell raises `selectCell(col, row)`, then moves the current cell there,
// then raises `clicked()`, so a click handler sees the cell just pressed; a keyboard move of the
// current cell does the same. A second press of a double click raises `doubleClicked()` only;
// Enter on the current cell raises all three, as a whole double click does. Tab leaves the grid.
// Other mouse buttons never move the selection; a right click only opens the context menu.

#include <QTableWidget>

#include <string>

namespace pictaria {

class StringGrid : public QTableWidget {
    Q_OBJECT

  public:
    explicit StringGrid(QWidget* parent = nullptr);

    int colCount() const { return columnCount(); }
    void setColCount(int count) { setColumnCount(count); }
    // rowCount() and setRowCount() come from the table.

    int defaultColWidth() const;
    void setDefaultColWidth(int width);
    int defaultRowHeight() const;
    void setDefaultRowHeight(int height);

    // The text of a cell; empty for a cell never written.
    std::string cells(int col, int row) const;
    void setCells(int col, int row, const std::string& text);

    // Puts the keyboard's mark on the first cell, if it has text, without picking it: the first
    // arrow key or Enter then starts from there.
    void markFirstCell();

    // The hint (tooltip) text, as bytes.
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& hint);

  signals:
    void selectCell(int col, int row);
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::string hint_;
};

}  // namespace pictaria
