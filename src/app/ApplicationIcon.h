// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon, drawn from the same SVG file that is installed for the desktop's menus.

#include <QIcon>

namespace pictaria {

// The icon at the sizes window frames and task bars ask for.
QIcon applicationIcon();

}  // namespace pictaria
