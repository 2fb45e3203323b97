// Input echo: multipliers along depth, soil movement and group reduction factors (Tables J1, J2, K).
#include "run/echo.h"

namespace kaldo {

void echoMultipliers() {}

}  // namespace kaldo
