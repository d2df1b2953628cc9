// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/RegularFile.h"

#include "platform/DriveTable.h"
#include "platform/HostFiles.h"

namespace pictaria {

int openRegularFile(std::string_view pathText) {
    const auto host = hostPathOf(pathText);
    if (!host || pathText.empty()) {
        return -1;
    }
    return host::openRegularForReading(*host);
}

}  // namespace pictaria
