// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ButtonGlyphs.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace pictaria {

namespace {

constexpr int kGlyphSize = 16;
const QColor kOutline(40, 40, 40);
const QColor kPaper(250, 250, 250);
const QColor kFolder(240, 196, 64);
const QColor kArrow(32, 150, 48);
const QColor kCross(210, 30, 30);
const QColor kGlass(90, 150, 220);

void drawSheet(QPainter& p, const QRect& sheet) {
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawRect(sheet);
    p.setPen(QColor(150, 150, 150));
    for (int y = sheet.top() + 3; y < sheet.bottom() - 1; y += 2) {
        p.drawLine(sheet.left() + 2, y, sheet.right() - 2, y);
    }
}

void drawFolder(QPainter& p) {
    p.setPen(kOutline);
    p.setBrush(kFolder.darker(115));
    p.drawRect(1, 3, 6, 2);
    p.setBrush(kFolder);
    p.drawRect(1, 5, 13, 8);
}

void drawArrow(QPainter& p, const QPointF& from, const QPointF& to) {
    const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF across(-along.y(), along.x());
    p.setPen(QPen(kArrow, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to - along * 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(QPolygonF{to, to - along * 5 + across * 4, to - along * 5 - across * 4});
}

void drawCross(QPainter& p, const QRectF& area) {
    p.setPen(QPen(kCross, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(area.topLeft(), area.bottomRight());
    p.drawLine(area.topRight(), area.bottomLeft());
}

void drawTriangle(QPainter& p, const QRectF& area) {
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPolygon(
        QPolygonF{area.topLeft(), QPointF(area.right(), area.center().y()), area.bottomLeft()});
}

void paintGlyph(QPainter& p, Glyph glyph) {
    switch (glyph) {
        case Glyph::None:
            break;
        case Glyph::Open:
        case Glyph::SelectFolder:
            drawFolder(p);
            break;
        case Glyph::Copy:
            drawSheet(p, QRect(1, 1, 9, 11));
            drawSheet(p, QRect(5, 4, 9, 11));
            break;
        case Glyph::Move:
            drawSheet(p, QRect(1, 2, 8, 11));
            drawArrow(p, QPointF(6, 9), QPointF(15, 9));
            break;
        case Glyph::Out:
            drawSheet(p, QRect(6, 2, 8, 11));
            drawArrow(p, QPointF(10, 8), QPointF(1, 8));
            break;
        case Glyph::Clear:
            p.setPen(kOutline);
            p.setBrush(Qt::white);
            p.drawRect(3, 3, 9, 9);
            break;
        case Glyph::Delete:
            drawCross(p, QRectF(3, 3, 10, 10));
            break;
        case Glyph::Slide:
            p.setPen(kOutline);
            p.setBrush(QColor(70, 70, 70));
            p.drawRect(1, 2, 13, 11);
            p.setBrush(Qt::white);
            p.drawRect(3, 4, 9, 7);
            drawTriangle(p, QRectF(6, 5, 4, 5));
            break;
        case Glyph::Change:
            drawFolder(p);
            drawArrow(p, QPointF(11, 14), QPointF(11, 1));
            break;
        case Glyph::ClosePage:
            drawSheet(p, QRect(1, 1, 10, 12));
            drawCross(p, QRectF(8, 8, 6, 6));
            break;
        case Glyph::AttachText: {
            // A bold "A" in strokes: a font would cost start-up time for one letter.
            p.setPen(QPen(kOutline, 2));
            const QPointF letter[] = {{1.5, 13}, {5, 3}, {8.5, 13}};
            p.drawPolyline(letter, 3);
            p.drawLine(QPointF(3, 9.5), QPointF(7, 9.5));
            p.setPen(QPen(kArrow, 2));
            p.drawLine(9, 8, 15, 8);
            p.drawLine(12, 5, 12, 11);
            break;
        }
        case Glyph::Search:
            p.setPen(QPen(kOutline, 2));
            p.setBrush(kGlass);
            p.drawEllipse(QRectF(2, 2, 8, 8));
            p.drawLine(9, 9, 14, 14);
            break;
        case Glyph::Next:
            drawTriangle(p, QRectF(3, 3, 7, 10));
            p.fillRect(11, 3, 2, 10, kOutline);
            break;
    }
}

}  // namespace

QIcon glyphIcon(Glyph glyph) {
    if (glyph == Glyph::None) {
        return {};
    }
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGlyph(painter, glyph);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace pictaria
