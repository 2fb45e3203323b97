// Input echo: frame lines, pile cap options (Table B), loads and control parameters (Table C).
#include "run/echo.h"

namespace kaldo {

void echoFrame() {}
void echoCapOptions() {}
void echoLoads() {}

}  // namespace kaldo
