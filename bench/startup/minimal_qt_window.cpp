// SPDX-License-Identifier: GPL-3.0-or-later
// The reference of the start-up benchmark: the least a Qt Widgets program does to show one
// window, of the main window's size.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(847, 660);
    window.show();
    return QApplication::exec();
}
