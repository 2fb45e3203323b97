// Input echo: the pile arrangement (Table D) and the working pile table.
#include "run/echo.h"

namespace kaldo {

void echoPiles() {}

}  // namespace kaldo
