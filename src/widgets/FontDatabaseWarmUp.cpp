#include "widgets/FontDatabaseWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

namespace pictaria {

FontDatabaseWarmUp::FontDatabaseWarmUp() : reader_([] { QFontDatabase::families(); }) {}

FontDatabaseWarmUp::~FontDatabaseWarmUp() {
    reader_.join();
}

}  // namespace pictaria
