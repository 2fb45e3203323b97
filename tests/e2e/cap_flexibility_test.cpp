// End to end: cap-flexibility cases through the kaldo host, held against hand statics of the rigid cap.
//
// flex-pinned-3x2.inp is the six pinned-head piles of pinned-3x2.inp (tests/e2e/linear: elastic piles,
// D = 500 mm, EI = 2.0E5 kN-m2, 20 m in 100 increments, elastic subgrade Es = k b = 10000 kN/m2, straight
// axial curve of 100000 kN/m) at y = -2, 0, 2 m and z = -1, 1 m, heads at the cap origin's level, under a
// load with every component and two levels (0.5 and 1.0). flex-plane-rows.inp is the plane twin: two rows
// of three such piles at y = -1.5 and 1.5 m. Pinned heads carry neither moment nor torque and the heads
// stand at X = 0, so the cap's stiffness at the origin is diagonal:
//   vertical        n k_a                 rotation about Y   k_a sum z^2
//   lateral         n k_h                 rotation about Z   k_a sum y^2
//   twist about X   k_h sum (y^2 + z^2)
// with k_h = Es / (2 beta), beta = (Es / 4EI)^(1/4), the head stiffness of a long free-head beam on an
// elastic foundation. The flexibility columns are the inverse of that diagonal.
//
// The numbers are read from the pile results report (.pile), which carries every value of the
// flexibility loops (applied load, driven displacement, the displacements) and every cap stiffness
// matrix unconverted with 8 significant digits.
#include <gtest/gtest.h>

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

constexpr double AXIAL_K = 10000.0 / 0.1;  // kN/m
constexpr double SOIL_ES = 20000.0 * 0.5;  // kN/m2
constexpr double EI = 2.0e8 * 1.0e-3;      // kN-m2
constexpr double STEP = 20.0 / 100;        // m, the increment length along the piles

double lateralHeadStiffness() { return SOIL_ES / (2.0 * std::pow(SOIL_ES / (4.0 * EI), 0.25)); }
// The finite differences approach the beam on an elastic foundation to order (beta h)^2.
double lateralTolerance() { return std::pow(std::pow(SOIL_ES / (4.0 * EI), 0.25) * STEP, 2); }

// One point of a degree-of-freedom loop on the pile results file: the applied load F of the driven
// component, the displacements u(1..n); a point without a result has a negative number.
struct FlexPoint {
    int point = 0;
    double F = 0.0;
    std::vector<double> u;
};
// A cap stiffness matrix of the pile results file, rows of n values.
using Matrix = std::vector<std::vector<double>>;

struct FlexReport {
    std::vector<std::vector<FlexPoint>> loops;  // loops[d - 1][j - 1]
    std::vector<Matrix> stiffness;              // per point
};

std::vector<double> numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> out;
    for (double x; in >> x;) out.push_back(x);
    return out;
}

// The flexibility loops and the cap stiffness matrices of the first flexibility case of a pile results file.
FlexReport readPileFile(const std::string& text, int n) {
    FlexReport r;
    const std::vector<std::string> ls = lines(text);
    for (size_t i = 0; i < ls.size(); ++i) {
        if (ls[i].find("CAP FLEX., ") != std::string::npos) {
            r.loops.emplace_back();
            for (size_t k = i + 1; k < ls.size(); ++k) {
                const std::vector<double> v = numbers(ls[k]);
                if (v.empty() || ls[k].find_first_of("*:,") != std::string::npos) break;
                FlexPoint p;
                p.point = static_cast<int>(v[0]);
                p.F = v[1];
                if (v.size() >= static_cast<size_t>(n + 3)) p.u.assign(v.begin() + 3, v.begin() + 3 + n);
                r.loops.back().push_back(p);
            }
        }
        if (ls[i].find("N:") != std::string::npos && ls[i].find("FACTOR :") != std::string::npos &&
            i + 1 + static_cast<size_t>(n) < ls.size()) {
            Matrix m;
            for (int row = 1; row <= n; ++row) {
                std::vector<double> v = numbers(ls[i + 1 + static_cast<size_t>(row)]);
                if (v.size() != static_cast<size_t>(n + 1)) break;
                m.emplace_back(v.begin() + 1, v.end());
            }
            if (m.size() == static_cast<size_t>(n)) r.stiffness.push_back(m);
        }
        if (ls[i].find("* TABLE L *") != std::string::npos) break;
    }
    return r;
}

