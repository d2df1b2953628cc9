// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/SlideShowGlyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace pictaria {

namespace {

constexpr int kGlyphSize = 16;
const QColor kFrame(128, 128, 128);
const QColor kGreyedInk(128, 128, 128);

QPolygon rightTriangle(int left, int right) {
    return QPolygon({QPoint(left, 3), QPoint(right, 8), QPoint(left, 13)});
}

QPolygon leftTriangle(int left, int right) {
    return QPolygon({QPoint(right, 3), QPoint(left, 8), QPoint(right, 13)});
}

void drawBar(QPainter& p, int left) {
    p.drawRect(left, 4, 1, 8);  // two pixels wide with the pen
}

void drawFigure(QPainter& p, SlideGlyph glyph) {
    switch (glyph) {
        case SlideGlyph::Start:
            p.drawPolygon(rightTriangle(5, 11));
            break;
        case SlideGlyph::Forward:
            drawBar(p, 4);
            p.drawPolygon(rightTriangle(7, 12));
            break;
        case SlideGlyph::Stop:
            drawBar(p, 5);
            drawBar(p, 9);
            break;
        case SlideGlyph::Back:
            p.drawPolygon(leftTriangle(3, 8));
            drawBar(p, 10);
            break;
        case SlideGlyph::Close:
            p.drawRect(4, 4, 7, 7);
            break;
    }
}

void drawFigureInk(QPainter& p, SlideGlyph glyph, const QColor& ink, QPoint offset) {
    p.save();
    p.translate(offset);
    p.setPen(ink);
    p.setBrush(ink);
    drawFigure(p, glyph);
    p.restore();
}

}  // namespace

QImage slideGlyphImage(SlideGlyph glyph, bool enabled) {
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kGlyphSize - 1, kGlyphSize - 1);
    if (enabled) {
        drawFigureInk(p, glyph, Qt::black, QPoint(0, 0));
    } else {
        drawFigureInk(p, glyph, Qt::white, QPoint(1, 1));
        drawFigureInk(p, glyph, kGreyedInk, QPoint(0, 0));
    }
    return image;
}

QIcon slideGlyphIcon(SlideGlyph glyph) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(slideGlyphImage(glyph, true)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(slideGlyphImage(glyph, false)), QIcon::Disabled);
    return icon;
}

}  // namespace pictaria
