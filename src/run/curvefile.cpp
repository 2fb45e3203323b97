// The curve data file for the host's plots, written once at the end of a run that asks for it.
#include "io/units.h"
#include "model/blocks.h"
#include "report/report.h"
#include "run/curvefile.h"
#include "run/unitno.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

void writeTableN(int& status) {
    PYMODE.PYFILEMODE = 0;
    PYREPORT(status);
}

void writeCurveDataFile(int& status) {
    io::Unit& u = io::unit(CURVEDATA_UNIT);
    // Header: pile count, analysis type, units system; text or one unformatted record of three integers.
    if (CTLIN.KCRVBIN == 0) {
        u.line() << io::I(10, PILE.NPILES) << io::I(10, CTLIN.ANTYPE) << io::I(10, CTLIN.UNITS);
    } else {
        io::Record r;
        r << int32_t(PILE.NPILES) << int32_t(CTLIN.ANTYPE) << int32_t(CTLIN.UNITS);
        r.writeTo(u);
    }
    PYMODE.PYFILEMODE = 1;
    if (PILE.NPILES >= 1) CTLIN.KPYOP = 1;
    for (int p = 1; p <= PILE.NPILES; ++p) PLOTPILE(p, status);
}

}  // namespace kaldo
