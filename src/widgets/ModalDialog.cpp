// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ModalDialog.h"

#include <QDialog>

#include <utility>

namespace pictaria {

namespace {

ModalHandler& installedHandler() {
    static ModalHandler handler;
    return handler;
}

int asModalResult(int result) {
    return result == kModalOk ? kModalOk : kModalCancel;
}

}  // namespace

int showModal(QDialog& dialog) {
    if (const ModalHandler& handler = installedHandler()) {
        return asModalResult(handler(dialog));
    }
    return asModalResult(dialog.exec());
}

ModalHandler setModalHandler(ModalHandler handler) {
    return std::exchange(installedHandler(), std::move(handler));
}

}  // namespace pictaria
