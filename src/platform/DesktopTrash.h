// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's trash (freedesktop trash through GIO). The GIO library is loaded the first time
// something goes to the trash, not at start-up: it and the libraries it brings cost a noticeable
// part of the program's start, and most sessions never delete a folder.

#include <string>

#include "platform/FileServices.h"
#include "platform/FsResult.h"

namespace pictaria {

class DesktopTrash {
  public:
    // Moves the file or folder at `hostPath` into the trash. ENOENT when it does not exist;
    // EACCES or EPERM when it may not leave its folder; ENOTSUP when no trash can take it or
    // GIO cannot be loaded; other failures keep their reason (ENOSPC, EROFS...).
    static FsResult moveToTrash(const std::string& hostPath);

    // Takes the file or folder that was trashed from `originalHostPath` out of the trash again,
    // to `toHostPath` (never replacing what is there). The one trashed item is known by `stamp`,
    // taken before it was trashed (a trash can hold several of the same name): a file must be
    // unchanged in size and time too, a folder only the same. ENOENT when the trash no longer
    // holds it (emptied, or restored from the desktop meanwhile).
    static FsResult restore(const std::string& originalHostPath, const FileStamp& stamp,
                            bool folder, const std::string& toHostPath);
};

}  // namespace pictaria
