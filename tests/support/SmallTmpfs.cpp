// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SmallTmpfs.h"

#include <sys/mount.h>

namespace pictaria::test {

SmallTmpfs::SmallTmpfs(std::size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallTmpfs::~SmallTmpfs() {
    if (mounted_) {
        ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
}

}  // namespace pictaria::test
