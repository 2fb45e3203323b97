// Input echo: property sets, cross sections and the section table (Table E).
#include "run/echo.h"

namespace kaldo {

void echoSections() {}

}  // namespace kaldo
