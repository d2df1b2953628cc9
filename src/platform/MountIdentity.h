// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which mount holds a folder now. Each mount of a volume is another mount: a card taken out and
// put back, or another card of the same name in the same reader, does not hold what the first
// mount held.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FsResult.h"

namespace pictaria {

// The kernel's identity of the mount that holds the folder of `pathText`, never given to
// another mount while the system runs (on kernels older than 6.8, whose identities are used
// again, a mount made right after another was unmounted may get its number); 0 when the folder
// cannot be asked.
std::uint64_t mountIdentityOf(std::string_view pathText);

// What the user is told when the volume of `folder` (path text) was taken out part way through
// a command: its drive, and what was therefore not done ("ドライブ E: は、この操作の途中で取り
// 外されたので、" + `notDone`).
std::string takenOutMessage(std::string_view folder, std::string_view notDone);

// The mount that held a folder when a command began, asked again before each file is put
// there. A card taken out leaves its mount point behind as an empty folder of the disk below,
// under the same path: without asking, the rest of the files would go there. Asking costs one
// status call; a handle on the folder kept open instead would go on writing into a card that
// nobody can see any more, and would keep the card busy so that it cannot be taken out safely.
class FolderMount {
  public:
    // Notes the mount of `folder` (path text) now.
    explicit FolderMount(std::string folder);

    // Success while the folder is on the mount noted; ENODEV once it lies on another (the
    // volume was taken out or another mounted in its place); the reason the folder cannot be
    // asked (ENOENT when it is gone). A folder whose mount could not be noted is not compared.
    FsResult check() const;

  private:
    std::string folder_;
    std::uint64_t noted_;
};

}  // namespace pictaria
