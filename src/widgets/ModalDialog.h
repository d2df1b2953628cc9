// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program runs a dialog modally. The result is 1 when the dialog was accepted
// (its OK button) and 2 otherwise (Cancel, Escape or closed by its frame).
//
// Tests install a handler that receives the real dialog object instead of running it: it can
// fill in fields, press buttons and return the result the dialog would have ended with.

#include <functional>

class QDialog;

namespace pictaria {

inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

using ModalHandler = std::function<int(QDialog&)>;

int showModal(QDialog& dialog);

// Installs a handler (an empty one restores running dialogs for real); returns the previous.
ModalHandler setModalHandler(ModalHandler handler);

}  // namespace pictaria
