#pragma once
// A small exFAT camera card for one test: an image file on a loop device, mounted through the
// FUSE exFAT driver, as a card reader's card is on many desktops. Mounting needs privileges and
// the exfatprogs and exfat-fuse tools; where any is missing, mounted() is false.

#include <string>

#include "support/TempDir.h"

namespace pictaria::test {

class ExfatCard {
  public:
    ExfatCard();
    ExfatCard(const ExfatCard&) = delete;
    ExfatCard& operator=(const ExfatCard&) = delete;
    ~ExfatCard();

    bool mounted() const { return mounted_; }
    // The card's root folder.
    std::string path() const { return work_.host("card"); }

  private:
    TempDir work_;
    std::string loopDevice_;
    bool mounted_ = false;
};

}  // namespace pictaria::test
