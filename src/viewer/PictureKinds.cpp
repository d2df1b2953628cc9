// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PictureKinds.h"

#include <algorithm>

namespace pictaria {

bool IsKind(std::string_view extension, KindList kinds) {
    return std::find(kinds.begin(), kinds.end(), extension) != kinds.end();
}

}  // namespace pictaria
