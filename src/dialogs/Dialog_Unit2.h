// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one-line name input dialog: a prompt, an edit field whose whole text is selected when the
// dialog becomes active, OK (Enter) ending with 1 and Cancel (Escape, or the close box) with 2.
// Each caller creates one, sets the prompt and the starting text, shows it and destroys it.

#include <QDialog>

#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pictaria {

class TOKBDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TOKBDlg(QWidget* owner);

    void setPrompt(const std::string& prompt);
    void setText(const std::string& text);
    std::string text() const;

    void reject() override;

    QLabel* Label1 = nullptr;          // the prompt
    QLineEdit* Edit1 = nullptr;        // the name typed
    QPushButton* OKBtn = nullptr;      // "OK"
    QPushButton* CancelBtn = nullptr;  // "Cancel"
    QFrame* Bevel1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void FormActivate();
    void OKBtnClick();
    void CancelBtnClick();
    void centreOnScreen();
};

// The name input dialog of the command in progress.
extern TOKBDlg* OKBDlg;

}  // namespace pictaria
