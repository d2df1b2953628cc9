// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FsResult.h"

#include <cstring>

namespace pictaria {

std::string FsResult::message() const {
    return ok() ? std::string() : std::string(std::strerror(error_));
}

}  // namespace pictaria
