// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scrolling area for freely placed children: the scrolled surface always covers the visible
// area and grows to reach the right and bottom edges of every visible child, so scroll bars
// appear as soon as a child extends past the view. It draws no background of its own: the
// parent's face shows around the children.

#include <QScrollArea>

namespace pictaria {

class ScrollBox : public QScrollArea {
    Q_OBJECT

  public:
    explicit ScrollBox(QWidget* parent = nullptr);

    // The parent for the scrolled children.
    QWidget* surface() const { return widget(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitSurface();
};

}  // namespace pictaria
