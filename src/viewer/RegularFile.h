// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a picture file for reading.

#include <string_view>

namespace pictaria {

// A read-only descriptor of the regular file at a path text, -1 when there is none. A pipe or
// device carrying a picture's name is refused without blocking: reading it could wait forever
// or never end.
int openRegularFile(std::string_view pathText);

}  // namespace pictaria
