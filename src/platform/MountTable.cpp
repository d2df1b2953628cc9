// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountTable.h"

#include <mntent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>

namespace pictaria {

namespace {

constexpr std::array kRemoteTypes{
    "nfs",   "nfs4",       "cifs",        "smb3",      "smbfs",
    "ncpfs", "afs",        "9p",          "ceph",      "glusterfs",
    "davfs", "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "fuse.gvfsd-fuse",
    "lustre"};
constexpr std::array kOpticalTypes{"iso9660", "udf"};
constexpr std::array kRamTypes{"tmpfs", "ramfs"};
constexpr std::array kSystemFolders{"/boot", "/proc", "/sys",      "/dev",
                                    "/run",  "/snap", "/var/snap", "/var/lib"};

template <std::size_t N>
bool isOneOf(const std::string& value, const std::array<const char*, N>& list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool isUnder(const std::string& path, const std::string& folder) {
    return path == folder || path.starts_with(folder + "/");
}

bool isMediaMount(const std::string& mountPoint) {
    return isUnder(mountPoint, "/media") || isUnder(mountPoint, "/run/media");
}

bool isSystemFolder(const std::string& mountPoint) {
    return std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                       [&](const char* f) { return isUnder(mountPoint, f); });
}

// The kernel marks USB sticks and card readers as removable in sysfs; a partition takes the
// flag of its disk, one folder up.
bool isRemovableBlockDevice(const std::string& device) {
    if (!device.starts_with("/dev/")) {
        return false;
    }
    const std::string name = device.substr(5);
    for (const std::string& flag : {"/sys/class/block/" + name + "/removable",
                                    "/sys/class/block/" + name + "/../removable"}) {
        std::ifstream in(flag);
        char value = '0';
        if (in >> value) {
            return value == '1';
        }
    }
    return false;
}

}  // namespace

std::vector<MountedVolume> readMountedVolumes() {
    std::vector<MountedVolume> volumes;
    FILE* table = setmntent("/proc/self/mounts", "r");
    if (!table) {
        return volumes;
    }
    mntent entry{};
    std::array<char, 4096> buffer{};
    while (getmntent_r(table, &entry, buffer.data(), static_cast<int>(buffer.size()))) {
        volumes.push_back({entry.mnt_fsname, entry.mnt_dir, entry.mnt_type});
    }
    endmntent(table);
    return volumes;
}

DriveType classifyVolume(const MountedVolume& volume) {
    const std::string& type = volume.fsType;
    if (isOneOf(type, kRemoteTypes) || type.starts_with("nfs")) {
        return DriveType::Remote;
    }
    if (isOneOf(type, kOpticalTypes)) {
        return DriveType::CdRom;
    }
    if (isOneOf(type, kRamTypes)) {
        return DriveType::RamDisk;
    }
    if (isMediaMount(volume.mountPoint)) {
        return DriveType::Removable;
    }
    if (!volume.device.starts_with("/dev/") || type == "squashfs") {
        return DriveType::Unknown;
    }
    return isRemovableBlockDevice(volume.device) ? DriveType::Removable : DriveType::Fixed;
}

DriveTable buildDriveTable(const std::vector<MountedVolume>& volumes) {
    DriveTable table;
    table.add('C', "/", DriveType::Fixed);

    std::string rootDevice;
    for (const MountedVolume& v : volumes) {
        if (v.mountPoint == "/") {
            rootDevice = v.device;
        }
    }

    // Only real folders that are not already reachable from C:\ through the root volume.
    std::set<std::string> seenDevices{rootDevice};
    std::vector<std::pair<MountedVolume, DriveType>> candidates;
    for (const MountedVolume& v : volumes) {
        const DriveType type = classifyVolume(v);
        const bool systemFolder = isSystemFolder(v.mountPoint) && !isMediaMount(v.mountPoint);
        if (v.mountPoint == "/" || type == DriveType::Unknown || systemFolder) {
            continue;
        }
        const bool local = type == DriveType::Removable || type == DriveType::Fixed;
        if (local) {
            struct stat st {};
            if (!seenDevices.insert(v.device).second || ::stat(v.mountPoint.c_str(), &st) != 0 ||
                !S_ISDIR(st.st_mode)) {
                continue;
            }
        }
        candidates.emplace_back(v, type);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.first.mountPoint < b.first.mountPoint;
    });

    // Removable media first from D:, then fixed disks, then the rest.
    char next = 'D';
    for (DriveType wanted : {DriveType::Removable, DriveType::Fixed, DriveType::Remote,
                             DriveType::CdRom, DriveType::RamDisk}) {
        for (const auto& [volume, type] : candidates) {
            if (type == wanted && next <= 'Z') {
                table.add(next++, volume.mountPoint, type);
            }
        }
    }
    return table;
}

}  // namespace pictaria
