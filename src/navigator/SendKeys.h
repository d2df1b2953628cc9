// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send keys: each of the destinations the user chose or sent photographs to lately has a key
// number, 1 to 9. A folder keeps its number for as long as it has one, so that a key means the
// same folder all through a sort; a new folder takes the first free number, or once all are taken
// the number of the folder used longest ago. A folder the keyboard's pick only passes on its way
// through a grid (or opens) gets no number: it takes one when the pick comes to rest on it.

#include <array>
#include <string>

namespace pictaria {

class SendKeys {
  public:
    static constexpr int kKeys = 9;

    // The folder's key number, given to it if it had none.
    int use(const std::string& folder);
    // The keyboard's pick passed the folder: it gets a key once the pick rests there.
    void pass(const std::string& folder);
    // The pick rests on `destination`: the folder passed last takes its key if it is that one.
    void rest(const std::string& destination);
    // A folder that is gone no longer has a key.
    void forget(const std::string& folder);
    // The folder of key `number` (1 to kKeys); empty when the key has none.
    std::string folderOfKey(int number) const;

  private:
    int keyOf(const std::string& folder) const;

    std::string passed_;
    std::array<std::string, kKeys> folders_;
    std::array<unsigned long, kKeys> lastUsed_{};
    unsigned long clock_ = 0;
};

}  // namespace pictaria
