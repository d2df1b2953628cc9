// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Permission faults made real. The tests run as root, who may read, write and remove anything,
// so an operation under test runs in a child process that has dropped to the unprivileged user
// "nobody" (after the fixture prepared its folders as root); its outcome comes back as text.

#include <sys/types.h>

#include <functional>
#include <string>

namespace pictaria::test {

struct Nobody {
    uid_t uid;
    gid_t gid;
};

// The unprivileged user of this machine.
Nobody nobody();

// Gives the file or folder at `hostPath` (not what is inside it) to nobody.
void giveToNobody(const std::string& hostPath);

// Runs `body` as nobody in a child process and returns what it returned, or a line starting
// with "child failed" when it could not drop its rights, threw or crashed.
std::string runAsNobody(const std::function<std::string()>& body);

}  // namespace pictaria::test
