// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a handler on every pointer movement over a control, buttons held or not, as a control's
// mouse-move event does (the pointer entering the control counts as a move).

#include <functional>

class QWidget;

namespace pictaria {

void onPointerMove(QWidget& control, std::function<void()> handler);

}  // namespace pictaria
