// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Dialog_Unit2.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "widgets/WindowFont.h"

namespace pictaria {

TOKBDlg* OKBDlg = nullptr;

TOKBDlg::TOKBDlg(QWidget* owner) : QDialog(owner) {
    setObjectName("OKBDlg");
    setWindowTitle("フォルダ作成ダイアログ");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(313, 189);
    setFont(windowFont());

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 297, 113);

    Label1 = new QLabel("フォルダ名を、入力してください", this);
    Label1->setObjectName("Label1");
    Label1->move(24, 40);
    Label1->adjustSize();  // the label's width follows its text

    Edit1 = new QLineEdit("New Folder", this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(23, 64, 266, 20);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(79, 132, 75, 25);
    OKBtn->setDefault(true);

    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(159, 132, 75, 25);
    CancelBtn->setAutoDefault(false);

    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Edit1);
    connect(OKBtn, &QPushButton::clicked, this, &TOKBDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOKBDlg::CancelBtnClick);
}

void TOKBDlg::setPrompt(const std::string& prompt) {
    Label1->setText(QString::fromStdString(prompt));
    Label1->adjustSize();
}

void TOKBDlg::setText(const std::string& text) {
    Edit1->setText(QString::fromStdString(text));
}

std::string TOKBDlg::text() const {
    return Edit1->text().toStdString();
}

void TOKBDlg::reject() {
    done(2);  // Escape and the close box both count as Cancel
}

void TOKBDlg::showEvent(QShowEvent* event) {
    centreOnScreen();
    QDialog::showEvent(event);
}

bool TOKBDlg::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        FormActivate();
    }
    return handled;
}

void TOKBDlg::FormActivate() {
    // Typing replaces the starting text rather than extending it.
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
    Edit1->selectAll();
}

void TOKBDlg::OKBtnClick() {
    done(1);
}

void TOKBDlg::CancelBtnClick() {
    done(2);
}

void TOKBDlg::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

}  // namespace pictaria
