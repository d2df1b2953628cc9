// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DriveCheck.h"

#include <cerrno>

#include "platform/DriveTable.h"

namespace pictaria {

DriveState driveStateOf(std::string_view pathText, std::chrono::milliseconds limit) {
    if (pathText.size() < 2 || pathText[1] != ':') {
        return {};
    }
    const auto table = activeDriveTable();
    const Drive* drive = table->find(pathText[0]);
    if (!drive || !drive->volume) {
        return {};
    }
    const char letter = drive->letter;
    const VolumeAnswer answer = probeVolumes({drive->hostRoot}, limit).front();
    switch (answer.kind) {
        case VolumeAnswer::Kind::Silent:
            return {DriveState::Kind::Silent, letter, 0};
        case VolumeAnswer::Kind::Failed:
            return {DriveState::Kind::Unreachable, letter, answer.error};
        case VolumeAnswer::Kind::Answered:
            break;
    }
    if (!answer.folder) {
        return {DriveState::Kind::Unreachable, letter, ENOTDIR};
    }
    if (answer.device != *drive->volume) {
        return {DriveState::Kind::Replaced, letter, 0};
    }
    return {DriveState::Kind::Ready, letter, 0};
}

}  // namespace pictaria
