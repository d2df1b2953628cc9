// Auto scroll, the slide show and the duplicate search.

#include "app/MainFormUnit1.h"

namespace pictaria {

void TForm1::connectAidEvents() {}

}  // namespace pictaria
