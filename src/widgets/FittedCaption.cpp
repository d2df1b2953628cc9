// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FittedCaption.h"

#include <QKeySequence>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace pictaria {

namespace {

constexpr int kSmallestPixelSize = 8;

// The width the style gives a button holding `caption` in `font`.
int neededWidth(const QPushButton& button, const QString& caption, const QFont& font) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = caption;
    option.fontMetrics = QFontMetrics(font);
    const QSize text(option.fontMetrics.horizontalAdvance(caption), option.fontMetrics.height());
    return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, text, &button).width();
}

}  // namespace

void setFittedCaption(QPushButton& button, const QString& caption, int pixelSize) {
    QFont font = button.font();
    font.setPixelSize(pixelSize);
    while (font.pixelSize() > kSmallestPixelSize &&
           neededWidth(button, caption, font) > button.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    button.setFont(font);
    // The button keeps its key: the toolkit would put the caption's mnemonic in its place, and
    // these captions have none.
    const QKeySequence key = button.shortcut();
    button.setText(caption);
    button.setShortcut(key);
}

}  // namespace pictaria
