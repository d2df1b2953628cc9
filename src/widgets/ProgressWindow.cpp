// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ProgressWindow.h"

#include <QProgressDialog>
#include <QPushButton>

namespace pictaria {

namespace {

constexpr int kSteps = 1000;
constexpr int kShowAfterMs = 1000;

// The window carries its owner's title, as the program's message boxes do, rather than the
// name of the executable that a window manager would show for an untitled window.
std::unique_ptr<QProgressDialog> progressDialog(QWidget* owner, const QString& label,
                                                const QString& stopText) {
    auto dialog = std::make_unique<QProgressDialog>(label, stopText, 0, kSteps, owner);
    if (owner) {
        dialog->setWindowTitle(owner->window()->windowTitle());
    }
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    return dialog;
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const QString& label)
    : dialog_(progressDialog(owner, label, QStringLiteral("Cancel"))) {
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setValue(0);  // starts the clock for the minimum duration
}

ProgressWindow::ProgressWindow(QWidget* owner, const QString& label, int showAfterMs,
                               const QString& stopText, const QString& stoppingText,
                               std::function<void()> onStop)
    : dialog_(progressDialog(owner, label, stopText)) {
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumDuration(showAfterMs);
    QObject::connect(dialog_.get(), &QProgressDialog::canceled, dialog_.get(),
                     [this, stoppingText, onStop = std::move(onStop)] {
                         showStopping(stoppingText);
                         onStop();
                     });
    dialog_->setValue(0);
}

// The dialog hides itself when cancelled. Only the user cancels it (its button, Escape, its
// frame), so it was on the screen: it comes back without its button (hidden, not deleted: it is
// the one whose click is being handled).
void ProgressWindow::showStopping(const QString& stoppingText) {
    stopping_ = true;
    if (auto* button = dialog_->findChild<QPushButton*>()) {
        button->hide();
    }
    dialog_->setLabelText(stoppingText);
    dialog_->show();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::setLabel(const QString& label) {
    if (!stopping_) {
        dialog_->setLabelText(label);
    }
}

// The window frame is not known before the window is shown: a margin below leaves room for a
// title bar.
void ProgressWindow::placeInCorner(const QRect& area) {
    constexpr int kMargin = 24;
    constexpr int kTitleBar = 24;
    const QSize size = dialog_->sizeHint();
    dialog_->move(area.left() + kMargin, area.bottom() - size.height() - kMargin - kTitleBar);
}

bool ProgressWindow::report(std::int64_t done, std::int64_t total) {
    if (stopping_) {
        return false;
    }
    const std::int64_t step = total > 0 ? done * kSteps / total : 0;
    // A modal progress dialog handles the pending events in setValue, Cancel included.
    dialog_->setValue(static_cast<int>(step < kSteps ? step : kSteps - 1));
    return !dialog_->wasCanceled();
}

}  // namespace pictaria
