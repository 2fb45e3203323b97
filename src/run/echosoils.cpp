// Input echo: soil layers and soil property profiles (Table F).
#include "run/echo.h"

namespace kaldo {

void echoSoils(int&) {}

}  // namespace kaldo
