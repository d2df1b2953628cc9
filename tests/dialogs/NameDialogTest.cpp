// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "dialogs/Dialog_Unit2.h"
#include "widgets/QtMessageSink.h"

namespace pictaria {
namespace {

// Shows the dialog modally, types into it once it is up, and returns the result.
template <typename Act>
int runDialog(TOKBDlg& dialog, Act act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] { act(dialog); });
    return dialog.exec();
}

TEST(NameDialog, EnterAcceptsTheTypedTextReplacingTheSelectedStart) {
    TOKBDlg dialog(nullptr);
    dialog.setPrompt("新しいフォルダ名を、入力してください。");
    dialog.setText("2004");
    const int result = runDialog(dialog, [](TOKBDlg& d) {
        EXPECT_EQ(d.Edit1->selectedText(), "2004");
        QTest::keyClicks(d.Edit1, "2005");
        QTest::keyClick(d.Edit1, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.text(), "2005");
    EXPECT_EQ(dialog.Label1->text(), "新しいフォルダ名を、入力してください。");
    EXPECT_EQ(dialog.windowTitle(), "フォルダ作成ダイアログ");
}

// The caption the desktop shows is the dialog's own, with nothing of the program's added.
TEST(NameDialog, TheWindowsCaptionIsExactlyTheDialogs) {
    setApplicationIdentity();
    TOKBDlg dialog(nullptr);
    dialog.show();
    ASSERT_NE(dialog.windowHandle(), nullptr);
    EXPECT_EQ(dialog.windowHandle()->title(), QStringLiteral("フォルダ作成ダイアログ"));
}

TEST(NameDialog, EscapeAndTheCloseBoxCancel) {
    TOKBDlg escaped(nullptr);
    EXPECT_EQ(runDialog(escaped, [](TOKBDlg& d) { QTest::keyClick(d.Edit1, Qt::Key_Escape); }), 2);
    TOKBDlg closed(nullptr);
    EXPECT_EQ(runDialog(closed, [](TOKBDlg& d) { d.close(); }), 2);
    TOKBDlg cancelled(nullptr);
    EXPECT_EQ(runDialog(cancelled, [](TOKBDlg& d) { d.CancelBtn->click(); }), 2);
}

TEST(NameDialog, EmptyAnswerAndLongPathStayInAFixedDialog) {
    TOKBDlg dialog(nullptr);
    dialog.setText(std::string(300, 'p'));
    const int result = runDialog(dialog, [](TOKBDlg& d) {
        QTest::keyClick(d.Edit1, Qt::Key_Delete);
        d.OKBtn->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.text(), "");
    EXPECT_EQ(dialog.size(), QSize(313, 189));
}

}  // namespace
}  // namespace pictaria