struct LinearCase {
    const char* stem;
    int n;
    std::vector<double> loads;     // the total load of the case, component by component
    std::vector<double> diagonal;  // hand flexibilities per component
    std::vector<double> tolerance; // relative
};

std::vector<LinearCase> linearCases() {
    const double kh = lateralHeadStiffness(), tol = lateralTolerance();
    // The axial springs are straight lines: the solution reaches them within its own tolerance (1e-6).
    const double exact = 1e-6;
    return {
        {"flex-pinned-3x2", 6, {6000.0, 600.0, 300.0, 400.0, 600.0, 1600.0},
         {1.0 / (6 * AXIAL_K), 1.0 / (6 * kh), 1.0 / (6 * kh), 1.0 / (22 * kh), 1.0 / (6 * AXIAL_K),
          1.0 / (16 * AXIAL_K)},
         {exact, tol, tol, tol, exact, exact}},
        {"flex-plane-rows", 3, {6000.0, 600.0, 1600.0},
         {1.0 / (6 * AXIAL_K), 1.0 / (6 * kh), 1.0 / (6 * 1.5 * 1.5 * AXIAL_K)},
         {exact, tol, exact}},
    };
}

FlexReport runLinear(const LinearCase& c, WorkDir& dir) {
    fs::copy_file(fs::path(KALDO_LINEAR_DIR) / (std::string(c.stem) + ".inp"), dir / (std::string(c.stem) + ".inp"));
    HostOutcome run = runHostIn(dir, std::string(c.stem) + ".inp");
    EXPECT_EQ(run.exit, 0) << c.stem << "\n" << run.out;
    return readPileFile(dir.read(std::string(c.stem) + ".pile"), c.n);
}

// Every loop applies its own component at both levels, and the displacements per unit load are the
// hand flexibilities: the diagonal by the statics above, the coupling terms zero, the same at both
// levels (the group is linear). The twist about X and the sway share the lateral head stiffness, so
// their ratio is exact whatever the discretisation: f44 / f22 = n / sum r^2.
TEST(CapFlexibility, ColumnsOfALinearGroupFollowHandStatics) {
    const double levels[] = {0.5, 1.0};
    for (const LinearCase& c : linearCases()) {
        SCOPED_TRACE(c.stem);
        WorkDir dir;
        const FlexReport r = runLinear(c, dir);
        ASSERT_EQ(r.loops.size(), static_cast<size_t>(c.n));
        std::vector<std::vector<double>> f(static_cast<size_t>(c.n), std::vector<double>(static_cast<size_t>(c.n)));
        for (int d = 0; d < c.n; ++d) {
            const auto& loop = r.loops[static_cast<size_t>(d)];
            ASSERT_EQ(loop.size(), 2u) << "loop " << d + 1;
            for (int j = 0; j < 2; ++j) {
                const FlexPoint& p = loop[static_cast<size_t>(j)];
                SCOPED_TRACE("loop " + std::to_string(d + 1) + " point " + std::to_string(j + 1));
                EXPECT_EQ(p.point, j + 1);
                const double F = levels[j] * c.loads[static_cast<size_t>(d)];
                EXPECT_NEAR(p.F, F, 1e-8 * std::fabs(F));
                ASSERT_EQ(p.u.size(), static_cast<size_t>(c.n));
                const double fd = c.diagonal[static_cast<size_t>(d)];
                for (int k = 0; k < c.n; ++k) {
                    const double coefficient = p.u[static_cast<size_t>(k)] / p.F;
                    if (k == d) {
                        EXPECT_NEAR(coefficient, fd, c.tolerance[static_cast<size_t>(d)] * fd);
                        f[static_cast<size_t>(d)][static_cast<size_t>(d)] = coefficient;
                    } else {
                        const double scale = std::sqrt(fd * c.diagonal[static_cast<size_t>(k)]);
                        EXPECT_NEAR(coefficient, 0.0, 1e-9 * scale) << "component " << k + 1;
                    }
                }
            }
            // Linear: the second level repeats the first.
            const double f1 = loop[0].u[static_cast<size_t>(d)] / loop[0].F;
            const double f2 = loop[1].u[static_cast<size_t>(d)] / loop[1].F;
            EXPECT_NEAR(f2, f1, 1e-6 * std::fabs(f1)) << "loop " << d + 1;
        }
        if (c.n == 6) {
            EXPECT_NEAR(f[3][3] / f[1][1], 6.0 / 22.0, 1e-6) << "twist against sway";
            EXPECT_NEAR(f[2][2], f[1][1], 1e-6 * f[1][1]) << "sway along Z against sway along Y";
        }
    }
}

