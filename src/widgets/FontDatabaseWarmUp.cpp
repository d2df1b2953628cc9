// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FontDatabaseWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include "widgets/FontConfigurationLoader.h"

namespace pictaria {

FontDatabaseWarmUp::FontDatabaseWarmUp(const FontConfigurationLoader& configuration)
    : reader_([&configuration] {
          configuration.wait();
          QFontDatabase::families();
      }) {}

FontDatabaseWarmUp::~FontDatabaseWarmUp() {
    reader_.join();
}

}  // namespace pictaria
