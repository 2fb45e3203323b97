// How the three-dimensional group solution judges the pile failures of a load step.
#include "group/group.h"
#include "io/format.h"
#include "model/ctlpar.h"
#include "model/runblocks.h"

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

}  // namespace kaldo
