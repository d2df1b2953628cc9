// SPDX-License-Identifier: GPL-3.0-or-later
// A second reference of the start-up benchmark: the minimal window with one line of Japanese
// text in the program's font, laid out before it is shown as any window with controls is, so
// that the cost of the font system (its configuration, the font list, the first font loaded)
// is on both sides of the comparison.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(12);
    QWidget window;
    window.setFont(font);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("ピクタリア  写真を仕分ける道具")));
    window.resize(847, 660);
    window.show();
    return QApplication::exec();
}
