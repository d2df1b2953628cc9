// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestDrives.h"

#include <unistd.h>

#include <climits>

namespace pictaria::test {

TestDrives::TestDrives() : previous_(*activeDriveTable()) {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer)) {
        previousCwd_ = buffer;
    }
    setActiveDriveTable(table_);
}

TestDrives::~TestDrives() {
    setActiveDriveTable(previous_);
    if (!previousCwd_.empty() && ::chdir(previousCwd_.c_str()) != 0) {
        // The folder the test started in is gone; the next test sets its own.
    }
}

TestDrives& TestDrives::map(char letter, const std::string& hostRoot, DriveType type) {
    table_.add(letter, hostRoot, type);
    setActiveDriveTable(table_);
    return *this;
}

RecordingMessages::RecordingMessages() : previous_(setMessageSink(this)) {}

RecordingMessages::~RecordingMessages() {
    setMessageSink(previous_);
}

}  // namespace pictaria::test
