// Soil property profiles at a coordinate: point, segment and average lookups, their layer-boundary
// rules, and what they do below the last row.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "io/units.h"
#include "model/blocks.h"
#include "soil/lateral/lateral.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// Two layers: 0 to 100 and 100 to 300 (rows at X 0, 100 | 100, 300), with the results file (16) and
// the runtime file (10) open.
class SoilProfile : public ::testing::Test {
protected:
    WorkDir dir;

    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        ASSERT_TRUE(io::unit(16).open((dir / "r.out").string(), io::Mode::Write));
        ASSERT_TRUE(io::unit(10).open((dir / "r.run").string(), io::Mode::Write));
        RUNCONST.DEPTOL = 1e-6;
        CTLIN.UNITS = 1;
        rows({0, 100, 100, 300});
        SOILLAY.NLAYER = 2;
        SOILLAY.XTOP(1) = 0;
        SOILLAY.XBOT(1) = 100;
        SOILLAY.XTOP(2) = 100;
        SOILLAY.XBOT(2) = 300;
        set(SOILPRF.GAMMA, {60, 60, 100, 140});
        set(SOILPRF.CU, {10, 50, 80, 120});
        set(SOILPRF.PHI, {0.5, 0.5, 0.6, 0.7});
        set(SOILPRF.KPY, {50, 100, 200, 300});
        set(SOILPRF.ER, {1, 2, 3, 4});
        set(SOILPRF.E50, {0.02, 0.01, 0.005, 0.004});
        set(SOILPRF.JRQD, {0, 0, 7, 9});
        set(SOILPRF.FMAX, {1, 3, 5, 9});
        set(SOILPRF.QMAX, {10, 30, 50, 90});
    }
    void TearDown() override { io::closeAllUnits(); }

    static void rows(const std::vector<double>& x) {
        SOILPRF.NXP = SOILPRF.NXG = static_cast<int>(x.size());
        set(SOILPRF.XP, x);
        set(SOILPRF.XG, x);
    }
    static void set(Arr<double, 1, PRFROWS>& col, const std::vector<double>& v) {
        for (std::size_t i = 0; i < v.size(); ++i) col(static_cast<int>(i) + 1) = v[i];
    }
    std::string results() {
        io::unit(16).flush();
        return dir.read("r.out");
    }
    std::string runtime() {
        io::unit(10).flush();
        return dir.read("r.run");
    }
};

// The warning record: an empty line, the caption after 29 blanks, each text line after 5 blanks.
std::string record(const std::string& line1, const std::string& line2) {
    return "\n" + std::string(29, ' ') + "**** WARNING ****\n     " + line1 + "\n     " + line2 + "\n";
}

double cat(double x) {
    int st = 0;
    return PRFCAT(x, st);
}
double phiat(double x) {
    int st = 0;
    return PRFPHIAT(x, st);
}

TEST_F(SoilProfile, PointLookupsAtTopsBottomsInsideAndAbove) {
    struct Case {
        double x, cu, k, phi, er, e50, j;
    };
    const Case cases[] = {
        {0, 10, 50, 0.5, 1, 0.02, 0},           // top of the first layer
        {50, 30, 75, 0.5, 1.5, 0.015, 0},       // inside the first layer
        {100, 80, 150, 0.55, 2.5, 0.0075, 7},   // boundary: cohesion below; mean, or the nonzero one
        {200, 100, 250, 0.65, 3.5, 0.0045, 8},  // inside the second layer
        {300, 120, 300, 0.7, 4, 0.004, 9},      // bottom of the last layer
        {-50, -10, 25, 0.5, 0.5, 0.025, 0},     // above the first row: rows 1 and 2 carried upward
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("x = " + std::to_string(c.x));
        EXPECT_DOUBLE_EQ(cat(c.x), c.cu);
        EXPECT_DOUBLE_EQ(PRFKAT(c.x), c.k);
        EXPECT_DOUBLE_EQ(phiat(c.x), c.phi);
        EXPECT_DOUBLE_EQ(PRFK2AT(c.x), c.er);
        EXPECT_DOUBLE_EQ(PRFE50AT(c.x), c.e50);
        EXPECT_DOUBLE_EQ(PRFCOL7(c.x), c.j);
        EXPECT_DOUBLE_EQ(PRFCOL7B(c.x), c.j);
    }
    EXPECT_EQ(results(), "");
}