// At every point the cap stiffness matrix is the inverse of the flexibility matrix whose columns the
// loops give: K F = I. Both come from the pile results file with 8 significant digits (the stiffness as
// printed, the flexibility as displacement over load), so each product term carries a relative error of
// about 1e-7; the matrix is diagonal within 1e-9 of its entries, so the product's error stays of that
// size, and 1e-6 leaves room without hiding a wrong entry (a wrong unit or column is off by orders).
TEST(CapFlexibility, CapStiffnessIsTheInverseOfTheFlexibility) {
    for (const LinearCase& c : linearCases()) {
        SCOPED_TRACE(c.stem);
        WorkDir dir;
        const FlexReport r = runLinear(c, dir);
        ASSERT_EQ(r.stiffness.size(), 2u);
        ASSERT_EQ(r.loops.size(), static_cast<size_t>(c.n));
        for (size_t g = 0; g < 2; ++g) {
            SCOPED_TRACE("point " + std::to_string(g + 1));
            const Matrix& K = r.stiffness[g];
            for (int i = 0; i < c.n; ++i) {
                for (int j = 0; j < c.n; ++j) {
                    double sum = 0.0;
                    for (int k = 0; k < c.n; ++k) {
                        const FlexPoint& p = r.loops[static_cast<size_t>(j)][g];
                        sum += K[static_cast<size_t>(i)][static_cast<size_t>(k)] * p.u[static_cast<size_t>(k)] / p.F;
                    }
                    EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-6) << "(K F)(" << i + 1 << ", " << j + 1 << ")";
                }
                // The diagonal stiffness is the hand value itself.
                const double k = K[static_cast<size_t>(i)][static_cast<size_t>(i)];
                const double hand = 1.0 / c.diagonal[static_cast<size_t>(i)];
                EXPECT_NEAR(k, hand, c.tolerance[static_cast<size_t>(i)] * hand) << "K" << i + 1 << i + 1;
            }
        }
    }
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The same six pinned piles as a stiffness-estimation case under the full load: its equivalent
// stiffness at the origin is the flexibility case's cap stiffness. The estimation condenses each pile
// as beam elements with lumped springs, the flexibility case solves the pile's finite differences, so
// the two discretisations of the lateral springs differ by order (beta h)^2 (0.45 %); the axial terms
// agree to the estimation log's five printed digits. The matrices are diagonal: the coupling terms of
// both are zero against the diagonal.
TEST(CapFlexibility, StiffnessEstimationOfTheSameGroupAgrees) {
    const LinearCase c = linearCases()[0];
    WorkDir flexDir;
    const FlexReport flex = runLinear(c, flexDir);
    ASSERT_EQ(flex.stiffness.size(), 2u);
    const Matrix& F = flex.stiffness[1];

    std::string input = flexDir.read(std::string(c.stem) + ".inp");
    input = replaceAll(input, "0 1 1 0 0 0 0 0\n", "0 11 0 0 0 0 0 0\n");
    const std::string levels = "\n2\n0.5\n1.0\n";
    ASSERT_NE(input.find(levels), std::string::npos);
    std::string one = "\n13\n1.0\n";
    for (int k = 0; k < 12; ++k) one += "0\n";
    input.replace(input.find(levels), levels.size(), one);
    WorkDir estDir;
    estDir.write("job.inp", input);
    const HostOutcome run = runHostIn(estDir, "job.inp");
    ASSERT_EQ(run.exit, 0) << run.out << estDir.read("job.run");
    // The first matrix of the stiffness estimation log.
    const std::vector<std::string> ls = lines(estDir.read("job.sel"));
    Matrix E;
    for (size_t i = 0; i < ls.size() && E.empty(); ++i) {
        if (ls[i].find("* EQV. STIFFNESS MATRIX AT ORIGIN *") == std::string::npos) continue;
        for (size_t k = i + 1; k < ls.size() && E.size() < 6; ++k) E.push_back(numbers(ls[k]));
    }
    ASSERT_EQ(E.size(), 6u);
    const double tol = lateralTolerance();
    const double rel[6] = {1e-5, tol, tol, tol, 1e-5, 1e-5};
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_EQ(E[i].size(), 6u);
        const double d = F[i][i];
        EXPECT_NEAR(E[i][i], d, rel[i] * d) << "K" << i + 1 << i + 1;
        for (size_t j = 0; j < 6; ++j)
            if (j != i) {
                EXPECT_NEAR(E[i][j], 0.0, 1e-6 * d) << "estimation K" << i + 1 << j + 1;
                EXPECT_NEAR(F[i][j], 0.0, 1e-6 * d) << "flexibility K" << i + 1 << j + 1;
            }
    }
}

