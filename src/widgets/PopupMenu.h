// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Attaches a popup menu to a control: a right click (or the menu key) over the control opens
// the menu at the pointer.

class QMenu;
class QWidget;

namespace pictaria {

void attachPopupMenu(QWidget& control, QMenu& menu);

}  // namespace pictaria
