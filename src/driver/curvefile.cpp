// The curve data file for the host's plots, written once at the end of a run that asks for it.
#include "io/units.h"
#include "driver/curvefile.h"
#include "model/blocks.h"
#include "report/report.h"
#include "services/unitno.h"
#include "soil/axial/axial.h"
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
    // Per pile: its geometry, its p-y curves, its axial springs and, in three dimensions, its torsional
    // springs. A writer's failure does not stop the records that follow; the status reaches the report.
    for (int p = 1; p <= PILE.NPILES; ++p) {
        PLOTPILE(p, status);
        PYPLOTPILE(p, status);
        AXLLSPLOT(p, status);
        if (CTLIN.ANTYPE == 3) TQLLSPLOT(p, status);
    }
}

}  // namespace kaldo
