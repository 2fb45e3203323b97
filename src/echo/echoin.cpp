// The input echo: the report of what was read, in a fixed order of tables, built together with the
// working model that the analysis reads.
#include "echo/echo.h"
#include "services/status.h"

namespace kaldo {

void ECHOIN(int& status) {
    echoFrame();
    echoCapOptions();
    echoLoads();
    echoPiles();
    echoSections();
    echoSoils(status);
    if (status != ST_OK) return;
    echoCurveTables(status);
    if (status != ST_OK) return;
    echoMphi();
    echoMultipliers();
}

}  // namespace kaldo
