// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MultiLineTabBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QTabBar>

#include <algorithm>

namespace pictaria {

MultiLineTabBar::MultiLineTabBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int MultiLineTabBar::addTab(const QString& text) {
    texts_.append(text);
    if (current_ < 0) {
        current_ = 0;
    }
    update();
    emit tabsChanged();
    return count() - 1;
}

void MultiLineTabBar::removeTab(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    texts_.removeAt(index);
    if (index < current_) {
        --current_;
    }
    if (current_ >= count()) {
        current_ = count() - 1;
    }
    update();
    emit tabsChanged();
}

void MultiLineTabBar::setTabText(int index, const QString& text) {
    if (index < 0 || index >= count()) {
        return;
    }
    texts_[index] = text;
    update();
    emit tabsChanged();
}

void MultiLineTabBar::setCurrentIndex(int index) {
    if (index < -1 || index >= count() || index == current_) {
        return;
    }
    current_ = index;
    update();
    emit currentChanged(index);
}

int MultiLineTabBar::rowCount() const {
    const auto rects = layoutTabs(width());
    return rects.empty() ? 1 : rects.back().bottom() / rowHeight() + 1;
}

QRect MultiLineTabBar::tabRect(int index) const {
    const auto rects = layoutTabs(width());
    return index >= 0 && index < count() ? rects[index] : QRect();
}

int MultiLineTabBar::tabAt(const QPoint& point) const {
    const auto rects = layoutTabs(width());
    const auto hit = std::find_if(rects.begin(), rects.end(),
                                  [&point](const QRect& rect) { return rect.contains(point); });
    return hit == rects.end() ? -1 : static_cast<int>(hit - rects.begin());
}

int MultiLineTabBar::heightForWidth(int width) const {
    const auto rects = layoutTabs(width);
    return rects.empty() ? rowHeight() : rects.back().bottom() + 1;
}

QSize MultiLineTabBar::sizeHint() const {
    int total = 0;
    for (int i = 0; i < count(); ++i) {
        total += tabWidth(i);
    }
    return {total, rowHeight()};
}

QSize MultiLineTabBar::minimumSizeHint() const {
    return {0, rowHeight()};
}

int MultiLineTabBar::rowHeight() const {
    return tabSize(QString()).height();
}

int MultiLineTabBar::tabWidth(int index) const {
    return tabSize(texts_[index]).width();
}

// The size the style gives a tab with this text, as a one-row tab bar would.
QSize MultiLineTabBar::tabSize(const QString& text) const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.text = text;
    option.shape = QTabBar::RoundedNorth;
    const int horizontalSpace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int verticalSpace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    const QSize content(fontMetrics().horizontalAdvance(text) + horizontalSpace,
                        fontMetrics().height() + verticalSpace);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, content, this);
}

// Left to right; a tab that would pass the right edge starts a new row, unless it is the first
// of its row (a tab wider than the bar is cut to the bar's width).
std::vector<QRect> MultiLineTabBar::layoutTabs(int width) const {
    std::vector<QRect> rects;
    const int height = rowHeight();
    int x = 0;
    int y = 0;
    for (int i = 0; i < count(); ++i) {
        const int tab = std::min(tabWidth(i), std::max(width, 1));
        if (x > 0 && x + tab > width) {
            x = 0;
            y += height;
        }
        rects.emplace_back(x, y, tab, height);
        x += tab;
    }
    return rects;
}

QString MultiLineTabBar::shownTabText(int index) const {
    return fittedText(index, layoutTabs(width())[static_cast<std::size_t>(index)].width());
}

// A caption wider than its tab (cut to the bar's width) is cut with "…" at its end.
QString MultiLineTabBar::fittedText(int index, int tabWidthShown) const {
    const QString& text = texts_[index];
    const int overflow = tabWidth(index) - tabWidthShown;
    if (overflow <= 0) {
        return text;
    }
    return fontMetrics().elidedText(text, Qt::ElideRight,
                                    fontMetrics().horizontalAdvance(text) - overflow);
}

void MultiLineTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto rects = layoutTabs(width());
    for (int i = 0; i < count(); ++i) {
        const bool rowStart = i == 0 || rects[i - 1].y() != rects[i].y();
        const bool rowEnd = i + 1 == count() || rects[i + 1].y() != rects[i].y();
        paintTab(painter, i, rects[i], rowStart, rowEnd);
    }
}

void MultiLineTabBar::paintTab(QPainter& painter, int index, const QRect& rect, bool rowStart,
                               bool rowEnd) const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.rect = rect;
    option.text = fittedText(index, rect.width());
    option.shape = QTabBar::RoundedNorth;
    if (rowStart && rowEnd) {
        option.position = QStyleOptionTab::OnlyOneTab;
    } else if (rowStart) {
        option.position = QStyleOptionTab::Beginning;
    } else if (rowEnd) {
        option.position = QStyleOptionTab::End;
    } else {
        option.position = QStyleOptionTab::Middle;
    }
    if (index == current_) {
        option.state |= QStyle::State_Selected;
    }
    style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
}

void MultiLineTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int index = tabAt(event->position().toPoint());
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

}  // namespace pictaria
