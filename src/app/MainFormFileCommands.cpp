// Copy, move, delete and renaming of the ticked files of the source list.

#include "app/MainFormUnit1.h"

namespace pictaria {

void TForm1::connectFileCommandEvents() {}

}  // namespace pictaria
