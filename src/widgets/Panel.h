// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain panel: a one-pixel raised bevel around a face of its own colour. Children that dock
// to its edges stay inside the bevel (contentsRect()); others are placed freely.

#include <QFrame>

namespace pictaria {

class Panel : public QFrame {
    Q_OBJECT

  public:
    explicit Panel(QWidget* parent = nullptr);

    QColor color() const;
    void setColor(const QColor& color);

  signals:
    // A left click on the panel's own face (not on a child).
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace pictaria
