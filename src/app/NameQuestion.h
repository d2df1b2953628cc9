// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One question through the name input dialog: a fresh dialog owned by the main window, kept in
// OKBDlg while it is shown and destroyed before the answer is handed back.

#include <optional>
#include <string>

class QWidget;

namespace pictaria {

// Shows the prompt with the starting text selected; the edited text when the dialog closed with
// OK (possibly empty), nothing when it was cancelled or closed by its frame.
std::optional<std::string> askName(QWidget* owner, const std::string& prompt,
                                   const std::string& startText);

}  // namespace pictaria
