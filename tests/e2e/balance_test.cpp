// End to end: the pile iteration changes the path to the group's balance, not the balance. The SI case
// with combinations (four piles, tolerances of 1e-5 m on deflections of a few 1e-4 m) is run through the
// host with the piles' Newton iteration and with the secant iteration, each at the case's own tolerances
// and at tolerances far tighter; the cap displacements of every case and combination are compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

// The input with every case's cap and pile tolerances tightened (1e-9 relative, 1e-10 m) and the
// iteration limits raised to let them be met.
std::string tightened(std::string text) {
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    replaceAll("\n0 0 0 1 1 100 100\n", "\n0 0 0 1 1 10000 10000\n");
    replaceAll("\n1.0E-5 1.0E-5 ", "\n1.0E-9 1.0E-10 ");
    return text;
}

// The cap displacement triples of the results report: the translations, then the rotations, of every
// case and combination in turn.
std::vector<std::vector<double>> capDisplacements(const std::string& report) {
    std::vector<std::vector<double>> out;
    std::istringstream in(report);
    bool next = false;
    for (std::string line; std::getline(in, line);) {
        if (next) {
            std::istringstream values(line);
            std::vector<double> v;
            for (double x; values >> x;) v.push_back(x);
            out.push_back(v);
            next = false;
        }
        next = line.find("VERTICAL , M      HORIZONTAL Y, M") != std::string::npos ||
               line.find("ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD") != std::string::npos;
    }
    return out;
}

// The largest difference of two runs' triples, each against the largest magnitude of its pair.
double largestDifference(const std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b) {
    double worst = 0.0;
    for (size_t t = 0; t < a.size(); ++t) {
        double scale = 0.0, diff = 0.0;
        for (size_t k = 0; k < a[t].size(); ++k) {
            scale = std::max({scale, std::fabs(a[t][k]), std::fabs(b[t][k])});
            diff = std::max(diff, std::fabs(a[t][k] - b[t][k]));
        }
        worst = std::max(worst, diff / scale);
    }
    return worst;
}

std::vector<std::vector<double>> run(const std::string& input, bool newton) {
    WorkDir dir;
    dir.write("si.inp", input);
    const HostOutcome r = runHostIn(dir, "si.inp", newton ? "" : "KALDO_PILE_NEWTON=0 KALDO_LINEAR_HEAD_STIFFNESS=0");
    EXPECT_EQ(r.exit, 0) << r.out;
    return capDisplacements(dir.read("si.out"));
}

TEST(GroupBalance, NewtonAndSecantPilesReachTheSameBalance) {
    const std::string input = WorkDir::readPath(fs::path(KALDO_CASES_DIR) / "si-combinations/si-combinations.inp");
    const std::string tight = tightened(input);
    ASSERT_NE(tight, input);
    const auto newtonTight = run(tight, true), secantTight = run(tight, false);
    const auto newtonOwn = run(input, true), secantOwn = run(input, false);
    // Three cases and the two combinations printed in full (with the envelopes' triples after them), a
    // translation and a rotation triple each.
    ASSERT_GE(newtonTight.size(), 10u);
    for (const auto* r : {&secantTight, &newtonOwn, &secantOwn}) {
        ASSERT_EQ(r->size(), newtonTight.size());
        for (size_t t = 0; t < r->size(); ++t) ASSERT_EQ((*r)[t].size(), 3u) << t;
    }
    // Closed tightly, both iterations give the same balance to the six printed digits.
    EXPECT_LT(largestDifference(newtonTight, secantTight), 1e-5);
    // At the case's own tolerances the Newton piles are nearer that balance than the secant piles: the
    // secant iteration stops where a pass moves less than 1e-5 m, a tenth of the deflections here, and
    // its forces carry that closure error into the cap's balance.
    const double newtonError = largestDifference(newtonOwn, newtonTight);
    const double secantError = largestDifference(secantOwn, newtonTight);
    EXPECT_LT(newtonError, 0.25 * secantError) << "Newton " << newtonError << ", secant " << secantError;
}

}  // namespace
}  // namespace kaldo::test
