// How the group solutions judge the pile failures of a load step, and the warnings they share.
#include "group/group.h"
#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/runblocks.h"
#include "services/unitno.h"

namespace kaldo {

bool grpsolStepFails(int state) {
    return state == SOLVER_NO_CLOSURE || state == SOLVER_AXIAL_FAILURE || state == SOLVER_CURVES_SHORT;
}

std::string grpsolGiveUpText(int reason) {
    switch (reason) {
        case SOLVER_NO_CLOSURE: return "NO CLOSURE ON LATERAL PILE ANALYSIS    ";
        case SOLVER_AXIAL_FAILURE: return "CONVERGENCE ERROR, WHILE COMPUTING AXIAL FORCES ALONG PILE";
        case SOLVER_CURVES_SHORT: return "P-Y CURVES DO NOT EXTEND LENGTH OF PILE(S)";
        case SOLVER_SINGULAR: return {};
        default: return "PILE CAP DISPL DOES NOT CONVERGE AFTER," + io::fmtI(5, CTLPAR.MAXITG) + "  ITERATIONS";
    }
}

void grpsolWarningLines(int unit, const std::string& text) {
    io::Unit& u = io::unit(unit);
    u.blankLines(2);
    u.line() << io::X{5} << "** WARNING **  " << text;
    u.endLine();
}

void grpsolWarnSingular() {
    const char* const text = "DETERMINANT OF STIFFNESS MATRIX IS ZERO";
    io::Unit& results = io::unit(RESULTS_UNIT);
    results.line() << io::X{5} << "** WARNING **  " << text;
    results.endLine();
    grpsolWarningLines(RUNTIME_UNIT, text);
    io::unit(RUNTIME_UNIT).flush();
    RUNSTATE.RUNSOLVST = SOLVER_SINGULAR;
}

}  // namespace kaldo
