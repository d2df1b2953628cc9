// New, delete, rename and move of folders from the page grids' menu.

#include "app/MainFormUnit1.h"

namespace pictaria {

void TForm1::connectFolderCommandEvents() {}

}  // namespace pictaria
