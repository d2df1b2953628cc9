// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drive letters of path text and the host folders they stand for.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictaria {

// Values as the drive-type query of the original platform numbers them.
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

struct Drive {
    char letter = 'C';     // upper case
    std::string hostRoot;  // absolute host folder, without a trailing slash unless it is "/"
    DriveType type = DriveType::Fixed;
    // The st_dev of the volume the letter was given to, when a mounted volume was lettered;
    // the root must still be that volume before a command uses the drive.
    std::optional<std::uint64_t> volume;
};

class DriveTable {
  public:
    // Adds or replaces the drive of `letter` (either case).
    void add(char letter, std::string hostRoot, DriveType type,
             std::optional<std::uint64_t> volume = {});

    // The type of the drive that a root text ("A:\", either case) names; NoRootDir when the
    // letter has no drive.
    DriveType typeOf(std::string_view rootText) const;

    const Drive* find(char letter) const;
    const std::vector<Drive>& drives() const { return drives_; }

    // The host path of a path text: "C:\Photos\2004" becomes hostRoot + "/Photos/2004".
    // A path text without a drive is relative to the current folder. Empty when the letter has
    // no drive or the text cannot be a path here (an embedded NUL).
    std::optional<std::string> toHost(std::string_view pathText) const;

    // The drive-letter form of a host path under one of the drives (the longest root wins).
    std::optional<std::string> fromHost(std::string_view hostPath) const;

  private:
    std::vector<Drive> drives_;  // kept in letter order
};

// The table every path translation of the process uses: until the program letters the
// mounted volumes, or a test installs its own, only C: as "/". File jobs translate paths on
// their threads while the window's thread installs a table with a card that was just
// inserted, so each reader holds the table it read for as long as it uses it.
std::shared_ptr<const DriveTable> activeDriveTable();
void setActiveDriveTable(DriveTable table);

// Shorthand for activeDriveTable().toHost(pathText).
std::optional<std::string> hostPathOf(std::string_view pathText);

}  // namespace pictaria
