// The test of a target-deflection solution: its controlled displacement against the point's target.
// A target of zero has no relative error to measure; the solution is then kept, with a warning, rather
// than divided by zero.
#include <cmath>

#include "capstiff/eqstiff.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/unitno.h"

namespace kaldo {


bool targetMissed(double computed) {
    EqsEst& e = EQSEST;
    e.EQSDCMP = computed;
    io::Unit& t = io::unit(RUNTIME_UNIT);
    const int state = e.EQSSTATE;
    if (state != EST_LAST && state != EST_TEST) {
        if (state == EST_LEVEL) e.EQSSTATE = EST_ACCEPTED;
        return false;
    }
    const bool zeroTarget = e.EQSDTGT == 0.0;
    const double err = zeroTarget ? 0.0 : std::fabs((e.EQSDCMP - e.EQSDTGT) / e.EQSDTGT);
    t.endLine();
    {
        io::LineOut l = t.line();
        l << io::X{5} << "STIFFNESS ESTIMATION, ";
        if (state == EST_LAST) l << " MAX. ITER. REACHED, ";
        l << " COMPUTED DEF.: " << io::F{11, 4, e.EQSDCMP} << " TARGET DEF.: " << io::F{11, 4, e.EQSDTGT};
        if (!zeroTarget) l << " ERROR(%): " << io::F{11, 4, 100.0 * err};
    }
    if (zeroTarget) {
        // No relative error can be measured against a target of zero: the solution is kept as it is.
        t.line() << io::X{5} << "** WARNING **  " << "TARGET DEFLECTION IS ZERO, ITS ERROR CANNOT BE MEASURED:"
                 << " THE SOLUTION IS KEPT";
        t.flush();
        e.EQSSTATE = state == EST_TEST ? EST_ACCEPTED : state;
        return false;
    }
    if (state == EST_TEST) {
        if (err > e.EQSTOL / 100.0) return true;
        e.EQSSTATE = EST_ACCEPTED;
    }
    return false;
}

}  // namespace kaldo
