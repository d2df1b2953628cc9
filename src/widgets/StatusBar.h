// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A status bar with one text panel across its whole width. The text stays until it is replaced
// (menu hints passing over the window do not clear it).

#include <QStatusBar>

#include <string>

namespace pictaria {

class ElidedLabel;

class StatusBar : public QStatusBar {
    Q_OBJECT

  public:
    explicit StatusBar(QWidget* parent = nullptr);

    const std::string& simpleText() const { return text_; }
    void setSimpleText(const std::string& text);

  private:
    ElidedLabel* panel_;
    std::string text_;
};

}  // namespace pictaria
