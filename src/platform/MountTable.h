// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the host's mounted volumes and classifies them as drive types, without touching the
// file systems themselves (a dead network mount must not hang anything).

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "platform/DriveTable.h"

namespace pictaria {

// The kernel's table of this process's mounts; reading it never waits for a volume, and a
// poll on it reports every mount and unmount.
inline constexpr char kMountInfoPath[] = "/proc/self/mountinfo";

struct MountedVolume {
    std::string device;              // e.g. "/dev/sdb1", "server:/export", "tmpfs"
    std::string mountPoint;          // absolute host folder
    std::string fsType;              // e.g. "ext4", "vfat", "nfs4"
    std::uint64_t deviceNumber = 0;  // the st_dev of the files on it, as the kernel lists it
};

// Where the desktop mounts what the user plugs in; everything mounted there is removable media.
struct VolumeRules {
    std::vector<std::string> mediaFolders{"/media", "/run/media"};
};

// The volumes of a mount table in the kernel's mountinfo form, in mount order. Unreadable
// lines are left out.
std::vector<MountedVolume> parseMountInfo(std::istream& table);
std::vector<MountedVolume> readMountedVolumes(const std::string& mountInfoPath = kMountInfoPath);

// The drive type of one volume; Unknown for pseudo file systems that are no drives at all.
// Phones and cameras that the desktop's file-system bridge mounts count as removable media.
DriveType classifyVolume(const MountedVolume& volume, const VolumeRules& rules = {});

// Whether a volume of `type` (as classifyVolume gives it) gets no letter at all: pseudo file
// systems and the system's own folders.
bool isLetterless(const MountedVolume& volume, DriveType type, const VolumeRules& rules = {});

}  // namespace pictaria