// The loops solve the group with the pile loops in parallel, and the flexibility and stiffness tables
// come from what the solutions wrote: one thread and eight give the same reports.
TEST(CapFlexibility, ReportsDoNotDependOnTheThreadRequest) {
    for (const char* stem : {"flex-pinned-3x2", "flex-plane-rows"}) {
        SCOPED_TRACE(stem);
        const std::string input = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / (std::string(stem) + ".inp"));
        ASSERT_NE(input.find("0 0 1 1 1 100 100"), std::string::npos);
        WorkDir one, many;
        one.write("f.inp", input);
        many.write("f.inp", replaceAll(input, "0 0 1 1 1 100 100", "0 0 8 1 1 100 100"));
        HostOutcome a = runHostIn(one, "f.inp");
        HostOutcome b = runHostIn(many, "f.inp");
        ASSERT_EQ(a.exit, 0) << a.out;
        ASSERT_EQ(b.exit, 0) << b.out;
        const std::pair<const char*, const char*> reports[] = {
            {"f.out", "S11"}, {"f.pile", "CAP FLEX., 1"}, {"f.sum", "S11"}, {"f.cst", "DOF :     1 POINT :     2"}};
        for (const auto& [report, mark] : reports) {
            const std::string single = maskVolatile(one.read(report));
            EXPECT_NE(single.find(mark), std::string::npos) << report;
            EXPECT_TRUE(single == maskVolatile(many.read(report))) << report << " differs between 1 and 8 threads";
        }
    }
}

// A point whose solve fails after some load steps converged (here the second level of the lateral loop,
// which ends with a singular stiffness after steps at 25 % converged) still leaves its lines on the
// scratch files: its tables say "NO CONVERGENCE ON PILE CAP", its data line carries the negative point
// number, the cap stiffness of that point lists the component among those without a result, and the
// lines of the loops after it stay where the readers look for them.
TEST(CapFlexibility, APointThatFailsAfterSomeStepsStillLeavesItsLines) {
    WorkDir dir;
    const std::string stem = "cap-flexibility-3d";
    fs::copy_file(fs::path(KALDO_CASES_DIR) / stem / (stem + ".inp"), dir / (stem + ".inp"));
    HostOutcome run = runHostIn(dir, "--keep-scratch " + stem + ".inp");
    EXPECT_EQ(run.exit, 5) << run.out;
    const std::string cst = dir.read(stem + ".cst");
    EXPECT_NE(cst.find("      DOF :     2 POINT :     2\n    7 SINGULAR STIFFNESS MATRIX"), std::string::npos) << cst;
    const std::string out = dir.read(stem + ".out");
    const auto loop2 = out.find("DOF   : 2 (FORCE Y)");
    ASSERT_NE(loop2, std::string::npos);
    const std::string tables = out.substr(loop2, out.find("DOF   : 3 (FORCE Z)") - loop2);
    size_t count = 0;
    for (auto at = tables.find("         2     NO CONVERGENCE ON PILE CAP"); at != std::string::npos;
         at = tables.find("         2     NO CONVERGENCE ON PILE CAP", at + 1))
        ++count;
    EXPECT_EQ(count, 2u) << tables;
    const std::string pile = dir.read(stem + ".pile");
    EXPECT_NE(pile.find("CAP FLEX., 2, FORCE Y\n         1"), std::string::npos);
    EXPECT_NE(pile.find("\n        -2"), std::string::npos) << "the failed point's data line";
    // Point 2 has no result for components 2 to 6: its stiffness warning names them all.
    EXPECT_NE(out.find("WARNING : STIFFNESS VALUES FOR COMPONENT(S): K22, K33, K44, K55, K66  "), std::string::npos);
    // The first scratch file holds one line per loop and point: 6 loops of 2 points.
    const std::string fx1 = dir.read(".kaldo-" + stem + "/" + stem + ".fx1");
    EXPECT_EQ(lines(fx1).size(), 12u) << fx1;
}

