// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives drive letters to mounted volumes: all of them at start-up, and later each volume that
// is mounted while the program runs. A letter, once given, stays with its volume for the run:
// a volume that goes away keeps it (open pages and the destination still name it), and is
// given it back when it is mounted again at the same place.

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/MountTable.h"
#include "platform/VolumeProbe.h"

namespace pictaria {

class DriveLettering {
  public:
    // Asks the roots of volumes about themselves (probeVolumes, off the caller's thread and
    // within its time limit).
    using Probe = std::function<std::vector<VolumeAnswer>(const std::vector<std::string>& roots)>;

    // Letters the volumes mounted now: "/" is C:, removable media take the next free letters
    // from D: in mount-point order, then fixed disks, then remote, optical and RAM volumes
    // (which the drive grid leaves out). Local volumes whose root is no folder are left out;
    // one that does not answer in time still gets its letter.
    static DriveLettering atStartUp(const std::vector<MountedVolume>& volumes,
                                    VolumeRules rules = {}, Probe probe = {});

    // Keeps `table` as it is and letters only volumes that are not in `mountedNow`.
    DriveLettering(DriveTable table, const std::vector<MountedVolume>& mountedNow,
                   VolumeRules rules = {}, Probe probe = {});

    // Letters what was mounted since the last reading of the mount table, each volume with the
    // lowest letter from D: that no volume has had in this run. True when the table changed.
    bool update(const std::vector<MountedVolume>& volumes);

    const DriveTable& table() const { return table_; }

    using VolumeIdentity = std::pair<std::string, std::uint64_t>;  // source, device number

  private:
    using VolumeKey = std::pair<std::string, std::string>;  // device, mount point
    struct Candidate {
        MountedVolume volume;
        DriveType type;
        std::optional<std::uint64_t> identity;
    };

    DriveLettering(VolumeRules rules, Probe probe);
    std::vector<Candidate> candidatesAmong(const std::vector<MountedVolume>& volumes,
                                           const std::set<VolumeIdentity>& devicesWithLetters);
    bool letter(const Candidate& candidate, char letter);
    std::optional<char> letterOf(const VolumeKey& volume) const;
    char nextFreeLetter() const;
    void rememberPresent(const std::vector<MountedVolume>& volumes);

    VolumeRules rules_;
    Probe probe_;
    DriveTable table_;
    std::vector<std::pair<VolumeKey, char>> lettered_;
    std::set<VolumeKey> present_;  // the volumes of the last reading
};

}  // namespace pictaria
