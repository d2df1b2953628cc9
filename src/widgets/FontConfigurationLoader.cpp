// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FontConfigurationLoader.h"

#include <fontconfig/fontconfig.h>

namespace pictaria {

FontConfigurationLoader::FontConfigurationLoader()
    : done_(loaded_.get_future().share()), loader_([this] {
          FcInit();  // a failure shows later as fonts Qt cannot find, as it would without this
          loaded_.set_value();
      }) {}

FontConfigurationLoader::~FontConfigurationLoader() {
    loader_.join();
}

void FontConfigurationLoader::wait() const {
    done_.wait();
}

}  // namespace pictaria
