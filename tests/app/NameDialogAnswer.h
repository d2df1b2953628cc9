// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a command that asks through the name input dialog, answering it with a text and OK or
// cancelling it, and keeps what the dialog showed.

#include <gtest/gtest.h>

#include <QLabel>

#include <functional>
#include <optional>
#include <string>

#include "dialogs/Dialog_Unit2.h"
#include "support/ModalAnswers.h"

namespace pictaria::test {

struct NameDialogAnswer {
    void run(const std::function<void()>& command, const std::optional<std::string>& typed) {
        ModalAnswers answers([&](QDialog& dialog) {
            auto& nameDialog = dynamic_cast<TOKBDlg&>(dialog);
            EXPECT_EQ(OKBDlg, &nameDialog);
            prompt = nameDialog.Label1->text().toStdString();
            offered = nameDialog.text();
            if (typed) {
                nameDialog.setText(*typed);
            }
            return typed ? kModalOk : kModalCancel;
        });
        command();
        EXPECT_EQ(answers.shown, 1);
        EXPECT_EQ(OKBDlg, nullptr);
    }

    std::string prompt;   // Label1 as shown
    std::string offered;  // the starting text of Edit1
};

}  // namespace pictaria::test
