// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the host's mounted volumes and classifies them as drive types, without touching the
// file systems themselves (a dead network mount must not hang start-up).

#include <string>
#include <vector>

#include "platform/DriveTable.h"

namespace pictaria {

struct MountedVolume {
    std::string device;      // e.g. "/dev/sdb1", "server:/export", "tmpfs"
    std::string mountPoint;  // absolute host folder
    std::string fsType;      // e.g. "ext4", "vfat", "nfs4"
};

// The volumes of /proc/self/mounts (through getmntent), in mount order.
std::vector<MountedVolume> readMountedVolumes();

// The drive type of one volume; Unknown for pseudo file systems that are no drives at all.
DriveType classifyVolume(const MountedVolume& volume);

// Builds the default table: "/" is C:, removable volumes take the next free letters in
// mount-point order, then fixed ones; remote, CD-ROM and RAM volumes get letters with their
// types too, so that the drive grid (which lists only removable and fixed ones) skips them.
DriveTable buildDriveTable(const std::vector<MountedVolume>& volumes);

}  // namespace pictaria
