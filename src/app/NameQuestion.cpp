// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NameQuestion.h"

#include <memory>

#include "dialogs/Dialog_Unit2.h"
#include "widgets/ModalDialog.h"

namespace pictaria {

std::optional<std::string> askName(QWidget* owner, const std::string& prompt,
                                   const std::string& startText) {
    auto dialog = std::make_unique<TOKBDlg>(owner);
    OKBDlg = dialog.get();
    dialog->setText(startText);
    dialog->setPrompt(prompt);
    const int result = showModal(*dialog);
    std::optional<std::string> answer;
    if (result == kModalOk) {
        answer = dialog->text();
    }
    OKBDlg = nullptr;
    return answer;
}

}  // namespace pictaria
