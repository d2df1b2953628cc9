// SPDX-License-Identifier: GPL-3.0-or-later
// The C library's status record has no field for the mount; the kernel's own is used, through
// the system call, in this file alone (the two records share a name).
#include "platform/MountIdentity.h"

#include <fcntl.h>
#include <linux/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/DriveTable.h"

namespace pictaria {

namespace {

constexpr unsigned kUniqueMountId = 0x4000;  // STATX_MNT_ID_UNIQUE, Linux 6.8
constexpr unsigned kMountId = 0x1000;        // STATX_MNT_ID, Linux 5.8

}  // namespace

std::uint64_t mountIdentityOf(std::string_view pathText) {
    const auto host = hostPathOf(pathText);
    if (!host || pathText.empty()) {
        return 0;
    }
    struct statx status {};
    if (::syscall(SYS_statx, AT_FDCWD, host->c_str(), AT_STATX_DONT_SYNC, kUniqueMountId | kMountId,
                  &status) != 0 ||
        !(status.stx_mask & (kUniqueMountId | kMountId))) {
        return 0;
    }
    return status.stx_mnt_id;
}

}  // namespace pictaria
