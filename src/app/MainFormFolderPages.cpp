// The folder pages and their grids.

#include "app/MainFormUnit1.h"

namespace pictaria {

void TForm1::connectFolderPageEvents() {}

}  // namespace pictaria
