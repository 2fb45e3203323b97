// The run status codes: the numbers the hosts read (the public header and README.md's status table) and
// the completion message of every code the analysis or Kaldo itself ends a run with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/status.h"

namespace kaldo {
namespace {

const std::string ERR = "    * ERROR IN ANALYSIS *";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(StatusCodes, RunOutcomesKeepTheValuesOfThePublicHeader) {
    EXPECT_EQ(ST_OK, 0);
    EXPECT_EQ(ST_WRONG_CALL, 1);
    EXPECT_EQ(ST_STOPPED, 4);
}

// Each error code: its number, and words its completion message must hold after the error line, taken
// from what the code means.
struct ErrorCase {
    StatusCode code;
    int value;
    std::vector<std::string> words;
};

const ErrorCase ERROR_CASES[] = {
    {ST_NODE, 3, {"PILE LENGTH EXTENDS BELOW", "DEEPEST LAYER, NODE"}},
    {ST_NODE2D, 13, {"PILE LENGTH EXTENDS BELOW", "DEEPEST LAYER, NODE2D"}},
    {ST_SINGULAR_STIFFNESS, 14, {"DETERMINANT OF STIFFNESS MATRIX IS ZERO"}},
    {ST_ROCK_NO_STRENGTH, 21, {"WEAK ROCK", "COHESIVE STRENGTH IS ZERO"}},
    {ST_BEYOND_UNIT_WEIGHT, 22, {"BEYOND THE EXTENT", "UNIT WEIGHT"}},
    {ST_BEYOND_COHESION, 23, {"BEYOND THE EXTENT", "COHESION"}},
    {ST_BEYOND_FRICTION, 24, {"BEYOND THE EXTENT", "FRICTION ANGLE"}},
    {ST_BEYOND_SIDE_FRICTION, 25, {"BEYOND THE EXTENT", "SIDE FRICTION"}},
    {ST_BEYOND_TIP_RESISTANCE, 26, {"BEYOND THE EXTENT", "RESISTANCE"}},
    {ST_BEYOND_FRICTION_SEGMENT, 27, {"BEYOND THE EXTENT", "FRICTION ANGLE"}},
    {ST_SILT_NO_FRICTION, 28, {"SILT", "FRICTION ANGLE IS ZERO"}},
    {ST_SILT_SLOPE_OVER_FRICTION, 29, {"SILT", "SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
    {ST_SAND_NO_FRICTION, 30, {"SAND", "FRICTION ANGLE IS ZERO"}},
    {ST_SAND_SLOPE_OVER_FRICTION, 31, {"SAND", "SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
    {ST_LSCURVE_NO_E50, 32, {"LS CURVE", "E50 VALUE IS ZERO"}},
    {ST_LSCURVE_NO_COHESION, 33, {"LS CURVE", "COHESION VALUE IS ZERO"}},
    {ST_TQCURVE_NO_E50, 34, {"TORQUE CURVE", "E50 VALUE IS ZERO"}},
    {ST_TQCURVE_NO_COHESION, 35, {"TORQUE CURVE", "COHESION VALUE IS ZERO"}},
    {ST_AXIAL_NOCONVERGE, 36, {"CONVERGENCE ERROR", "AXIAL FORCES ALONG PILE"}},
    {ST_INTERNAL, 100, {"INTERNAL ERROR"}},
    {ST_NAMES, 101, {"Names.dat", "MISSING"}},
    {ST_PATHLEN, 102, {"Names.dat", "LONGER THAN 256"}},
    {ST_NOINPUT, 103, {"INPUT DATA FILE CANNOT BE OPENED"}},
    {ST_FILEOPEN, 104, {"REPORT OR DATA FILE CANNOT BE OPENED"}},
    {ST_SCRATCHREAD, 106, {"SCRATCH FILE CANNOT BE READ BACK"}},
    {ST_MALFORMED, 110, {"MALFORMED VALUE"}},
    {ST_REALFORINT, 111, {"A REAL WHERE AN INTEGER IS DUE"}},
    {ST_EARLYEND, 112, {"EARLY END"}},
    {ST_CAPACITY, 113, {"CAPACITY"}},
    {ST_INDEX, 114, {"OUT OF RANGE"}},
    {ST_BADVALUE, 115, {"CANNOT USE"}},
    {ST_NOCONVERGE, 116, {"NO CONVERGENCE", "CURVE"}},
    {ST_ZEROGJ, 117, {"TORSIONAL RIGIDITY GJ"}},
    {ST_NOTBUILT, 120, {"NOT BUILT"}},
};

TEST(StatusCodes, EveryErrorCodeKeepsItsNumberAndItsMessage) {
    for (const ErrorCase& c : ERROR_CASES) {
        SCOPED_TRACE("code " + std::to_string(c.value));
        EXPECT_EQ(static_cast<int>(c.code), c.value);
        const std::vector<std::string> lines = completionLines(c.code);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), ERR);
        const std::string text = joined(lines);
        EXPECT_EQ(text.find("UNKNOWN CODE"), std::string::npos) << text;
        for (const std::string& w : c.words) EXPECT_NE(text.find(w), std::string::npos) << w << " in\n" << text;
        // Kaldo's own messages open with their number, so the runtime file names the code.
        if (c.value >= 100) {
            EXPECT_EQ(lines[1].rfind("    " + std::to_string(c.value) + ", ", 0), 0u) << lines[1];
        }
    }
}

}  // namespace
}  // namespace kaldo
