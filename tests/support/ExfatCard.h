// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small exFAT camera card for one test: an image file on a loop device, mounted through the
// FUSE exFAT driver, as a card reader's card is on many desktops. Mounting needs privileges and
// the exfatprogs and exfat-fuse tools; where any is missing, mounted() is false.

#include <string>

#include "support/TempDir.h"

namespace pictaria::test {

class ExfatCard {
  public:
    // `size` as truncate takes it ("32M"); the card is mounted on `mountPoint`, made if missing,
    // or on a temporary folder.
    explicit ExfatCard(const std::string& size = "32M", const std::string& mountPoint = "");
    ExfatCard(const ExfatCard&) = delete;
    ExfatCard& operator=(const ExfatCard&) = delete;
    ~ExfatCard();

    bool mounted() const { return mounted_; }
    // The card's root folder.
    const std::string& path() const { return mountPoint_; }

  private:
    TempDir work_;
    std::string mountPoint_;
    std::string loopDevice_;
    bool mounted_ = false;
};

}  // namespace pictaria::test
