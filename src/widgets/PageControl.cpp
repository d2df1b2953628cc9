// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PageControl.h"

#include <QStackedWidget>

#include "widgets/MultiLineTabBar.h"

namespace pictaria {

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), tabBar_(new MultiLineTabBar(this)), pages_(new QStackedWidget(this)) {
    pages_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    connect(tabBar_, &MultiLineTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);
    connect(tabBar_, &MultiLineTabBar::tabsChanged, this, &PageControl::arrange);
    connect(pages_, &QStackedWidget::widgetRemoved, tabBar_, &MultiLineTabBar::removeTab);
    connect(pages_, &QStackedWidget::currentChanged, this, [this](int index) {
        tabBar_->setCurrentIndex(index);
        emit activePageChanged(index);
    });
}

int PageControl::addPage(QWidget* page, const QString& caption) {
    tabBar_->addTab(caption);
    return pages_->addWidget(page);
}

void PageControl::removePage(QWidget* page) {
    pages_->removeWidget(page);
}

int PageControl::pageCount() const {
    return pages_->count();
}

QWidget* PageControl::page(int index) const {
    return pages_->widget(index);
}

int PageControl::indexOf(QWidget* page) const {
    return pages_->indexOf(page);
}

QString PageControl::tabText(int index) const {
    return tabBar_->tabText(index);
}

void PageControl::setTabText(int index, const QString& text) {
    tabBar_->setTabText(index, text);
}

QWidget* PageControl::activePage() const {
    return pages_->currentWidget();
}

int PageControl::activePageIndex() const {
    return pages_->currentIndex();
}

void PageControl::setActivePage(QWidget* page) {
    pages_->setCurrentWidget(page);
}

int PageControl::tabRowCount() const {
    return tabBar_->rowCount();
}

void PageControl::resizeEvent(QResizeEvent*) {
    arrange();
}

void PageControl::arrange() {
    const int barHeight = tabBar_->heightForWidth(width());
    tabBar_->setGeometry(0, 0, width(), barHeight);
    pages_->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
}

}  // namespace pictaria
