// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A row of tabs that wraps into further rows when the tabs do not fit the width; a tab keeps its
// row position (the rows do not rotate when another tab is chosen).

#include <QStringList>
#include <QWidget>

#include <vector>

namespace pictaria {

class MultiLineTabBar : public QWidget {
    Q_OBJECT

  public:
    explicit MultiLineTabBar(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(texts_.size()); }
    int addTab(const QString& text);
    void removeTab(int index);
    QString tabText(int index) const { return texts_.value(index); }
    void setTabText(int index, const QString& text);

    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);

    // Rows and tab rectangles for the bar's present width.
    int rowCount() const;
    QRect tabRect(int index) const;
    int tabAt(const QPoint& point) const;
    // The caption as drawn: cut with "…" at its end when its tab is cut to the bar's width.
    QString shownTabText(int index) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void currentChanged(int index);
    // The tabs changed in a way that can change the bar's height.
    void tabsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int rowHeight() const;
    int tabWidth(int index) const;
    QSize tabSize(const QString& text) const;
    QString fittedText(int index, int tabWidthShown) const;
    std::vector<QRect> layoutTabs(int width) const;
    void paintTab(QPainter& painter, int index, const QRect& rect, bool rowStart,
                  bool rowEnd) const;

    QStringList texts_;
    int current_ = -1;
};

}  // namespace pictaria