// A plane case whose piles never close (the pile iteration limit at 1): every point fails at its first
// step with code 6 and still leaves its lines, so both tables of every loop say "NO CONVERGENCE ON PILE
// CAP" for each point, and the cap stiffness of every point, with no loop giving a result, is the
// identity with all three components named in the warning.
TEST(CapFlexibility, PlanePointsWithoutClosureLeaveTheirLines) {
    std::string input = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / "flex-plane-rows.inp");
    input = replaceAll(input, "0 0 1 1 1 100 100", "0 0 1 1 1 100 1");
    WorkDir dir;
    dir.write("f.inp", input);
    HostOutcome r = runHostIn(dir, "f.inp");
    EXPECT_EQ(r.exit, 5) << r.out;
    const std::string out = dir.read("f.out");
    const auto stiffness = out.find("* PILE CAP STIFFNESS ESTIMATION *");
    ASSERT_NE(stiffness, std::string::npos) << out;
    const std::string loops = out.substr(0, stiffness);
    size_t failed = 0;
    for (auto at = loops.find("NO CONVERGENCE ON PILE CAP"); at != std::string::npos;
         at = loops.find("NO CONVERGENCE ON PILE CAP", at + 1))
        ++failed;
    EXPECT_EQ(failed, 12u) << "3 loops x 2 points x 2 tables";
    const FlexReport pile = readPileFile(dir.read("f.pile"), 3);
    ASSERT_EQ(pile.loops.size(), 3u);
    for (const auto& loop : pile.loops) {
        ASSERT_EQ(loop.size(), 2u);
        EXPECT_EQ(loop[0].point, -1);
        EXPECT_EQ(loop[1].point, -2);
    }
    ASSERT_EQ(pile.stiffness.size(), 2u);
    for (const Matrix& K : pile.stiffness)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(K[static_cast<size_t>(i)][static_cast<size_t>(j)], i == j ? 1.0 : 0.0);
    EXPECT_NE(out.find("WARNING : STIFFNESS VALUES FOR COMPONENT(S): K11, K22, K33  "), std::string::npos);
}

