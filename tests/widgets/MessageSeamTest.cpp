// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <stdexcept>

#include "support/ModalAnswers.h"
#include "support/TestDrives.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/QtMessageSink.h"

namespace pictaria {
namespace {

using test::ModalAnswers;

TEST(ModalDialogTest, AcceptedIsOneAndEveryOtherEndIsTwo) {
    QDialog dialog;
    {
        ModalAnswers answers([](QDialog& shown) { return shown.result() == 0 ? 1 : 0; });
        EXPECT_EQ(showModal(dialog), kModalOk);
    }
    ModalAnswers answers([](QDialog&) { return QDialog::Rejected; });
    EXPECT_EQ(showModal(dialog), kModalCancel);
    EXPECT_EQ(answers.shown, 1);
}

QMessageBox& asMessageBox(QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    if (!box) {
        throw std::logic_error("not a message box");
    }
    return *box;
}

TEST(QtMessageSinkTest, MessageIsAPlainBoxWithOneOkButtonUnderTheApplicationTitle) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    ModalAnswers answers([&](QDialog& dialog) {
        QMessageBox& box = asMessageBox(dialog);
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.buttons().size();
        return 1;
    });

    QtMessageSink().showMessage("ファイルがありません");

    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(title, QStringLiteral("ピクタリア"));
    EXPECT_EQ(text, QStringLiteral("ファイルがありません"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, 1);
}

TEST(QtMessageSinkTest, QuestionIsYesOnlyWhenYesWasPressed) {
    auto press = [](QMessageBox::StandardButton which) {
        return [which](QDialog& dialog) {
            asMessageBox(dialog).button(which)->click();
            return 2;
        };
    };
    {
        ModalAnswers answers(press(QMessageBox::Yes));
        EXPECT_TRUE(QtMessageSink().confirm("削除しますか"));
    }
    {
        ModalAnswers answers(press(QMessageBox::No));
        EXPECT_FALSE(QtMessageSink().confirm("削除しますか"));
    }
    ModalAnswers closedByFrame([](QDialog&) { return 2; });
    EXPECT_FALSE(QtMessageSink().confirm("削除しますか"));
}

TEST(ErrorReportingTest, AnEscapingErrorIsShownAndTheDeliveryEnds) {
    test::RecordingMessages messages;

    const bool handled =
        deliverReportingErrors([]() -> bool { throw std::runtime_error("読み込みエラー"); });

    EXPECT_FALSE(handled);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"読み込みエラー"});
}

}  // namespace
}  // namespace pictaria
