// Mistakes in an input data file, each made once in the example of six concrete piles: a code outside its
// table, a value outside its physical range, a record one value short or long, a decimal comma, a count
// one too many or too few. Each is told on the runtime file with its status and the line where it stands,
// or, for what the analysis can still use, with a warning naming the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/model.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

std::string example() { return WorkDir::readPath(std::string(KALDO_EXAMPLES_DIR) + "/concrete-pile-group.inp"); }

// The example with line n (1-based) replaced.
std::string withLine(int n, const std::string& text) {
    std::vector<std::string> ls = lines(example());
    ls.at(n - 1) = text;
    std::string out;
    for (const auto& l : ls) out += l + "\n";
    return out;
}

struct Mistake {
    const char* name;
    int line;             // the line changed
    std::string text;     // its new text
    int status;           // of the reading
    std::vector<std::string> says;  // pieces of the message (or warning) on the runtime file
};

const std::string CONTROL = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";  // items 3 to 21, all off

const std::vector<Mistake>& mistakes() {
    static const std::vector<Mistake> m = {
        // Codes outside their tables.
        {"units system 0", 4, "0 3 " + CONTROL, 115,
         {"units system (item 1 of the control record) is 0", "allowed: 1 English, 2 SI, 3 generic", "line 4"}},
        {"units system 4", 4, "4 3 " + CONTROL, 115, {"units system", "is 4", "line 4"}},
        {"units system -1", 4, "-1 3 " + CONTROL, 115, {"units system", "is -1", "line 4"}},
        {"analysis type 1", 4, "1 1 " + CONTROL, 115, {"analysis type", "2 plane, 3 three-dimensional", "line 4"}},
        {"p-y print option 2", 4, "1 3 0 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0 0 0 0", 115,
         {"p-y print switch (item 11", "is 2", "line 4"}},
        {"reduction factor option 5", 4, "1 3 0 0 0 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0", 115,
         {"group reduction factor option", "is 5", "line 4"}},
        {"load type 13", 12, "13 0 0 0 0 0 0 0", 115, {"load type (item 1) of load case 1 is 13", "line 12"}},
        {"connection code 4", 26, "4 2 1 0 0 0 0 0 1 1", 115,
         {"head connection about z of pile 1 is 4", "1 pinned, 2 fixed, 3 rotational spring", "line 26"}},
        {"pile type 3", 47, "50 50.0 3", 115,
         {"pile type of property set 1 is 3", "1 driven pile, 2 drilled shaft", "line 47"}},
        {"section shape 6", 51, "1 0 6 1", 115, {"shape of cross section 1 is 6", "line 51"}},
        {"section kind 2", 51, "1 0 0 2", 115, {"kind of cross section 1 is 2", "0 elastic, 1 nonlinear", "line 51"}},
        {"nonlinear type 11", 54, "11 0.0 0.0 24.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0", 115,
         {"nonlinear type of cross section 1 is 11", "line 54"}},
        {"p-y criterion 0", 72, "1 0", 115, {"p-y criterion of soil layer 1 is 0", "1 soft clay", "line 72"}},
        {"p-y criterion 99", 72, "1 99", 115, {"p-y criterion of soil layer 1 is 99", "line 72"}},
        // Values outside their physical range.
        {"negative cohesion", 75, "110.0 -500.0 0.0 0.0 0.0 0.02 0.5 500.0 0.0", 115,
         {"strength at the top of soil layer 1 is -500", "allowed: 0 to", "line 75"}},
        {"negative area", 53, "24.0 -452.4 16286.0 16286.0 5.47e10 0.0 0.0 4.03e6", 115,
         {"area of cross section 1 is -452.4", "line 53"}},
        {"area too small to divide by", 53, "24.0 1e-20 16286.0 16286.0 5.47e10 0.0 0.0 4.03e6", 115,
         {"area of cross section 1 is 1e-20", "0 (none) or 1e-10", "line 53"}},
        {"negative cap thickness", 6, "12.0 18.0 -4.0 0.0 0.0 0", 115,
         {"cap thickness along X is -4", "allowed: 0 to 100000", "line 6"}},
        {"head at 1e308 ft", 28, "1e308 -3.0 -6.0 0.0 90.0 0.0 0.0", 115,
         {"head X of pile 1 is 1e+308", "-100000 to 100000", "line 28"}},
        {"load step of a billion steps", 10, "1.0E-5 1.0E-5 1e-9 0.01", 115,
         {"load increment factor (FINC) of load case 1 is 1e-09", "at most 10000 load steps", "line 10"}},
        {"iteration limit at the largest integer", 9, "0 0 0 1 1 2147483647 100", 115,
         {"(MAXITG) of load case 1 is 2147483647", "allowed: 1 to 10000", "line 9"}},
        {"iteration limit beyond the largest integer", 9, "0 0 0 1 1 2147483648 100", 110,
         {"integer out of range \"2147483648\"", "line 9"}},
        {"negative length of a layer", 73, "15.0 0.0", 115, {"X of the bottom of soil layer 1 is 0", "line 73"}},
        // Records one value short or long, a decimal comma.
        {"load record one value short", 17, "600000.0 0.0 0.0 30000.0 0.0 0.0 0.0 0.0", 110,
         {"\"LOAD\"", "line 20",
          "reading may have gone wrong at line 17 of section \"LOAD CASES\": the record there holds 9 values, the "
          "line gave 8"}},
        {"decimal comma", 17, "600000,0 0.0 0.0 30000.0 0.0 0.0 0.0 0.0 0.0", 110,
         {"decimal comma in \"600000,0\"", "the two values 600000 and 0",
          "holds 1 value more than its record takes (9)",
          "(600000.0)", "line 17"}},
        // Counts one too many or too few.
        {"one concentrated load too many", 16, "2", 110,
         {"\"LOAD\"", "line 20", "the count 2 of concentrated loads of load case 1 at line 16"}},
        {"one pile too many", 25, "7", 110,
         {"\"PILE\"", "line 44", "the count 7 of pile rows at line 25 of section \"PILE GROUPS\" may be above"}},
        {"one pile too few", 25, "5", 110,
         {"a section heading is due after section \"PILE GROUPS\" but the line holds numbers", "line 41"}},
        // What the analysis can use, with a warning naming the line.
        {"load record one value long", 17, "600000.0 0.0 0.0 30000.0 0.0 0.0 0.0 0.0 0.0 5.0", 0,
         {"** WARNING ** line 17 of section \"LOAD CASES\" holds 1 value more than its record takes (9); "
          "ignored: 5.0"}},
        {"a note after the values", 47, "50 50.0 1   driven, 50 ft", 0,
         {"** WARNING ** line 47 of section \"PILE PROPERTIES\" holds 3 values more than its record takes (3); "
          "ignored: driven, 50 ft"}},
        {"steel modulus in ksi", 53, "24.0 452.4 16286.0 16286.0 5.47e10 0.0 0.0 29000", 0,
         {"** WARNING ** Young modulus of cross section 1 is 29000 psi", "line 53"}},
        {"horizontal pile", 28, "0.0 -3.0 -6.0 0.0 0.0 0.0 0.0", 0,
         {"** WARNING ** pile 1 has BETA 0 degrees", "a vertical pile has BETA 90", "line 28"}},
        {"unit weight in pounds per cubic inch", 75, "0.064 500.0 0.0 0.0 0.0 0.02 0.5 500.0 0.0", 0,
         {"** WARNING ** effective unit weight at the top of soil layer 1 is 0.064 pcf", "line 75"}},
    };
    return m;
}

