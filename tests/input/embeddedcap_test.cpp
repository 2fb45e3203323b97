// The checks of an embedded pile cap at input: the increments of its equivalent lateral spring (the
// pseudo-pile has the nodes of a pile, at most 100 increments), a cap over a model without piles, and a
// spring over a model without soil layers. Each is refused with status 115 and a message at the cap
// record; the example of six concrete piles with an embedded cap is the model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/model.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

std::string example() { return WorkDir::readPath(std::string(KALDO_EXAMPLES_DIR) + "/concrete-pile-group.inp"); }

struct Cut {
    int from, to;             // lines of the example (1-based), replaced
    std::string replacement;  // by this text
};

// The example with the control record's cap option, the embedded-cap record after the cap record (when
// given), and the cuts made.
std::string embedded(int capopt, const std::string& capRecord, const std::vector<Cut>& cuts = {}) {
    const std::vector<std::string> ls = lines(example());
    std::string out;
    for (int n = 1; n <= static_cast<int>(ls.size()); ++n) {
        bool cut = false;
        for (const Cut& c : cuts) {
            if (n < c.from || n > c.to) continue;
            if (n == c.from) out += c.replacement;
            cut = true;
        }
        if (cut) continue;
        std::string l = ls[static_cast<std::size_t>(n - 1)];
        if (n == 4) l = "1 3 " + std::to_string(capopt) + l.substr(5);
        out += l + "\n";
        if (n == 6 && !capRecord.empty()) out += capRecord + "\n";
    }
    return out;
}

// No piles: no pile groups, and no piles to represent the generated axial and torque curves.
const std::vector<Cut> NO_PILES = {{25, 43, "0\n"}, {83, 84, "0\n"}, {86, 87, "0\n"}};
// No soil layers.
const std::vector<Cut> NO_LAYERS = {{71, 81, "0\n"}};

struct Check {
    const char* name;
    std::string input;
    int status;
    std::vector<std::string> says;
};

TEST(EmbeddedCapInput, RefusedWhereTheCapCannotWork) {
    const std::vector<Check> checks = {
        {"no increments", embedded(2, "1 0 0 0 0 0"), 115,
         {"increments of the equivalent lateral spring is 0; allowed: 1 to 100", "\"PILE CAP\", line 7"}},
        {"more increments than a pile has nodes", embedded(2, "1 0 101 0 0 0"), 115,
         {"increments of the equivalent lateral spring is 101; allowed: 1 to 100", "\"PILE CAP\", line 7"}},
        {"passive resistance without piles", embedded(1, "", NO_PILES), 115,
         {"the embedded pile cap (pile cap option 1) stands on no piles", "\"PILE CAP\", line 6"}},
        {"spring without piles", embedded(2, "1 0 4 0 0 0", NO_PILES), 115, {"stands on no piles"}},
        {"spring without soil layers", embedded(2, "1 0 4 0 0 0", NO_LAYERS), 115,
         {"equivalent lateral spring takes its springs from the soil layers, and the model has no soil layers",
          "\"PILE CAP\", line 6"}},
    };
    for (const Check& c : checks) {
        WorkDir dir;
        const int status = readModel(dir, c.input);
        closeModel();
        const std::string runtime = dir.read("case.run");
        EXPECT_EQ(status, c.status) << c.name << "\n" << runtime;
        for (const std::string& piece : c.says)
            EXPECT_NE(runtime.find(piece), std::string::npos) << c.name << ": no [" << piece << "] in\n" << runtime;
    }
}

TEST(EmbeddedCapInput, AcceptedWithinTheLimits) {
    const std::vector<std::string> inputs = {
        embedded(2, "1 0 1 0 0 0"), embedded(2, "1 0 100 0 0 0"), embedded(1, ""),
        // The passive resistance needs no embedded-cap record and reads without soil layers.
        embedded(2, "0 0 0 0 0 0", NO_LAYERS),
    };
    for (const std::string& input : inputs) {
        WorkDir dir;
        EXPECT_EQ(readModel(dir, input), 0) << dir.read("case.run");
        closeModel();
    }
}

}  // namespace
}  // namespace kaldo::test
