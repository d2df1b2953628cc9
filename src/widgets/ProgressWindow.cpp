#include "widgets/ProgressWindow.h"

#include <QProgressDialog>

namespace pictaria {

namespace {

constexpr int kSteps = 1000;
constexpr int kShowAfterMs = 1000;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const QString& label)
    : dialog_(
          std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, kSteps, owner)) {
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);  // starts the clock for the minimum duration
}

ProgressWindow::ProgressWindow(QWidget* owner, const QString& label, int showAfterMs,
                               const QString& stopText, std::function<void()> onStop)
    : dialog_(std::make_unique<QProgressDialog>(label, stopText, 0, kSteps, owner)) {
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumDuration(showAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    QObject::connect(dialog_.get(), &QProgressDialog::canceled, dialog_.get(), std::move(onStop));
    dialog_->setValue(0);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::setLabel(const QString& label) {
    dialog_->setLabelText(label);
}

bool ProgressWindow::report(std::int64_t done, std::int64_t total) {
    const std::int64_t step = total > 0 ? done * kSteps / total : 0;
    // A modal progress dialog handles the pending events in setValue, Cancel included.
    dialog_->setValue(static_cast<int>(step < kSteps ? step : kSteps - 1));
    return !dialog_->wasCanceled();
}

}  // namespace pictaria
