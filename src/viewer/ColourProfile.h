// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour profile pictures are converted to before they are drawn: the screen's ICC profile,
// or sRGB when the screen has none (no bytes). Two profiles are equal when their bytes are.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace pictaria {

class ColourProfile {
  public:
    // sRGB.
    ColourProfile() = default;
    // The profile whose ICC bytes these are; no bytes means sRGB.
    explicit ColourProfile(std::string bytes)
        : bytes_(bytes.empty() ? nullptr : std::make_shared<const std::string>(std::move(bytes))),
          hash_(bytes_ ? std::hash<std::string_view>{}(*bytes_) : 0) {}

    bool isSrgb() const { return !bytes_; }
    std::string_view bytes() const {
        return bytes_ ? std::string_view(*bytes_) : std::string_view();
    }
    std::size_t hash() const { return hash_; }

    bool operator==(const ColourProfile& other) const {
        return bytes_ == other.bytes_ || (hash_ == other.hash_ && bytes() == other.bytes());
    }

  private:
    std::shared_ptr<const std::string> bytes_;  // shared: requests are copied freely
    std::size_t hash_ = 0;
};

}  // namespace pictaria