TEST_F(SoilProfile, LayerBoundaryRules) {
    // a: the upper layer's bottom value, b: the lower layer's top value, at X = 100.
    struct Case {
        double a, b, lower, mean;
    };
    const Case cases[] = {
        {50, 80, 80, 65}, {50, 0, 50, 50}, {0, 80, 80, 80}, {50, -3, 50, 50}, {-2, 80, 80, 80}, {100, 200, 200, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("a = " + std::to_string(c.a) + ", b = " + std::to_string(c.b));
        SOILPRF.CU(2) = SOILPRF.KPY(2) = c.a;
        SOILPRF.CU(3) = SOILPRF.KPY(3) = c.b;
        EXPECT_DOUBLE_EQ(cat(100), c.lower);
        EXPECT_DOUBLE_EQ(PRFKAT(100), c.mean);
    }
}

TEST_F(SoilProfile, SegmentLookups) {
    int st = 0;
    // At the boundary: the lower layer's top value.
    EXPECT_DOUBLE_EQ(PRFPHILIN(100, st), 0.6);
    EXPECT_DOUBLE_EQ(PRFFMAX(100, st), 5);
    EXPECT_DOUBLE_EQ(PRFQMAX(100, st), 50);
    EXPECT_DOUBLE_EQ(PRFFMAX(50, st), 2);
    EXPECT_DOUBLE_EQ(PRFQMAX(200, st), 70);
    EXPECT_DOUBLE_EQ(PRFPHILIN(200, st), 0.65);
    EXPECT_DOUBLE_EQ(PRFFMAX(300, st), 9);  // the last row
    EXPECT_DOUBLE_EQ(PRFQMAX(-25, st), 5);  // above the first row
    EXPECT_EQ(st, 0);
    // A last layer thinner than the depth tolerance gives the mean of its two rows.
    rows({0, 100, 100, 100.0000005});
    EXPECT_DOUBLE_EQ(PRFFMAX(100.0000005, st), 7);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(results(), "");
}

TEST_F(SoilProfile, AveragesFromTheGroundSurface) {
    int st = 0;
    // Unit weight 60 over 0..100, then 100 to 140 over 100..300.
    EXPECT_DOUBLE_EQ(PRFGAMAV(50, st), 60);
    EXPECT_DOUBLE_EQ(PRFGAMAV(100, st), 60);
    EXPECT_DOUBLE_EQ(PRFGAMAV(200, st), (60 * 100 + 110 * 100) / 200.0);
    EXPECT_DOUBLE_EQ(PRFGAMAV(300, st), (60 * 100 + 120 * 200) / 300.0);
    EXPECT_DOUBLE_EQ(PRFGAMAV(-5, st), 0);
    // Cohesion 10 to 50 over 0..100, 80 to 120 over 100..300.
    EXPECT_DOUBLE_EQ(PRFCAVG(100, st), 30);
    EXPECT_DOUBLE_EQ(PRFCAVG(200, st), (30 * 100 + 90 * 100) / 200.0);
    EXPECT_DOUBLE_EQ(PRFCAVG(-1, st), 0);
    // At the ground surface (within the tolerance): the cohesion there, and the first unit weight given.
    EXPECT_DOUBLE_EQ(PRFCAVG(5e-7, st), cat(5e-7));
    EXPECT_DOUBLE_EQ(PRFGAMAV(0, st), 60);
    SOILPRF.GAMMA(1) = SOILPRF.GAMMA(2) = 0;
    EXPECT_DOUBLE_EQ(PRFGAMAV(5e-7, st), 100);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(results(), "");
}

TEST_F(SoilProfile, BelowTheProfileWithStatus) {
    const std::string g92 = " 0.30E+03";  // 301 in G9.2
    const std::string g91 = "  0.3E+03";  // 301 in G9.1
    const std::string beyond = "THE VALUE OF X =";
    struct Case {
        const char* name;
        std::function<double(double, int&)> lookup;
        int code;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"PRFGAMAV", PRFGAMAV, 22,
         record(beyond + g92 + "IS BEYOND THE EXTENT OF", "THE INPUT CURVE FOR UNIT WEIGHT")},
        {"PRFCAT", PRFCAT, 23, record(beyond + g91 + " IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE")},
        {"PRFPHIAT", PRFPHIAT, 24, record(beyond + g91 + " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE")},
        {"PRFFMAX", PRFFMAX, 25, record(beyond + g92 + " IS BEYOND THE EXTENT OF", "THE INPUT MAX. LOAD TRANSFER")},
        {"PRFQMAX", PRFQMAX, 26, record(beyond + g92 + "IS BEYOND THE EXTENT OF", "THE INPUT MAX. LOAD TRANSFER")},
        {"PRFPHILIN", PRFPHILIN, 27,
         record(beyond + g92 + "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE, BPHI")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before16 = results().size(), before10 = runtime().size();
        int st = 0;
        EXPECT_EQ(c.lookup(301, st), 0.0);
        EXPECT_EQ(st, c.code);
        std::string out16 = results().substr(before16);
        if (c.code == 25) {
            // The side friction lookup first names x, the row count and the last row's X.
            const std::size_t eol = out16.find('\n');
            std::istringstream lead(out16.substr(0, eol));
            double x = 0, last = 0;
            int n = 0;
            lead >> x >> n >> last;
            EXPECT_EQ(x, 301);
            EXPECT_EQ(n, 4);
            EXPECT_EQ(last, 300);
            EXPECT_EQ(out16[0], ' ');
            out16 = out16.substr(eol + 1);
        }
        EXPECT_EQ(out16, c.text);
        EXPECT_EQ(runtime().substr(before10), c.text);
    }
}

TEST_F(SoilProfile, BelowTheProfileWithoutStatus) {
    int st = 0;
    for (auto lookup : {PRFKAT, PRFK2AT, PRFE50AT, PRFCOL7, PRFCOL7B}) EXPECT_EQ(lookup(301), 0.0);
    EXPECT_EQ(results(), "");
    // The average cohesion carries the last layer on to 400 (120 to 140 over 300..400), warns on the
    // results file only and sets no status.
    EXPECT_DOUBLE_EQ(PRFCAVG(400, st), (30 * 100 + 100 * 200 + 130 * 100) / 400.0);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(results(), record("THE VALUE OF X = 0.40E+03IS BEYOND THE EXTENT OF THE", "INPUT CURVE FOR STRENGTH"));
    EXPECT_EQ(runtime(), "");
}

TEST_F(SoilProfile, StatusWordIsNeverCleared) {
    int st = 7;
    PRFGAMAV(50, st);
    PRFFMAX(50, st);
    PRFCAT(50, st);
    EXPECT_EQ(st, 7);
    PRFCAT(301, st);
    EXPECT_EQ(st, 23);
    PRFCAT(50, st);
    EXPECT_EQ(st, 23);
}

TEST_F(SoilProfile, EmptyProfile) {
    rows({});
    int st = 0;
    EXPECT_EQ(PRFKAT(10), 0.0);
    EXPECT_EQ(PRFE50AT(10), 0.0);
    EXPECT_EQ(PRFCAT(10, st), 0.0);
    EXPECT_EQ(st, 23);
    EXPECT_EQ(PRFFMAX(10, st), 0.0);
    EXPECT_EQ(st, 25);
    EXPECT_EQ(PRFGAMAV(10, st), 0.0);
    EXPECT_EQ(st, 22);
}

TEST_F(SoilProfile, DefaultSubgradeModulus) {
    // One layer 0..100 with a uniform cohesion c and modulus k.
    rows({0, 100});
    auto uniform = [](double c, double k) {
        set(SOILPRF.CU, {c, c});
        set(SOILPRF.KPY, {k, k});
    };
    struct Case {
        int units;
        double c, k, expected;
    };
    const Case cases[] = {
        {1, 10, 80, 80},                     // a modulus given is used
        {1, 10, 0, 500},                     // 10 psi: 1440 psf, between 1000 and 2000 psf
        {1, 10, 5e-5, 500},                  // practically zero
        {1, 3.4700000286102295, 0, 50},      // a strength at a band limit takes the lower band
        {1, 3.48, 0, 100},
        {1, 13.899999618530273, 0, 500},
        {1, 27.799999237060547, 0, 1000},
        {1, 30, 0, 2000},
        {2, 10 * 6.895, 0, 500 * 271.5},     // the same strength in kPa, the modulus in kN/m^3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("c = " + std::to_string(c.c) + ", k = " + std::to_string(c.k));
        CTLIN.UNITS = c.units;
        uniform(c.c, c.k);
        EXPECT_DOUBLE_EQ(PRFKDEF(50), c.expected);
    }
    EXPECT_EQ(PRFKDEF(-1), 0.0);  // above the first row
    EXPECT_EQ(results(), "");
    // Below the profile: the strength warning, no status, and the lowest band.
    uniform(30, 0);
    const std::string warning =
        record("THE VALUE OF X =  0.1E+03 IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
    CTLIN.UNITS = 1;
    EXPECT_EQ(PRFKDEF(101), 50.0);
    CTLIN.UNITS = 2;
    EXPECT_EQ(PRFKDEF(101), 50 * 271.5);
    EXPECT_EQ(results(), warning + warning);
    EXPECT_EQ(runtime(), warning + warning);
}

// Many piles warn at once: every record reaches both files whole.
TEST_F(SoilProfile, ConcurrentWarningsStayWhole) {
    constexpr int threads = 8, calls = 25;
    std::vector<int> status(threads, 0);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&status, t] {
            for (int i = 0; i < calls; ++i) PRFCAT(301, status[t]);
        });
    for (auto& th : pool) th.join();
    for (int s : status) EXPECT_EQ(s, 23);
    std::string expected;
    for (int i = 0; i < threads * calls; ++i)
        expected += record("THE VALUE OF X =  0.3E+03 IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
    EXPECT_EQ(results(), expected);
    EXPECT_EQ(runtime(), expected);
}

}  // namespace
}  // namespace kaldo::test
