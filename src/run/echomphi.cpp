// Input echo: moment-curvature sets (Table J).
#include "run/echo.h"

namespace kaldo {

void echoMphi() {}

}  // namespace kaldo
