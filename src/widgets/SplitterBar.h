// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A horizontal bar between a control docked above it and a control filling the space below it.
// Dragging the bar changes the height of the control above; neither control becomes lower than
// the minimum size.

#include <QWidget>

namespace pictaria {

class SplitterBar : public QWidget {
    Q_OBJECT

  public:
    explicit SplitterBar(QWidget* parent = nullptr);

    void setControls(QWidget* above, QWidget* below);
    int minSize() const { return minSize_; }
    void setMinSize(int minSize) { minSize_ = minSize; }

    QColor color() const;
    void setColor(const QColor& color);

  signals:
    void moved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int clampedHeight(int wanted) const;

    QWidget* above_ = nullptr;
    QWidget* below_ = nullptr;
    int minSize_ = 30;
    bool dragging_ = false;
    int pressY_ = 0;  // global
    int startAbove_ = 0;
    int startBelow_ = 0;
};

}  // namespace pictaria
