// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tabbed pages whose tabs wrap into several rows when they do not fit in one. Pages are widgets
// owned by the control; deleting a page widget removes its tab as well. When the page in front
// goes away, the page that takes its place in the order comes to the front (the previous one
// when it was the last).

#include <QWidget>

class QStackedWidget;

namespace pictaria {

class MultiLineTabBar;

class PageControl : public QWidget {
    Q_OBJECT

  public:
    explicit PageControl(QWidget* parent = nullptr);

    // Appends a page with its tab; the first page added comes to the front.
    int addPage(QWidget* page, const QString& caption);
    // Takes a page out without deleting it.
    void removePage(QWidget* page);

    int pageCount() const;
    QWidget* page(int index) const;
    int indexOf(QWidget* page) const;

    QString tabText(int index) const;
    void setTabText(int index, const QString& text);

    QWidget* activePage() const;
    int activePageIndex() const;
    void setActivePage(QWidget* page);

    int tabRowCount() const;
    MultiLineTabBar* tabBar() const { return tabBar_; }

  signals:
    void activePageChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void arrange();

    MultiLineTabBar* tabBar_;
    QStackedWidget* pages_;
};

}  // namespace pictaria
