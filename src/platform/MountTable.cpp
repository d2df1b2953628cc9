// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountTable.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace pictaria {

namespace {

constexpr std::array kRemoteTypes{"nfs",   "nfs4",       "cifs",        "smb3",      "smbfs",
                                  "ncpfs", "afs",        "9p",          "ceph",      "glusterfs",
                                  "davfs", "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "lustre"};
constexpr std::array kOpticalTypes{"iso9660", "udf"};
constexpr std::array kRamTypes{"tmpfs", "ramfs"};
constexpr std::array kSystemFolders{"/boot", "/proc", "/sys",      "/dev",
                                    "/run",  "/snap", "/var/snap", "/var/lib"};
constexpr char kDesktopBridgeType[] = "fuse.gvfsd-fuse";

template <std::size_t N>
bool isOneOf(const std::string& value, const std::array<const char*, N>& list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool isUnder(const std::string& path, const std::string& folder) {
    return path == folder || path.starts_with(folder + "/");
}

bool isMediaMount(const std::string& mountPoint, const VolumeRules& rules) {
    return std::any_of(rules.mediaFolders.begin(), rules.mediaFolders.end(),
                       [&](const std::string& folder) { return isUnder(mountPoint, folder); });
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

// The kernel writes space, tab, newline and backslash in a field as three octal digits.
std::string unescapeField(const std::string& field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + static_cast<long>(i) + 1,
                                       field.begin() + static_cast<long>(i) + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

// "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw": the optional fields
// before "-" vary in number.
bool parseMountInfoLine(const std::string& line, MountedVolume& volume) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mountPoint, options, field;
    if (!(fields >> id >> parent >> numbers >> root >> mountPoint >> options)) {
        return false;
    }
    while (fields >> field && field != "-") {
    }
    std::string type, source;
    if (field != "-" || !(fields >> type >> source)) {
        return false;
    }
    unsigned major = 0, minor = 0;
    char colon = 0;
    std::istringstream pair(numbers);
    if (!(pair >> major >> colon >> minor) || colon != ':') {
        return false;
    }
    volume = {unescapeField(source), unescapeField(mountPoint), type, makedev(major, minor)};
    return true;
}

}  // namespace

std::vector<MountedVolume> parseMountInfo(std::istream& table) {
    std::vector<MountedVolume> volumes;
    std::string line;
    while (std::getline(table, line)) {
        if (MountedVolume volume; parseMountInfoLine(line, volume)) {
            volumes.push_back(std::move(volume));
        }
    }
    return volumes;
}

std::vector<MountedVolume> readMountedVolumes(const std::string& mountInfoPath) {
    std::ifstream table(mountInfoPath);
    return parseMountInfo(table);
}

DriveType classifyVolume(const MountedVolume& volume, const VolumeRules& rules) {
    const std::string& type = volume.fsType;
    if (type == kDesktopBridgeType) {
        return DriveType::Removable;
    }
    if (isOneOf(type, kRemoteTypes) || type.starts_with("nfs")) {
        return DriveType::Remote;
    }
    if (isOneOf(type, kOpticalTypes)) {
        return DriveType::CdRom;
    }
    if (isMediaMount(volume.mountPoint, rules)) {
        return DriveType::Removable;
    }
    if (isOneOf(type, kRamTypes)) {
        return DriveType::RamDisk;
    }
    if (!volume.device.starts_with("/dev/") || type == "squashfs") {
        return DriveType::Unknown;
    }
    return isRemovableBlockDevice(volume.device) ? DriveType::Removable : DriveType::Fixed;
}

bool isLetterless(const MountedVolume& volume, DriveType type, const VolumeRules& rules) {
    const bool systemFolder = isSystemFolder(volume.mountPoint) &&
                              !isMediaMount(volume.mountPoint, rules) &&
                              volume.fsType != kDesktopBridgeType;
    return volume.mountPoint == "/" || systemFolder || type == DriveType::Unknown;
}

}  // namespace pictaria
