// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DriveLettering.h"

#include <algorithm>
#include <array>

namespace pictaria {

namespace {

constexpr char kFirstFreeLetter = 'D';
constexpr std::array kStartUpOrder{DriveType::Removable, DriveType::Fixed, DriveType::Remote,
                                   DriveType::CdRom, DriveType::RamDisk};

std::pair<std::string, std::string> keyOf(const MountedVolume& volume) {
    return {volume.device, volume.mountPoint};
}

// Two mounts of one volume (a bind mount, a second subvolume of a disk) have the same source
// and the same device number; two RAM or FUSE volumes share a source name but not a number.
DriveLettering::VolumeIdentity identityOf(const MountedVolume& volume) {
    return {volume.device, volume.deviceNumber};
}

// Local volumes are asked about their roots; remote, optical and RAM volumes are never touched.
bool isLocal(DriveType type) {
    return type == DriveType::Removable || type == DriveType::Fixed;
}

std::vector<VolumeAnswer> probeWithinLimit(const std::vector<std::string>& roots) {
    return probeVolumes(roots);
}

}  // namespace

DriveLettering::DriveLettering(VolumeRules rules, Probe probe)
    : rules_(std::move(rules)), probe_(probe ? std::move(probe) : probeWithinLimit) {}

DriveLettering::DriveLettering(DriveTable table, const std::vector<MountedVolume>& mountedNow,
                               VolumeRules rules, Probe probe)
    : DriveLettering(std::move(rules), std::move(probe)) {
    table_ = std::move(table);
    rememberPresent(mountedNow);
}

DriveLettering DriveLettering::atStartUp(const std::vector<MountedVolume>& volumes,
                                         VolumeRules rules, Probe probe) {
    DriveLettering lettering(std::move(rules), std::move(probe));
    lettering.table_.add('C', "/", DriveType::Fixed);
    // Volumes of the root's device are reachable from C:\ already.
    std::set<VolumeIdentity> devices;
    for (const MountedVolume& volume : volumes) {
        if (volume.mountPoint == "/") {
            devices.insert(identityOf(volume));
        }
    }
    std::vector<Candidate> candidates = lettering.candidatesAmong(volumes, devices);
    char next = kFirstFreeLetter;
    for (DriveType wanted : kStartUpOrder) {
        for (const Candidate& candidate : candidates) {
            if (candidate.type == wanted && next <= 'Z') {
                lettering.letter(candidate, next++);
            }
        }
    }
    lettering.rememberPresent(volumes);
    return lettering;
}

bool DriveLettering::update(const std::vector<MountedVolume>& volumes) {
    std::vector<MountedVolume> mountedSince;
    std::set<VolumeIdentity> devices;
    for (const MountedVolume& volume : volumes) {
        if (!present_.contains(keyOf(volume))) {
            mountedSince.push_back(volume);
        } else if (volume.mountPoint == "/" || letterOf(keyOf(volume))) {
            devices.insert(identityOf(volume));
        }
    }
    bool changed = false;
    for (const Candidate& candidate : candidatesAmong(mountedSince, devices)) {
        const char letterToGive = letterOf(keyOf(candidate.volume)).value_or(nextFreeLetter());
        if (letterToGive != 0) {
            changed = letter(candidate, letterToGive) || changed;
        }
    }
    rememberPresent(volumes);
    return changed;
}

// The volumes that can take a letter, in mount-point order: a local volume whose device is
// reachable through another drive already, or whose root is no folder, is left out.
std::vector<DriveLettering::Candidate> DriveLettering::candidatesAmong(
    const std::vector<MountedVolume>& volumes, const std::set<VolumeIdentity>& devicesWithLetters) {
    std::set<VolumeIdentity> devices = devicesWithLetters;
    std::vector<Candidate> candidates;
    for (const MountedVolume& volume : volumes) {
        const DriveType type = classifyVolume(volume, rules_);
        if (isLetterless(volume, type, rules_) ||
            (isLocal(type) && !devices.insert(identityOf(volume)).second)) {
            continue;
        }
        candidates.push_back({volume, type, volume.deviceNumber});
    }
    std::vector<std::string> roots;
    for (const Candidate& candidate : candidates) {
        if (isLocal(candidate.type)) {
            roots.push_back(candidate.volume.mountPoint);
        }
    }
    const std::vector<VolumeAnswer> answers = probe_(roots);
    std::size_t asked = 0;
    std::erase_if(candidates, [&](Candidate& candidate) {
        if (!isLocal(candidate.type)) {
            return false;
        }
        const VolumeAnswer& answer = answers.at(asked++);
        if (answer.kind == VolumeAnswer::Kind::Answered) {
            candidate.identity = answer.device;
        }
        return answer.kind == VolumeAnswer::Kind::Failed ||
               (answer.kind == VolumeAnswer::Kind::Answered && !answer.folder);
    });
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.volume.mountPoint < b.volume.mountPoint;
    });
    return candidates;
}

// Gives `letter` to the candidate's volume; false when the drive was that already.
bool DriveLettering::letter(const Candidate& candidate, char letter) {
    const Drive* drive = table_.find(letter);
    if (drive && drive->hostRoot == candidate.volume.mountPoint && drive->type == candidate.type &&
        drive->volume == candidate.identity) {
        return false;
    }
    table_.add(letter, candidate.volume.mountPoint, candidate.type, candidate.identity);
    const auto key = keyOf(candidate.volume);
    if (!letterOf(key)) {
        lettered_.emplace_back(key, letter);
    }
    return true;
}

std::optional<char> DriveLettering::letterOf(const VolumeKey& volume) const {
    const auto known = std::find_if(lettered_.begin(), lettered_.end(),
                                    [&](const auto& entry) { return entry.first == volume; });
    return known == lettered_.end() ? std::nullopt : std::optional<char>(known->second);
}

char DriveLettering::nextFreeLetter() const {
    for (char letter = kFirstFreeLetter; letter <= 'Z'; ++letter) {
        if (!table_.find(letter)) {
            return letter;
        }
    }
    return 0;
}

void DriveLettering::rememberPresent(const std::vector<MountedVolume>& volumes) {
    present_.clear();
    for (const MountedVolume& volume : volumes) {
        present_.insert(keyOf(volume));
    }
}

}  // namespace pictaria
