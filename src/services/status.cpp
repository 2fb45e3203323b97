#include "services/status.h"

#include "io/units.h"
#include "model/files.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

const char* const ERR = "    * ERROR IN ANALYSIS *";

struct Message {
    int code;
    std::vector<std::string> lines;  // after the error line
};

const std::vector<Message>& messages() {
    static const std::vector<Message> table = {
        {ST_NODE, {"    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE"}},
        {ST_NODE2D, {"    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE2D"}},
        {ST_SINGULAR_STIFFNESS, {"    DETERMINANT OF STIFFNESS MATRIX IS ZERO"}},
        {ST_ROCK_NO_STRENGTH, {"    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"}},
        {ST_BEYOND_UNIT_WEIGHT, {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR UNIT WEIGHT"}},
        {ST_BEYOND_COHESION, {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR COHESION"}},
        {ST_BEYOND_FRICTION, {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR FRICTION ANGLE"}},
        {ST_BEYOND_SIDE_FRICTION, {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR SIDE FRICTION"}},
        {ST_BEYOND_TIP_RESISTANCE,
         {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR SIDE RESISTANCE"}},
        {ST_BEYOND_FRICTION_SEGMENT,
         {"    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR FRICTION ANGLE"}},
        {ST_SILT_NO_FRICTION, {"    SILT, THE FRICTION ANGLE IS ZERO"}},
        {ST_SILT_SLOPE_OVER_FRICTION, {"    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
        {ST_SAND_NO_FRICTION, {"    SAND, THE FRICTION ANGLE IS ZERO"}},
        {ST_SAND_SLOPE_OVER_FRICTION, {"    SAND, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
        {ST_LSCURVE_NO_E50, {"     LS CURVE, E50 VALUE IS ZERO"}},
        {ST_LSCURVE_NO_COHESION, {"      LS CURVE, COHESION VALUE IS ZERO"}},
        {ST_TQCURVE_NO_E50, {"     TORQUE CURVE, E50 VALUE IS ZERO"}},
        {ST_TQCURVE_NO_COHESION, {"     TORQUE CURVE, COHESION VALUE IS ZERO"}},
        {ST_AXIAL_NOCONVERGE, {"     CONVERGENCE ERROR, ", "     WHILE COMPUTING AXIAL FORCES ALONG PILE"}},
        {ST_INTERNAL, {"    100, INTERNAL ERROR OF THE ENGINE"}},
        {ST_NAMES, {"    101, FILE LIST Names.dat IS MISSING OR INCOMPLETE"}},
        {ST_PATHLEN, {"    102, A PATH IN Names.dat IS LONGER THAN 256 CHARACTERS"}},
        {ST_NOINPUT, {"    103, INPUT DATA FILE CANNOT BE OPENED"}},
        {ST_FILEOPEN, {"    104, A REPORT OR DATA FILE CANNOT BE OPENED"}},
        {ST_WRITEFAIL, {"    105, A REPORT OR DATA FILE CANNOT BE WRITTEN"}},
        {ST_SCRATCHREAD, {"    106, A SCRATCH FILE CANNOT BE READ BACK"}},
        {ST_MALFORMED, {"    110, MALFORMED VALUE IN THE INPUT DATA FILE"}},
        {ST_REALFORINT, {"    111, A REAL WHERE AN INTEGER IS DUE IN THE INPUT DATA FILE"}},
        {ST_EARLYEND, {"    112, EARLY END OF THE INPUT DATA FILE"}},
        {ST_CAPACITY, {"    113, INPUT COUNT EXCEEDS THE CAPACITY OF ITS TABLE"}},
        {ST_INDEX, {"    114, INPUT NUMBER OUT OF RANGE"}},
        {ST_BADVALUE, {"    115, INPUT VALUE THE ANALYSIS CANNOT USE"}},
        {ST_NOCONVERGE, {"    116, NO CONVERGENCE OF A CURVE COMPUTATION"}},
        {ST_ZEROGJ, {"    117, TORSIONAL RIGIDITY GJ OF A PILE SECTION IS ZERO"}},
        {ST_NOTBUILT, {"    120, ANALYSIS CAPABILITY NOT BUILT YET"}},
    };
    return table;
}

}  // namespace

std::vector<std::string> completionLines(int status) {
    if (status == ST_OK) return {"    ANALYSIS COMPLETED"};
    if (status == ST_STOPPED) return {"     *** ANALYSIS STOPPED BY USER ***"};
    std::vector<std::string> out{ERR};
    for (const Message& m : messages()) {
        if (m.code == status) {
            out.insert(out.end(), m.lines.begin(), m.lines.end());
            return out;
        }
    }
    out.push_back("    " + std::to_string(status) + ", UNKNOWN CODE");
    return out;
}

void reportFault(int& status, int code, const std::string& detail) {
    io::Unit& rt = io::unit(RUNTIME_UNIT).isOpen() ? io::unit(RUNTIME_UNIT) : io::unit(0);
    rt.free() << "    **** KALDO ERROR " << code << " ****";
    rt.free() << "    " << detail;
    rt.flush();
    if (status == ST_OK) status = code;
}

void openListedFile(int unit, int record, io::Mode mode, io::Form form, bool buffered) {
    const std::string& path = namesPath(record);
    if (io::unit(unit).open(path, mode, form, buffered)) return;
    throw FileFault(ST_FILEOPEN, "file \"" + path + "\" (record " + std::to_string(record) +
                                     " of Names.dat) cannot be opened");
}

bool writeFailureStops(int& status) {
    const io::WriteFailure f = io::firstWriteFailure();
    if (!f.any) return false;
    if (status == ST_OK) reportFault(status, ST_WRITEFAIL, "file \"" + f.path + "\" cannot be written: " + f.reason);
    return true;
}

}  // namespace kaldo
