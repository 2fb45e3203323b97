// Unit side friction and unit end bearing at one depth, for a driven pile and for a drilled shaft: the
// estimates the soil echo shows where the input gives no ultimate values.
#include "model/input.h"
#include "model/soils.h"
#include "services/status.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

using namespace axl;

void AXLUNITQ(int code, double x, int& sideFlag, double& fsDriven, double& fsDrilled, int& tipFlag,
              double& qbDriven, double& qbDrilled, int& status) {
    const int units = CTLIN.UNITS;
    sideFlag = tipFlag = 0;
    fsDriven = fsDrilled = qbDriven = qbDrilled = 0.0;
    // Depth below the ground surface of the profile; at the surface itself the side rules take one
    // length unit, and so does the rest of the call.
    double z = x - SOILLAY.XTOP(1);

    const double f = PRFFMAX(x, status);
    if (status != ST_OK) return;
    if (f < TINY) {
        sideFlag = 1;
        const double gamma = PRFGAMAV(x, status);
        if (status != ST_OK) return;
        const double phi = PRFPHIAT(x, status);
        if (status != ST_OK) return;
        if (z < TINY) z = 1.0;
        const double c = PRFCAT(x, status);
        if (status != ST_OK) return;
        fsDriven = drivenTmax(code, f, z, gamma, phi, c, units);
        fsDrilled = drilledTmax(code, f, z, feet(z, units), gamma, c);
    }

    const double qm = PRFQMAX(x, status);
    if (status != ST_OK || qm >= TINY) return;
    const double c = PRFCAT(x, status);
    if (status != ST_OK) return;
    const double phit = PRFPHIAT(x, status);
    if (status != ST_OK) return;
    if (c > sp(0.1f) && phit < sp(0.0001f)) code = 3;
    if (code < 4 || code == 5 || code == 6 || code == 9 || code == 10 || code == 11 || code == 13 || code == 14) {
        qbDriven = qbDrilled = 9.0 * c;
    } else if (code == 4 || code == 7 || code == 8) {
        const double gamma = PRFGAMAV(x, status);
        if (status != ST_OK) return;
        qbDriven = gamma * z * bearingNq(sp(57.296f) * phit);
        if (phit < sp(0.5236f))
            qbDrilled = sp(0.1f);
        else if (metric(units))
            qbDrilled = phit < sp(0.628f) ? 1530.0 : 3830.0;
        else
            qbDrilled = phit < sp(0.628f) ? sp(222.2f) : sp(555.56f);
        if (code == 7) {
            qbDriven += 9.0 * c;
            qbDrilled += 9.0 * c;
        }
    }
    // Elastic subgrade and codes above 14: no estimate of the end bearing.
    tipFlag = 1;
}

}  // namespace kaldo
