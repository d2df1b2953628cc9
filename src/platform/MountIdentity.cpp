// SPDX-License-Identifier: GPL-3.0-or-later
// The C library's status record has no field for the mount; the kernel's own is used, through
// the system call, in this file alone (the two records share a name).
#include "platform/MountIdentity.h"

#include <fcntl.h>
#include <linux/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/DriveTable.h"

namespace pictaria {

std::string takenOutMessage(std::string_view folder, std::string_view notDone) {
    return "ドライブ " + std::string(folder.substr(0, 2)) +
           " は、この操作の途中で取り外されたので、" + std::string(notDone);
}

namespace {

constexpr unsigned kUniqueMountId = 0x4000;  // STATX_MNT_ID_UNIQUE, Linux 6.8
constexpr unsigned kMountId = 0x1000;        // STATX_MNT_ID, Linux 5.8

struct MountAnswer {
    std::uint64_t identity = 0;  // 0 when the kernel does not tell it
    int error = 0;               // why the folder cannot be asked
};

MountAnswer askMount(std::string_view pathText) {
    const auto host = hostPathOf(pathText);
    if (!host || pathText.empty()) {
        return {0, ENOENT};
    }
    struct statx status {};
    if (::syscall(SYS_statx, AT_FDCWD, host->c_str(), AT_STATX_DONT_SYNC, kUniqueMountId | kMountId,
                  &status) != 0) {
        return {0, errno};
    }
    return {(status.stx_mask & (kUniqueMountId | kMountId)) ? status.stx_mnt_id : 0, 0};
}

}  // namespace

std::uint64_t mountIdentityOf(std::string_view pathText) {
    return askMount(pathText).identity;
}

FolderMount::FolderMount(std::string folder)
    : folder_(std::move(folder)), noted_(mountIdentityOf(folder_)) {}

FsResult FolderMount::check() const {
    const MountAnswer now = askMount(folder_);
    if (now.error != 0) {
        return FsResult::failure(now.error);
    }
    return noted_ != 0 && now.identity != noted_ ? FsResult::failure(ENODEV) : FsResult::success();
}

}  // namespace pictaria
