// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/StatusBar.h"

#include "widgets/ElidedLabel.h"
#include "widgets/TextBytes.h"

namespace pictaria {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), panel_(new ElidedLabel(this)) {
    panel_->setObjectName("SimplePanel");
    addWidget(panel_, 1);
}

void StatusBar::setSimpleText(const std::string& text) {
    text_ = text;
    panel_->setText(displayText(text));
}

}  // namespace pictaria
