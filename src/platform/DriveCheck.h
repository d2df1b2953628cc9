// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the drive of a path is still the volume its letter was given to. A card taken out
// while the program runs leaves its mount-point folder behind on the system disk: without
// this check a Copy to its letter would write there, and the user would think it on the card.

#include <chrono>
#include <string_view>

#include "platform/VolumeProbe.h"

namespace pictaria {

struct DriveState {
    enum class Kind {
        Ready,        // the volume is there (or the letter names a folder, not a volume)
        Silent,       // the volume did not answer in time
        Unreachable,  // the root cannot be read; `error` says why
        Replaced,     // the root is another volume now: the lettered one was taken out
    };
    Kind kind = Kind::Ready;
    char letter = 0;
    int error = 0;
};

DriveState driveStateOf(std::string_view pathText,
                        std::chrono::milliseconds limit = kVolumeAnswerLimit);

}  // namespace pictaria
