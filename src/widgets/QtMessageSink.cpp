// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "widgets/ModalDialog.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

void prepare(QMessageBox& box, std::string_view text, QMessageBox::StandardButtons buttons) {
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QString::fromUtf8(kApplicationTitle));
    box.setText(displayText(text, LineBreaks::Keep));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(buttons);
}

}  // namespace

void setApplicationIdentity() {
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pictaria.Pictaria"));
}

void QtMessageSink::showMessage(std::string_view text) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, QMessageBox::Ok);
    showModal(box);
}

bool QtMessageSink::confirm(std::string_view text) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    showModal(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

}  // namespace pictaria
