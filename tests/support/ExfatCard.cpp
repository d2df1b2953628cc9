// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ExfatCard.h"

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>

namespace pictaria::test {

namespace {

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string firstLineOf(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return {};
    }
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    ::pclose(pipe);
    std::string text = read ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

ExfatCard::ExfatCard(const std::string& size, const std::string& mountPoint)
    : mountPoint_(mountPoint.empty() ? work_.host("card") : mountPoint) {
    const std::string image = work_.host("card.img");
    std::filesystem::create_directories(mountPoint_);
    if (!run("truncate -s " + size + " '" + image + "'") || !run("mkfs.exfat '" + image + "'")) {
        return;
    }
    loopDevice_ = firstLineOf("losetup -f --show '" + image + "'");
    if (loopDevice_.empty()) {
        return;
    }
    mounted_ = run("mount.exfat-fuse " + loopDevice_ + " '" + path() + "'");
}

ExfatCard::~ExfatCard() {
    if (mounted_) {
        // A program that still looks at the card must not keep it mounted after the test.
        run("umount '" + path() + "' 2>/dev/null || umount -l '" + path() + "'");
    }
    if (!loopDevice_.empty()) {
        run("losetup -d " + loopDevice_);
    }
}

}  // namespace pictaria::test
