// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture file that could not be loaded where the failure is the user's to see: it leaves
// showPicture and the handler that called it, and the window's error display shows what().

#include <stdexcept>

namespace pictaria {

class PictureLoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pictaria