// A case's flexibility lines start on an empty file: a first flexibility case without stiffness
// matrices (which leaves its lines unread) does not change the matrices of the case after it, which
// must equal those of the same case run alone.
TEST(CapFlexibility, EachCaseStartsItsScratchFileEmpty) {
    const std::string input = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / "flex-pinned-3x2.inp");
    const std::string head = input.substr(0, input.find("LOAD CASES"));
    const std::string tail = input.substr(input.find("LOAD COMBINATIONS"));
    const std::string caseText = input.substr(input.find("LOAD CASES\n") + 11,
                                              input.find("LOAD COMBINATIONS") - input.find("LOAD CASES\n") - 11);
    const std::string body = caseText.substr(caseText.find('\n') + 1);  // without the count record
    // The first case: no stiffness matrices, only a vertical load and one level.
    std::string first = replaceAll(body, "0 1 1 0 0 0 0 0", "0 1 0 0 0 0 0 0");
    first = replaceAll(first, "6000.0 600.0 1600.0 300.0 600.0 400.0", "3000.0 0.0 0.0 0.0 0.0 0.0");
    first = replaceAll(first, "\n2\n0.5\n1.0", "\n1\n0.7");
    WorkDir both, alone;
    both.write("f.inp", head + "LOAD CASES\n2 0 1 1 0\n" + first + body + tail);
    alone.write("f.inp", input);
    HostOutcome a = runHostIn(both, "f.inp");
    HostOutcome b = runHostIn(alone, "f.inp");
    ASSERT_EQ(a.exit, 0) << a.out << both.read("f.run");
    ASSERT_EQ(b.exit, 0) << b.out;
    auto matrices = [](const std::string& pile, size_t from) {
        const auto at = pile.find("* PILE CAP STIFFNESS ESTIMATION *", from);
        return at == std::string::npos ? std::string() : pile.substr(at, pile.find("* TABLE L *", at) - at);
    };
    const std::string twoCases = both.read("f.pile");
    const auto second = twoCases.find("LOAD CASE :     2");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(matrices(twoCases, 0), matrices(twoCases, second)) << "the first case wrote no matrices";
    EXPECT_FALSE(matrices(twoCases, second).empty());
    EXPECT_EQ(matrices(twoCases, second), matrices(alone.read("f.pile"), 0));
}

// A level of 0 applies no load: every loop leaves zero displacements for that point, its flexibility
// matrix is zero and has no inverse. The point is reported as singular, with no matrix, and the next
// point still gets its own.
TEST(CapFlexibility, AZeroLevelGivesASingularMatrixReportedWithoutAMatrix) {
    std::string input = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / "flex-plane-rows.inp");
    ASSERT_NE(input.find("\n0.5\n"), std::string::npos);
    input = replaceAll(input, "\n0.5\n", "\n0.0\n");
    WorkDir dir;
    dir.write("f.inp", input);
    HostOutcome r = runHostIn(dir, "f.inp");
    ASSERT_EQ(r.exit, 0) << r.out;
    for (const char* report : {"f.out", "f.sum", "f.run"}) {
        const std::string text = dir.read(report);
        EXPECT_NE(text.find("** WARNING **  FLEXIBILITY MATRIX OF POINT   1 IS SINGULAR\n"
                            "                    NO STIFFNESS MATRIX IS ESTIMATED FOR THIS POINT"),
                  std::string::npos)
            << report;
    }
    const std::string out = dir.read("f.out");
    const auto first = out.find("   N:    1  FACTOR :    0.0000");
    const auto second = out.find("   N:    2  FACTOR :    1.0000");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(out.substr(first, second - first).find("DOF"), std::string::npos) << "a matrix for point 1";
    EXPECT_NE(out.find("6.00000E+05", second), std::string::npos) << "point 2's matrix";
    // The pile results file carries no matrix for point 1 either.
    const FlexReport pile = readPileFile(dir.read("f.pile"), 3);
    EXPECT_EQ(pile.stiffness.size(), 1u);
}

// A flexible cap is solved by the plate program, which gives no cap displacements per unit load: a
// flexibility case there is refused when the input is read.
TEST(CapFlexibility, ACaseOnAFlexibleCapIsRefused) {
    std::string input = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / "flex-pinned-3x2.inp");
    input = replaceAll(input, "2 3 0 0 0 1 1 0", "2 3 0 2 0 1 1 0");
    const std::string cap = "5.0 3.0 1.0 0.0 0.0 0\n";
    ASSERT_NE(input.find(cap), std::string::npos);
    input = replaceAll(input, cap, cap + "0.0 0.0 4 4 3.0E7 0.2\n");
    WorkDir dir;
    dir.write("f.inp", input);
    HostOutcome r = runHostIn(dir, "f.inp");
    EXPECT_EQ(r.exit, 115) << r.out;
    const std::string run = dir.read("f.run");
    EXPECT_NE(run.find("asks for the cap flexibility, which a flexible cap"), std::string::npos) << run;
}

}  // namespace
}  // namespace kaldo::test
