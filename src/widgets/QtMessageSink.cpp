#include "widgets/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "widgets/ModalDialog.h"

namespace pictaria {

namespace {

QString displayText(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void prepare(QMessageBox& box, std::string_view text, QMessageBox::StandardButtons buttons) {
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(buttons);
}

}  // namespace

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
