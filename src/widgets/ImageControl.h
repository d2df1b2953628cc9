// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture control with the properties the program relies on: bounds set one by one, AutoSize
// (assigning a picture resizes the control to it), Stretch (the picture drawn scaled to the
// bounds) and Picture (a copy of what it draws). A stretched picture is scaled once, smoothly,
// at the first paint after the picture or the bounds changed, never on each paint.

#include <QImage>
#include <QWidget>

namespace pictaria {

class ImageControl : public QWidget {
    Q_OBJECT

  public:
    explicit ImageControl(QWidget* parent = nullptr);

    int left() const { return x(); }
    int top() const { return y(); }
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);

    const QImage& picture() const { return picture_; }
    // Copies the picture; an empty image leaves the control showing nothing.
    void setPicture(const QImage& picture);

    // Covers the control with a white rectangle outlined by a thin black line, as a blank
    // canvas (the picture becomes that drawing).
    void drawBlankCanvas();

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void fitToPicture();
    void rescale();
    void rebuildDrawn();

    QImage picture_;
    QImage scaled_;  // the picture scaled to the bounds, when stretched; else null
    bool drawnIsStale_ = false;
    bool autoSize_ = false;
    bool stretch_ = false;
};

}  // namespace pictaria