TEST(InputMistakes, EachIsToldWithItsStatusAndLine) {
    for (const Mistake& m : mistakes()) {
        WorkDir dir;
        const int status = readModel(dir, withLine(m.line, m.text));
        closeModel();
        const std::string runtime = dir.read("case.run");
        EXPECT_EQ(status, m.status) << m.name << "\n" << runtime;
        for (const std::string& piece : m.says)
            EXPECT_NE(runtime.find(piece), std::string::npos) << m.name << ": no [" << piece << "] in\n" << runtime;
    }
}

// The example itself reads without a fault or a warning, so every message above is the mistake's own.
TEST(InputMistakes, TheExampleReadsCleanly) {
    WorkDir dir;
    EXPECT_EQ(readModel(dir, example()), 0);
    closeModel();
    EXPECT_EQ(dir.read("case.run").find("WARNING"), std::string::npos) << dir.read("case.run");
}

// A legal record written with bare commas between its values ("1,2,3" style) is no decimal comma: the
// line holds exactly the values its record takes.
TEST(InputMistakes, BareCommasBetweenValuesAreNoDecimalComma) {
    WorkDir dir;
    EXPECT_EQ(readModel(dir, withLine(47, "50,50.0,1")), 0);
    closeModel();
    EXPECT_EQ(dir.read("case.run").find("WARNING"), std::string::npos) << dir.read("case.run");
}

}  // namespace
}  // namespace kaldo::test
