// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line label whose text never widens the window: a text wider than the label is cut with
// "…" at its end, and the full text is the label's tooltip.

#include <QLabel>

namespace pictaria {

class ElidedLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // Hides QLabel::setText so that the tooltip always follows the text.
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text as drawn at the label's present width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pictaria
