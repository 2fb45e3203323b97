// Side (t-z) and tip (q-w) load-transfer curves, unit capacities, and the generated axial
// load-settlement and torque-rotation curves of a property set, against hand calculations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "echo/echo.h"
#include "io/format.h"
#include "model/blocks.h"
#include "model/files.h"
#include "services/status.h"
#include "soil/axial/axial.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

double sp(float v) { return v; }

// ---- A one-pile three-dimensional model -----------------------------------------------------------

struct SoilRow {
    double gamma = 0, c = 0, phi = 0, k = 0, er = 0, e50 = 0, j = 0, fmax = 0, qmax = 0;
};
struct SoilLayer {
    int code;
    double top, bottom;  // feet or metres
    SoilRow upper, lower;
};
// One pile, its head at x = 0 on the ground surface, one property set of one section. English: feet,
// inches, pounds; SI: metres, millimetres, kN.
struct PileModel {
    int units = 1;
    int ptype = 1;
    int ninc = 2;
    double length = 40.0;
    double diameter = 24.0;
    double area = 36.0;
    double modulus = 29.0e6;
    double gj = 5.0e10;
    std::vector<SoilLayer> layers;
};

std::string inputOf(const PileModel& m) {
    std::ostringstream s;
    s.precision(17);
    s << "Axial curve test\nsecond title line\nCONTROL RECORD\n"
      << m.units << " 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
      << "PILE CAP\n0.0 0.0 0.0 0.0 0.0 0\nLOAD CASES\n0 0 0 0 0\nLOAD COMBINATIONS\n0 0 0 0 0\n"
      << "DISTRIBUTED LOADS\n0\nPILE GROUPS\n1\n2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n"
      << "0.0 0.0 0.0 0.0 90.0 0.0 0.0\n"
      << "PILE PROPERTIES\n1\n1 1\n"
      << m.ninc << " " << m.length << " " << m.ptype << "\n0.0 " << m.length << " 1\n"
      << "CROSS SECTIONS\n1\n1 0 0 0\n'Test pile'\n"
      << m.diameter << " 0 0 0 0 0 0 0\n"
      << "1.0e6 " << m.area << " 1000.0 1000.0 0.0 " << m.gj << " 0.0 0.0 " << m.modulus << " 0.0 0\n"
      << "0 0 0.0 0 0\nnone\n"
      << "SOIL LAYERS\n" << m.layers.size() << "\n";
    int l = 0;
    for (const SoilLayer& layer : m.layers) {
        // The reader refuses a code outside 1 to 14; build() sets such a code after reading.
        s << ++l << " " << (layer.code >= 1 && layer.code <= 14 ? layer.code : 1) << "\n" << layer.top << " "
          << layer.bottom << "\n2 9\n";
        for (const SoilRow& r : {layer.upper, layer.lower})
            s << r.gamma << " " << r.c << " " << r.phi << " " << r.k << " " << r.er << " " << r.e50 << " " << r.j
              << " " << r.fmax << " " << r.qmax << "\n";
    }
    s << "GENERATED AXIAL CURVES\n1\n1\nGENERATED TORQUE CURVES\n1\n1\n"
      << "SECTION MOMENT CURVATURE\n1\n1 0\n1 0\n";
    return s.str();
}

// Reads the model and builds the working pile, section and soil tables as the input echo does.
void build(const WorkDir& dir, const PileModel& m) {
    ASSERT_EQ(readModel(dir, inputOf(m)), 0);
    for (std::size_t l = 0; l < m.layers.size(); ++l) SOILIN.LCRITIN(static_cast<int>(l) + 1) = m.layers[l].code;
    echoPiles();
    echoSections();
    int status = 0;
    echoSoils(status);
    ASSERT_EQ(status, 0);
}

SoilLayer uniform(int code, double bottom, const SoilRow& row) { return {code, 0.0, bottom, row, row}; }

// Soft clay, 1000 psf, 120 pcf, E50 0.002, 50 ft deep.
SoilRow clayRow(double fmax = 0.0) {
    SoilRow r;
    r.gamma = 120.0;
    r.c = 1000.0;
    r.e50 = 0.002;
    r.fmax = fmax;
    return r;
}

const double C_PSI = 1000.0 / 144.0;   // 1000 psf
const double G_PCI = 120.0 / 1728.0;   // 120 pcf

// The curve positions in a 50 ft layer under a pile whose head sits on the ground at x = 0.
const double X3 = sp(0.1f);                 // 0.1 inch below the ground
const double X4 = (sp(0.1f) + 600.0) / 2.0; // mid-layer

class Axial : public ::testing::Test {
protected:
    void SetUp() override { resetAllBlocks(); }
    void TearDown() override {
        closeModel();
        resetAllBlocks();
    }
    WorkDir dir;
};

// ---- TzCurves --------------------------------------------------------------------------------------

using TzCurves = Axial;

TEST_F(TzCurves, NormalisedShapesScaleWithDiameterAndMaximum) {
    TzSet s{};
    s.TZTMAX(1) = 2.0;
    struct Point {
        void (*shape)(int, double, TzPoints&, TzPoints&, const TzValues&);
        int p;
        double zOverD, tOverTmax;
    };
    const Point points[] = {
        {TZSDSSAND, 4, sp(0.003f), sp(0.72f)}, {TZSDSSAND, 10, sp(0.1f), sp(0.95f)},
        {TZSDSCLAY, 2, sp(0.001f), sp(0.51f)}, {TZSDSCLAY, 10, sp(0.1f), sp(0.835f)},
        {TZSPEAK01, 6, sp(0.01f), 1.0},        {TZSPEAK01, 7, sp(0.02f), sp(0.8f)},
    };
    for (const Point& q : points) {
        q.shape(1, 24.0, s.TZT, s.TZZ, s.TZTMAX);
        EXPECT_EQ(s.TZZ(1, 1), 0.0);
        EXPECT_EQ(s.TZT(1, 1), 0.0);
        EXPECT_DOUBLE_EQ(s.TZZ(1, q.p), q.zOverD * 24.0) << "point " << q.p;
        EXPECT_DOUBLE_EQ(s.TZT(1, q.p), q.tOverTmax * 2.0) << "point " << q.p;
    }
}

TEST_F(TzCurves, DrivenClayMovesInInchesOrTheirMetricProducts) {
    TzSet s{};
    s.TZTMAX(1) = 2.0;
    CTLIN.UNITS = 1;
    TZSDRCLAY(1, s.TZT, s.TZZ, s.TZTMAX);
    EXPECT_DOUBLE_EQ(s.TZZ(1, 9), 0.5);
    EXPECT_DOUBLE_EQ(s.TZT(1, 9), sp(0.93f) * 2.0);
    EXPECT_DOUBLE_EQ(s.TZT(1, 6), 2.0);
    CTLIN.UNITS = 2;
    TZSDRCLAY(1, s.TZT, s.TZZ, s.TZTMAX);
    EXPECT_EQ(s.TZZ(1, 10), 0.2539999969303608);  // 10 inch as the product of two single-precision numbers
    EXPECT_EQ(s.TZZ(1, 2), 0.00025399999125301845);
    // Generic runs compute in inches like English runs.
    CTLIN.UNITS = 3;
    TZSDRCLAY(1, s.TZT, s.TZZ, s.TZTMAX);
    EXPECT_EQ(s.TZZ(1, 10), 10.0);
}

// t = z / (z / tmax + 144 / k), k from the friction angle; SI goes through psf and back.
TEST_F(TzCurves, DrivenSandHyperbolaStiffensWithFrictionAngle) {
    TzSet s{};
    CTLIN.UNITS = 1;
    s.TZTMAX(1) = 5.0;
    s.TZPHI(1) = 30.0;
    TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
    EXPECT_DOUBLE_EQ(s.TZZ(1, 5), 0.06);
    EXPECT_NEAR(s.TZT(1, 5), 2.096764841992348, 1e-12);  // k = 6000 + 1333.3 x 2
    EXPECT_DOUBLE_EQ(s.TZZ(1, 10), 2.5);

    // The stiffness read back from the second point, z = 0.01: 144 / k = z / t - z / tmax.
    const double phis[] = {28.0, 29.5, 31.5, 34.0, 34.5, 40.0};
    const double ks[] = {6000.0, 7999.9500732421875, 10000.0, 12666.60009765625, 14000.0, 18000.0};
    for (int i = 0; i < 6; ++i) {
        s.TZPHI(1) = phis[i];
        TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
        const double k = 144.0 / (0.01 / s.TZT(1, 2) - 0.01 / 5.0);
        EXPECT_NEAR(k, ks[i], 1e-6 * ks[i]) << "phi " << phis[i];
    }

    CTLIN.UNITS = 2;
    s.TZTMAX(1) = 50.0;
    s.TZPHI(1) = 36.0;
    TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
    EXPECT_EQ(s.TZZ(1, 10), sp(0.0635f));
    EXPECT_DOUBLE_EQ(s.TZZ(1, 9), sp(0.0254f) * 0.5);
    EXPECT_NEAR(s.TZT(1, 10), 48.67436152103762, 1e-10);

    // No friction at all: the shape keeps a token 0.001.
    s.TZTMAX(1) = 0.0;
    TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
    EXPECT_EQ(s.TZTMAX(1), sp(0.001f));
}

// Soft clay, 1000 psf, 120 pcf, 50 ft, driven pile: alpha = 0.5 / sqrt(psi) at mid-layer
// (psi = c / (gamma z) = 1/3), 0.5 / psi^0.25 just below the ground (psi = 1000).
TEST_F(TzCurves, DrivenPileInClayPlacesCurvesAndTakesAdhesion) {
    PileModel m;
    m.layers = {uniform(1, 50.0, clayRow())};
    build(dir, m);
    TzSet s{};
    int status = 0;
    buildSideCurves(1, 1, true, s, status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(s.NPTS, 5);
    const double x[] = {0.0, 0.0, X3, X4, 600.0 - sp(0.1f)};
    for (int a = 1; a <= 5; ++a) {
        EXPECT_DOUBLE_EQ(s.TZX(a), x[a - 1]) << a;
        EXPECT_EQ(s.TZCODE(a), 1);
        EXPECT_EQ(s.TZNP(a), 10);
    }
    EXPECT_EQ(s.TZTMAX(1), sp(1e-6f));
    EXPECT_EQ(s.TZTMAX(2), sp(1e-6f));
    EXPECT_NEAR(s.TZTMAX(3), 0.6174581307859479, 1e-12);
    EXPECT_NEAR(s.TZTMAX(4), 6.01456645529431, 1e-11);
    // The driven clay shape: its peak at 0.08 inch is tmax.
    EXPECT_DOUBLE_EQ(s.TZZ(4, 6), sp(0.08f));
    EXPECT_DOUBLE_EQ(s.TZT(4, 6), s.TZTMAX(4));
    EXPECT_NEAR(s.TZPHI(4), 0.0, 1e-15);
}

TEST_F(TzCurves, WeakClayTakesFullAdhesionAndNoStrengthNoWeightGivesNoFriction) {
    PileModel m;
    SoilRow weak = clayRow();
    weak.c = 400.0;  // 2.78 psi, below 500 psf
    m.layers = {uniform(1, 50.0, weak)};
    build(dir, m);
    TzSet s{};
    int status = 0;
    buildSideCurves(1, 1, true, s, status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(s.TZTMAX(3), 400.0 / 144.0, 1e-12);  // alpha 0.11 raised to 1
    closeModel();

    SoilRow none;  // neither strength nor weight: c / (gamma z) is 0 / 0
    m.layers = {uniform(1, 50.0, none)};
    build(dir, m);
    buildSideCurves(1, 1, true, s, status);
    ASSERT_EQ(status, 0);
    for (int a = 3; a <= 5; ++a) {
        EXPECT_EQ(s.TZTMAX(a), 0.0) << a;
        for (int p = 1; p <= 10; ++p) EXPECT_EQ(s.TZT(a, p), 0.0) << a << " " << p;
    }
}

// Maximum side transfer at mid-layer (x = 300.05 in, 25 ft) by criterion and pile type; 30 degrees,
// 1000 psf and 120 pcf where the criterion uses them. Drilled shafts: beta = 1.5 - 0.135 sqrt(25 ft).
TEST_F(TzCurves, MaximumSideTransferByCriterionAndPileType) {
    struct Case {
        int units, code, ptype;
        double c, phi, fmax;
        double tmax;
        const char* what;
    };
    const Case cases[] = {
        {1, 4, 2, 0, 30, 0, 17.189192002944996, "drilled sand: gamma z beta"},
        {1, 4, 1, 0, 30, 0, 7.778498057992316, "driven sand: 0.8 gamma z tan(phi - 5 deg)"},
        {1, 7, 1, 1000, 30, 0, 13.793064513286627, "driven silt: alpha c plus the sand term"},
        {1, 7, 2, 1000, 30, 0, 21.008636530173668, "drilled silt: 0.55 c plus gamma z beta"},
        {1, 1, 2, 1000, 0, 0, sp(0.55f) * C_PSI, "drilled clay: 0.55 c"},
        {1, 9, 1, 500, 0, 0, 50.00000074505806, "weak rock: 0.1 of the strength (psi as given)"},
        {1, 1, 1, 1000, 0, 288, 2.0, "user value"},
        {1, 12, 1, 1000, 0, 0, 0.0, "elastic subgrade without user value"},
        {2, 4, 2, 0, 30, 0, 112.10669024697386, "SI drilled sand: depth in feet from metres"},
        {3, 4, 2, 0, 30, 0, 17.189192002944996, "generic drilled sand: the inch-pound rule"},
        {2, 1, 1, 50, 0, 0, 41.082669703924864, "SI driven clay"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        PileModel m;
        m.units = k.units;
        m.ptype = k.ptype;
        const bool si = k.units == 2;
        SoilRow r;
        r.gamma = si ? 18.0 : 120.0;
        r.c = k.c;
        r.phi = k.phi;
        r.k = 100.0;
        r.e50 = 0.01;
        r.fmax = k.fmax;
        if (si) {
            m.length = 12.0;
            m.diameter = 600.0;
            m.area = 282743.0;
        }
        m.layers = {uniform(k.code, si ? 15.0 : 50.0, r)};
        build(dir, m);
        TzSet s{};
        int status = 0;
        buildSideCurves(1, 1, true, s, status);
        ASSERT_EQ(status, 0);
        EXPECT_NEAR(s.TZTMAX(4), k.tmax, 1e-12 * (1.0 + k.tmax));
        closeModel();
    }
}

// Three curves at x = 0, 10, 20 (drilled clay shape, D = 10, tmax 1, 2, 4): above the first curve
// nothing, between curves linear in x, below the last the last curve; within a curve linear in z (the
// last segment too), the tenth point's value from the tenth point on.
TEST_F(TzCurves, ReadingBetweenCurvesAndPoints) {
    TzSet s{};
    s.NPTS = 3;
    const double tmax[] = {1.0, 2.0, 4.0};
    for (int a = 1; a <= 3; ++a) {
        s.TZX(a) = 10.0 * (a - 1);
        s.TZTMAX(a) = tmax[a - 1];
        TZSDSCLAY(a, 10.0, s.TZT, s.TZZ, s.TZTMAX);
    }
    const double z1 = sp(0.001f) * 10.0, t1 = sp(0.51f);  // second point of a unit curve
    EXPECT_EQ(sideTransfer(s, -1.0, z1), 0.0);
    EXPECT_DOUBLE_EQ(sideTransfer(s, 0.0, z1), t1);
    EXPECT_DOUBLE_EQ(sideTransfer(s, 15.0, z1), 3.0 * t1);
    EXPECT_DOUBLE_EQ(sideTransfer(s, 25.0, z1), 4.0 * t1);
    EXPECT_DOUBLE_EQ(curveTransfer(s, 1, 0.5 * z1), 0.5 * t1);
    // Between the ninth (0.16, 0.90) and the tenth point (1.0, 0.835): 0.90 - 0.065 x 0.34 / 0.84; beyond
    // the tenth point: 0.835.
    const double z9 = sp(0.016f) * 10.0, z10 = sp(0.1f) * 10.0;
    EXPECT_DOUBLE_EQ(curveTransfer(s, 1, 0.5), sp(0.90f) + (sp(0.835f) - sp(0.90f)) * (0.5 - z9) / (z10 - z9));
    EXPECT_NEAR(curveTransfer(s, 1, 0.5), 0.873690476, 1e-7);  // single-precision ratios
    EXPECT_DOUBLE_EQ(curveTransfer(s, 1, 50.0), sp(0.835f));
    EXPECT_DOUBLE_EQ(curveTransfer(s, 1, z9), sp(0.90f));
}

// Every generated shape read inside its last segment: linear between the ninth and tenth points (the
// driven sand hyperbola from its 0.5 inch value towards its 2.5 inch value, no jump to the latter), the
// tenth point's value at and beyond it. t9 and t10 by hand from each shape's rule.
TEST_F(TzCurves, LastSegmentIsLinearAndTheCurveFlatBeyondIt) {
    struct Case {
        const char* name;
        int units;
        void (*draw)(TzSet&);
        double z9, t9, z10, t10;
    };
    // Driven sand, 25 degrees (k = 6000 psf/in, 144 / k = 0.024 in/psi), tmax 5 psi:
    // t = z / (z / 5 + 0.024) at 0.5 and 2.5 inch.
    const double b = 144.0 / 6000.0;
    // Driven sand in SI, tmax 50 kPa, 36 degrees (k = 14000 + 1333.3): the inch movements 0.5 and 2.5 in
    // psf and back, t = zin / (zin / (20.88 tmax) + 1 / k) / 20.88, at 0.0127 m and 0.0635 m.
    const double kSI = 14000.0 + sp(1333.3f), f = sp(20.88f);
    auto siT = [&](double zin) { return zin / (zin / (f * 50.0) + 1.0 / kSI) / f; };
    const Case cases[] = {
        {"driven sand", 1,
         [](TzSet& s) {
             s.TZTMAX(1) = 5.0;
             s.TZPHI(1) = 25.0;
             TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
         },
         0.5, 0.5 / (0.5 / 5.0 + b), 2.5, 2.5 / (2.5 / 5.0 + b)},
        {"driven sand SI", 2,
         [](TzSet& s) {
             s.TZTMAX(1) = 50.0;
             s.TZPHI(1) = 36.0;
             TZSDRSAND(1, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
         },
         sp(0.0254f) * 0.5, siT(0.5), sp(0.0635f), siT(2.5)},
        {"drilled clay", 1,
         [](TzSet& s) {
             s.TZTMAX(1) = 2.0;
             TZSDSCLAY(1, 24.0, s.TZT, s.TZZ, s.TZTMAX);
         },
         sp(0.016f) * 24.0, sp(0.90f) * 2.0, sp(0.1f) * 24.0, sp(0.835f) * 2.0},
        {"drilled sand", 1,
         [](TzSet& s) {
             s.TZTMAX(1) = 2.0;
             TZSDSSAND(1, 24.0, s.TZT, s.TZZ, s.TZTMAX);
         },
         sp(0.016f) * 24.0, sp(0.96f) * 2.0, sp(0.1f) * 24.0, sp(0.95f) * 2.0},
        {"driven clay (flat)", 1,
         [](TzSet& s) {
             s.TZTMAX(1) = 2.0;
             TZSDRCLAY(1, s.TZT, s.TZZ, s.TZTMAX);
         },
         0.5, sp(0.93f) * 2.0, 10.0, sp(0.93f) * 2.0},
        {"peak (flat)", 1,
         [](TzSet& s) {
             s.TZTMAX(1) = 2.0;
             TZSPEAK01(1, 24.0, s.TZT, s.TZZ, s.TZTMAX);
         },
         sp(0.05f) * 24.0, sp(0.8f) * 2.0, sp(0.1f) * 24.0, sp(0.8f) * 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTLIN.UNITS = c.units;
        TzSet s{};
        s.NPTS = 1;
        c.draw(s);
        ASSERT_NEAR(s.TZZ(1, 9), c.z9, 1e-15);
        ASSERT_NEAR(s.TZZ(1, 10), c.z10, 1e-15);
        ASSERT_NEAR(s.TZT(1, 9), c.t9, 1e-9 * c.t9);
        ASSERT_NEAR(s.TZT(1, 10), c.t10, 1e-9 * c.t10);
        for (double r : {0.1, 0.25, 0.5, 0.9}) {
            const double z = c.z9 + r * (c.z10 - c.z9);
            const double want = c.t9 + r * (c.t10 - c.t9);
            EXPECT_NEAR(curveTransfer(s, 1, z), want, 1e-9 * c.t10) << "r " << r;
            // A movement anywhere along the pile under a set of one curve reads the same.
            EXPECT_NEAR(sideTransfer(s, s.TZX(1) + 5.0, z), want, 1e-9 * c.t10) << "r " << r;
        }
        EXPECT_DOUBLE_EQ(curveTransfer(s, 1, c.z10), s.TZT(1, 10));
        EXPECT_DOUBLE_EQ(curveTransfer(s, 1, 1.5 * c.z10), s.TZT(1, 10));
        EXPECT_DOUBLE_EQ(curveTransfer(s, 1, 40.0 * c.z10), s.TZT(1, 10));
        EXPECT_DOUBLE_EQ(curveTransfer(s, 1, c.z9), s.TZT(1, 9));
    }
    // The driven sand hyperbola halfway along its last segment: 4.401625 psi, where the tenth point's
    // 4.770992 would be 8.4 % too much.
    EXPECT_NEAR(0.5 * (0.5 / (0.1 + b) + 2.5 / (0.5 + b)), 4.4016250, 1e-6);
}

// ---- QwCurves --------------------------------------------------------------------------------------

using QwCurves = Axial;

// Soft clay tip under a driven pile: Q = 9 c A; q = a sqrt(w) reaches Q at wf = 8 E50 D, so that
// q_j = Q sqrt((j - 1) / 8); constant to 10 wf. Uplift takes the area 0.0001.
TEST_F(QwCurves, DrivenPileInClayFollowsTheSquareRootToCapacity) {
    PileModel m;
    m.layers = {uniform(1, 50.0, clayRow())};
    build(dir, m);
    TzSet s{};
    QwTip tip{};
    int status = 0;
    buildSideCurves(1, 1, true, s, status);
    buildTipCurve(1, 1, false, TipRule::Echo, s, tip, status);
    ASSERT_EQ(status, 0);
    const double Q = 9.0 * C_PSI * 36.0, wf = 8.0 * 0.002 * 24.0;
    EXPECT_NEAR(tip.QTIP, Q, 1e-9);
    for (int j = 2; j <= 8; ++j) {
        EXPECT_NEAR(tip.QWW(j), (j - 1) * wf / 8.0, 1e-15) << j;
        EXPECT_NEAR(tip.QWQ(j), Q * std::sqrt((j - 1) / 8.0), 1e-9) << j;
    }
    EXPECT_NEAR(tip.QWW(9), wf, 1e-15);
    EXPECT_NEAR(tip.QWW(10), 10.0 * wf, 1e-14);
    EXPECT_NEAR(tip.QWQ(10), Q, 1e-9);
    // Linear between the points, Q beyond them; nothing at no movement.
    EXPECT_NEAR(tipLoad(tip, wf / 16.0), 0.5 * Q * std::sqrt(1.0 / 8.0), 1e-9);
    EXPECT_NEAR(tipLoad(tip, 20.0 * wf), Q, 1e-9);
    EXPECT_EQ(tipLoad(tip, 0.0), 0.0);

    buildTipCurve(1, 1, true, TipRule::Echo, s, tip, status);
    EXPECT_NEAR(tip.QTIP, 9.0 * C_PSI * sp(0.0001f), 1e-15);
}

// Sand tip under a driven pile, 30 degrees, 120 pcf, 40 ft: Q = zt A gamma Nq with Nq = 20 (just
// above, from 57.296 x phi); q = Q (w / 1.2)^0.5, rising past Q and extrapolated past the last point.
TEST_F(QwCurves, DrivenPileInSandRisesPastCapacity) {
    PileModel m;
    SoilRow sand;
    sand.gamma = 120.0;
    sand.phi = 30.0;
    sand.k = 90.0;
    m.layers = {uniform(4, 50.0, sand)};
    build(dir, m);
    TzSet s{};
    QwTip tip{};
    int status = 0;
    buildSideCurves(1, 1, true, s, status);
    buildTipCurve(1, 1, false, TipRule::Echo, s, tip, status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(tip.QTIP, 24000.557748919477, 1e-8);
    EXPECT_DOUBLE_EQ(tip.QWW(10), 5.0);
    EXPECT_NEAR(tip.QWQ(10), 48990.932990867084, 1e-8);
    EXPECT_NEAR(tip.QWQ(9), 19596.373342351195, 1e-8);
    EXPECT_NEAR(tipLoad(tip, 6.0), 55989.6376889497, 1e-8);
}

// Tip capacity and curve point by criterion, pile type and rule (English unless SI; 40 ft pile in one
// layer, 36 in^2 or 0.2827 m^2 tip).
TEST_F(QwCurves, TipCapacityByCriterionPileTypeAndRule) {
    const double A = 36.0;
    struct Case {
        int units, code, ptype;
        double phi, c, qmax;
        TipRule rule;
        double Q;
        int p;               // a point of the curve
        double w, q;         // expected, w as a multiple of D when wD
        bool wD;
        const char* what;
    };
    const double asi = 282743.0e-6;
    const Case cases[] = {
        {1, 4, 2, 28, 0, 0, TipRule::Echo, sp(0.1f), 8, sp(0.05f), sp(1.015f) * sp(0.1f), true,
         "drilled sand below 30 degrees: nominal 0.1"},
        {1, 4, 2, 32, 0, 0, TipRule::Echo, sp(222.2f) * A, 8, sp(0.05f), sp(1.015f) * sp(222.2f) * A, true,
         "drilled sand 30 to 36 degrees"},
        {1, 4, 2, 38, 0, 0, TipRule::Echo, sp(555.56f) * A, 2, sp(0.005f), sp(0.175f) * sp(555.56f) * A, true,
         "drilled sand above 36 degrees"},
        {2, 4, 2, 32, 0, 0, TipRule::Echo, 1530.0 * asi, 10, sp(0.1f), sp(1.46f) * 1530.0 * asi, true,
         "SI drilled sand"},
        {1, 1, 2, 0, 1000, 0, TipRule::Echo, 9.0 * C_PSI * A, 2, sp(0.005f), sp(0.395f) * 9.0 * C_PSI * A, true,
         "drilled clay: 9 c A"},
        {1, 5, 1, 0, 0, 14400, TipRule::Echo, 100.0 * A, 5, sp(0.073f), 0.9 * 100.0 * A, true,
         "driven, user-curve layer: the user value"},
        {1, 7, 1, 30, 1000, 0, TipRule::Echo, 26250.557748919477, 1, 0.0, 0.0, false,
         "silt, echo rule: bearing plus 9 c A"},
        {1, 7, 1, 30, 1000, 0, TipRule::Group, 24000.557748919477, 1, 0.0, 0.0, false,
         "silt, group rule: bearing only"},
        {1, 12, 1, 30, 0, 0, TipRule::Echo, 0.0, 1, 0.0, 0.0, false, "elastic subgrade, echo rule: user only"},
        {1, 12, 1, 30, 0, 0, TipRule::Group, 24000.557748919477, 1, 0.0, 0.0, false,
         "elastic subgrade, group rule: bearing"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        PileModel m;
        m.units = k.units;
        m.ptype = k.ptype;
        if (k.units == 2) {
            m.length = 12.0;
            m.diameter = 600.0;
            m.area = 282743.0;
        }
        SoilRow r;
        r.gamma = k.units == 1 ? 120.0 : 18.0;
        r.phi = k.phi;
        r.c = k.c;
        r.k = 100.0;
        r.e50 = 0.01;
        r.qmax = k.qmax;
        m.layers = {uniform(k.code, k.units == 1 ? 50.0 : 15.0, r)};
        build(dir, m);
        TzSet s{};
        QwTip tip{};
        int status = 0;
        buildSideCurves(1, 1, true, s, status);
        buildTipCurve(1, 1, false, k.rule, s, tip, status);
        ASSERT_EQ(status, 0);
        const double D = k.units == 1 ? 24.0 : 0.6;
        EXPECT_NEAR(tip.QTIP, k.Q, 1e-9 * (1.0 + k.Q));
        EXPECT_NEAR(tip.QWW(k.p), k.wD ? k.w * D : k.w, 1e-15);
        EXPECT_NEAR(tip.QWQ(k.p), k.q, 1e-9 * (1.0 + k.q));
        closeModel();
    }
}

// A driven pile in a cohesive tip layer needs E50 (status 32) and a capacity (status 33) there.
TEST_F(QwCurves, DrivenClayTipWithoutStrainOrCapacityStops) {
    struct Case {
        int code;
        double c, e50;
        int status;
        const char* warning;
    };
    const Case cases[] = {
        // A code outside 1 to 14 has no E50 estimate.
        {0, 1000.0, 0.0, 32, "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"},
        {1, 0.0, 0.01, 33, "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"},
    };
    for (const Case& k : cases) {
        PileModel m;
        SoilRow r = clayRow();
        r.c = k.c;
        r.e50 = k.e50;
        m.layers = {uniform(k.code, 50.0, r)};
        build(dir, m);
        Capture results(dir, 16, "case.out");
        TzSet s{};
        QwTip tip{};
        int status = 0;
        buildSideCurves(1, 1, true, s, status);
        ASSERT_EQ(status, 0);
        buildTipCurve(1, 1, false, TipRule::Echo, s, tip, status);
        EXPECT_EQ(status, k.status);
        EXPECT_EQ(results.since(), std::string("\n") + std::string(29, ' ') + "**** WARNING ****\n     " + k.warning +
                                       "\n");
        closeModel();
    }
}

// Unit capacities at a depth. Clay 1000 psf at 25 ft: alpha c and 0.55 c, 9 c. Sand 32 degrees at
// 75 ft: 0.8 gamma z tan(phi - 5 deg) and gamma z beta, gamma z Nq and 222.2 psi. User values: flags 0.
TEST_F(QwCurves, UnitCapacitiesAtADepth) {
    PileModel m;
    SoilRow sand;
    sand.gamma = 120.0;
    sand.phi = 32.0;
    sand.k = 90.0;
    SoilRow given = clayRow(1440.0);
    given.qmax = 14400.0;
    m.layers = {uniform(1, 50.0, clayRow()), {4, 50.0, 100.0, sand, sand}, {1, 100.0, 150.0, given, given}};
    build(dir, m);
    int side = -1, tipf = -1, status = 0;
    double fs1, fs2, qb1, qb2;
    const double x = 300.0;
    AXLUNITQ(1, x, side, fs1, fs2, tipf, qb1, qb2, status);
    ASSERT_EQ(status, 0);
    const double psi = C_PSI / (x * G_PCI);
    EXPECT_EQ(side, 1);
    EXPECT_NEAR(fs1, 0.5 / std::sqrt(psi) * C_PSI, 1e-12);
    EXPECT_NEAR(fs2, sp(0.55f) * C_PSI, 1e-12);
    EXPECT_EQ(tipf, 1);
    EXPECT_NEAR(qb1, 9.0 * C_PSI, 1e-12);
    EXPECT_NEAR(qb2, 9.0 * C_PSI, 1e-12);

    // In the sand below the clay, 25 ft into it (75 ft deep, same unit weight all the way).
    const double xs = 900.0, z = 900.0, phi = 32.0 * std::numbers::pi / 180.0;
    AXLUNITQ(4, xs, side, fs1, fs2, tipf, qb1, qb2, status);
    ASSERT_EQ(status, 0);
    const double beta = std::max(0.25, std::min(sp(1.2f), 1.5 - sp(0.135f) * std::sqrt(z / 12.0)));
    EXPECT_NEAR(fs1, sp(0.8f) * G_PCI * z * std::tan(phi - sp(0.087f)), 1e-10);
    EXPECT_NEAR(fs2, G_PCI * z * beta, 1e-10);
    EXPECT_NEAR(qb1, G_PCI * z * (20.0 + 20.0 * (sp(57.296f) * phi - 30.0) / 5.0), 1e-9);  // Nq near 28
    EXPECT_NEAR(qb2, sp(222.2f), 1e-12);

    AXLUNITQ(1, 1500.0, side, fs1, fs2, tipf, qb1, qb2, status);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(tipf, 0);
    EXPECT_EQ(fs1, 0.0);
    EXPECT_EQ(qb2, 0.0);
}

// ---- AxialCurve ------------------------------------------------------------------------------------

using AxialCurve = Axial;

// Soft clay with a user side friction of 720 psf (5 psi) all along, 1000 psf for the tip, E50 0.002;
// pile 40 ft, 24 in, 36 in^2, E 29e6 psi, two increments of 240 in.
PileModel clayPile() {
    PileModel m;
    m.layers = {uniform(1, 50.0, clayRow(720.0))};
    return m;
}

// From a tip movement of 0.5 inch up every segment sits on the plateau of the driven clay curve
// (0.93 tmax), whatever its movement, and the tip load is Q (the tip curve reaches Q at 0.384 inch):
// head load Q + 2F with F = 0.93 x 5 x pi D x 240, head movement wt + h/AE (2 Q + F x 2^2 / 2).
TEST_F(AxialCurve, PlateauPointsInClosedFormBothBranches) {
    build(dir, clayPile());
    const double pi = sp(3.1416f), h = 240.0, AE = 36.0 * 29.0e6;
    const double F = sp(0.93f) * 5.0 * pi * 24.0 * h;
    const double wt[] = {0.5, 1.0, 2.0};  // points 7, 8, 9 (the ninth: the larger of 2 and 0.05 D)
    for (int branch : {2, 1}) {
        SCOPED_TRACE(branch == 1 ? "uplift" : "compression");
        const double Q = 9.0 * C_PSI * (branch == 1 ? sp(0.0001f) : 36.0);
        BranchPoints loads{}, moves{};
        int n = 0, status = 0;
        AXLLSECHO(1, branch, 1, 1, status, n, loads, moves);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(n, 9);
        for (int i = 0; i < 3; ++i) {
            const int k = 7 + i;
            EXPECT_NEAR(loads(k), Q + 2.0 * F, 1e-8) << k;
            EXPECT_NEAR(moves(k), wt[i] + h / AE * (2.0 * Q + F * 2.0), 1e-12) << k;
            // Rows 11 to 19 compression, 9 down to 1 uplift negated.
            const double sign = branch == 1 ? -1.0 : 1.0;
            const int row = 10 + (branch == 1 ? -k : k);
            EXPECT_EQ(AXLSTAB.LSPHEAD(1, row), sign * loads(k));
            EXPECT_EQ(AXLSTAB.LSWHEAD(1, row), sign * moves(k));
            EXPECT_DOUBLE_EQ(AXLSTAB.LSWTIP(1, row), sign * wt[i]);
            EXPECT_NEAR(AXLSTAB.LSPTIP(1, row), sign * Q, 1e-9);
        }
    }
    EXPECT_EQ(AXLSTAB.LSROWS, 19);
    EXPECT_EQ(AXLSTAB.LSPHEAD(1, 10), 0.0);
    EXPECT_EQ(AXLSTAB.LSWHEAD(1, 10), 0.0);
}

// First point, tip movement 0.0001 inch, on the first branch of both curves: tip P1 = (Q / sqrt 8)
// (wt / (wf / 8)); each segment's transfer 18 tmax w at its lower node's movement (one evaluation
// settles: the midpoint moves far less than 0.0001), then P and W up: P2 = P1 + F1, W2 = wt +
// (P1 + F1 / 2) h / AE, and the same for the upper segment.
TEST_F(AxialCurve, FirstPointOnTheRisingBranches) {
    build(dir, clayPile());
    BranchPoints loads{}, moves{};
    int n = 0, status = 0;
    AXLLSECHO(1, 2, 1, 1, status, n, loads, moves);
    ASSERT_EQ(status, 0);
    const double pi = sp(3.1416f), h = 240.0, AE = 36.0 * 29.0e6, pD = pi * 24.0;
    const double Q = 9.0 * C_PSI * 36.0, w2 = 8.0 * 0.002 * 24.0 / 8.0, wt = sp(0.0001f);
    const double P1 = Q / std::sqrt(8.0) * wt / w2;
    const double slope = sp(0.18f) * 5.0 / sp(0.01f);
    const double F1 = slope * wt * pD * h, P2 = P1 + F1, W2 = wt + (P1 + 0.5 * F1) * h / AE;
    const double F2 = slope * W2 * pD * h, P3 = P2 + F2, W3 = W2 + (P2 + 0.5 * F2) * h / AE;
    EXPECT_NEAR(P1, 1.6572814765395183, 1e-12);
    EXPECT_NEAR(loads(1), P3, 1e-9);
    EXPECT_NEAR(moves(1), W3, 1e-15);
    EXPECT_NEAR(AXLSTAB.LSPTIP(1, 11), P1, 1e-12);
}

// A rigid driven pile in sand (40 ft, 24 in, E 1e15 psi: no shortening to speak of) with a user side
// friction of 720 psf (5 psi) and 25 degrees (k = 6000 psf/in): every segment moves with the tip, so a
// head load is the tip load plus pi D L t(wt), t of the sand hyperbola. The last two tip movements, 1.0
// and 2.0 inch, lie in its last segment (0.5 to 2.5 inch): t = t9 + (t10 - t9) (wt - 0.5) / 2, i.e.
// 4.216942 and 4.586308 psi, not t10 = 4.770992 psi. The seventh, 0.5 inch, sits on the ninth point.
TEST_F(AxialCurve, RigidPileInSandPastTheNinthPointOfItsSideCurves) {
    PileModel m;
    m.modulus = 1.0e15;
    SoilRow sand;
    sand.gamma = 120.0;
    sand.phi = 25.0;
    sand.k = 90.0;
    sand.fmax = 720.0;
    m.layers = {uniform(4, 50.0, sand)};
    build(dir, m);
    const double b = 144.0 / 6000.0, t9 = 0.5 / (0.5 / 5.0 + b), t10 = 2.5 / (2.5 / 5.0 + b);
    const double side = sp(3.1416f) * 24.0 * 480.0;  // pi D L, square inches of shaft
    const double wt[] = {0.5, 1.0, 2.0};
    const double t[] = {t9, t9 + (t10 - t9) * 0.25, t9 + (t10 - t9) * 0.75};
    EXPECT_NEAR(t[1], 4.2169417, 1e-6);
    EXPECT_NEAR(t[2], 4.5863084, 1e-6);
    for (int branch : {2, 1}) {
        SCOPED_TRACE(branch == 1 ? "uplift" : "compression");
        BranchPoints loads{}, moves{};
        int n = 0, status = 0;
        AXLLSECHO(1, branch, 1, 1, status, n, loads, moves);
        ASSERT_EQ(status, 0);
        // The tip curve of the branch (uplift: a tip area of 0.0001, so practically nothing).
        TzSet s{};
        QwTip tip{};
        buildSideCurves(1, 1, true, s, status);
        buildTipCurve(1, 1, branch == 1, TipRule::Echo, s, tip, status);
        ASSERT_EQ(status, 0);
        for (int i = 0; i < 3; ++i) {
            const int k = 7 + i;
            const double want = tipLoad(tip, wt[i]) + side * t[i];
            EXPECT_NEAR(loads(k), want, 1e-9 * want) << k;
            // The head moves with the tip, less than P L / AE = 2e-9 inch apart.
            EXPECT_NEAR(moves(k), wt[i], 1e-8) << k;
        }
        if (branch == 1) {
            // Side friction alone: 4.216942 x pi D L = 152 616 lb at 1 inch (t10 gave 172 668 lb).
            EXPECT_NEAR(loads(8), 152616.3, 0.1);
            EXPECT_NEAR(loads(9), 165984.2, 0.1);
        }
    }
}

// A driven pile in sand whose side curve is practically a straight line t = z / b (25 degrees, b = 144 /
// 6000 in/psi, a user friction so large that the hyperbola never bends), 10 ft in one increment, D 1 in:
// the midpoint movement of the only segment is w' = wt + c w with c = pi D h^2 / (8 AE b). AE is chosen
// for c = 1 - 4.2e-4, so w creeps towards wt / 4.2e-4 by 4.2e-4 of the way per repetition. At the
// second tip movement (0.001 inch) the change after 5000 repetitions is still 0.001 x e^-2.1 = 1.2e-4,
// above the tolerance of 1e-4: the movement does not settle. Twisted, GJ = R^2 AE gives the same creep
// of the wall movement, R theta, whose tolerance is then R x 1e-4 = 5e-5.
PileModel creepingPile() {
    const double h = 120.0, b = 144.0 / 6000.0, eps = 4.2e-4, R = 0.5;
    const double AE = sp(3.1416f) * 1.0 * h * h / (8.0 * b * (1.0 - eps));
    PileModel m;
    m.ninc = 1;
    m.length = 10.0;
    m.diameter = 1.0;
    m.area = 1.0;
    m.modulus = AE;
    m.gj = R * R * AE;
    SoilRow r;
    r.gamma = 120.0;
    r.phi = 25.0;
    r.k = 90.0;
    r.fmax = 1.44e12;  // 1e10 psi
    m.layers = {uniform(4, 20.0, r)};
    return m;
}

TEST_F(AxialCurve, MovementThatNeverSettlesStopsTheRun) {
    build(dir, creepingPile());
    Capture runtime(dir, 10, "case.run");
    BranchPoints loads{}, moves{};
    int n = -1, status = 0;
    AXLLSECHO(1, 1, 1, 1, status, n, loads, moves);
    EXPECT_EQ(status, ST_NOCONVERGE);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(AXLSTAB.LSROWS, 0);
    const std::string text = runtime.since();
    EXPECT_NE(text.find("**** KALDO ERROR 116 ****"), std::string::npos) << text;
    EXPECT_NE(text.find("SEGMENT 1 (FROM THE TIP) DID NOT SETTLE"), std::string::npos) << text;
    EXPECT_EQ(completionLines(ST_NOCONVERGE),
              (std::vector<std::string>{"    * ERROR IN ANALYSIS *",
                                        "    116, NO CONVERGENCE OF A CURVE COMPUTATION"}));
}

// The lines of one station of the curve data file: the station, the counts, then the 19 points when
// the segment below is in the soil.
std::string point(int n, const char* move, const char* force) {
    return std::string(io::fmtI(10, n)) + " " + move + " " + force;
}

// The clay pile in two curve-file segments of 240 in: a station's spring is half a segment's side
// transfer, 0.5 x 3.1415927 x 24 x 240 x t, and twice that where two segments meet; the tip station adds
// the tip load on the compression side (at 0.01 in: Q / sqrt 8 x 0.01 / 0.048 = 165.73 lb).
TEST_F(AxialCurve, CurveFileSpringsAtTheStations) {
    build(dir, clayPile());
    OPTCRV.NCRVINC = 2;
    Capture file(dir, 28, WorkDir::recordName("case", REC_CURVEDATA));
    int status = 0;
    AXLLSPLOT(1, status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> got = lines(file.since());
    ASSERT_EQ(got.size(), 1u + 3u * 21u);
    EXPECT_EQ(got[0], "         1         3         2");
    EXPECT_EQ(got[1], "         1    0.0000");
    EXPECT_EQ(got[2], "         1        19");
    EXPECT_EQ(got[3], point(1, "-1.00000000E+01", "-4.20722103E+04"));  // tenth point, mirrored
    EXPECT_EQ(got[3 + 8], point(9, "-9.99999978E-03", "-8.14300871E+03"));
    EXPECT_EQ(got[3 + 9], point(10, " 0.00000000E+00", " 0.00000000E+00"));
    EXPECT_EQ(got[3 + 10], point(11, " 9.99999978E-03", " 8.14300871E+03"));
    EXPECT_EQ(got[22], "         2  240.0000");
    EXPECT_EQ(got[24 + 10], point(11, " 9.99999978E-03", " 1.62860174E+04"));
    EXPECT_EQ(got[43], "         3  480.0000");
    EXPECT_EQ(got[45 + 8], point(9, "-9.99999978E-03", "-8.14300871E+03"));
    EXPECT_EQ(got[45 + 10], point(11, " 9.99999978E-03", " 8.30873686E+03"));
    EXPECT_EQ(RUNCONST.PIWORD, sp(3.1415927f));
}

// ---- TorqueCurve -----------------------------------------------------------------------------------

using TorqueCurve = Axial;

// The clay pile twisted: from a tip rotation of 0.5 / R up every segment is on the plateau, so each
// takes dT = 0.93 x 5 x pi D R h; head torque 2 dT, head rotation theta_tip + h / GJ x dT x 2^2 / 2.
// Both branches give the same points.
TEST_F(TorqueCurve, PlateauPointsInClosedFormSameInBothBranches) {
    build(dir, clayPile());
    const double pi = sp(3.1416f), h = 240.0, GJ = 5.0e10, R = 12.0;
    const double dT = sp(0.93f) * 5.0 * pi * 24.0 * R * h;
    const double wt[] = {0.5, 1.0, 2.0};
    for (int branch : {1, 2}) {
        BranchPoints torques{}, rotations{};
        int n = 0, status = 0;
        TQLLSECHO(1, branch, 1, 1, status, n, torques, rotations);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(n, 9);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(torques(7 + i), 2.0 * dT, 1e-7);
            EXPECT_NEAR(rotations(7 + i), wt[i] / R + h / GJ * dT * 2.0, 1e-14);
        }
        EXPECT_NEAR(torques(9), 2019470.6927166502, 1e-6);
    }
}

TEST_F(TorqueCurve, SectionWithoutTorsionalRigidityStopsTheRun) {
    PileModel m = clayPile();
    m.gj = 0.0;
    build(dir, m);
    Capture results(dir, 16, "case.out");
    Capture runtime(dir, 10, "case.run");
    BranchPoints torques{}, rotations{};
    int n = -1, status = 0;
    TQLLSECHO(1, 2, 1, 1, status, n, torques, rotations);
    EXPECT_EQ(status, ST_ZEROGJ);
    EXPECT_EQ(n, -1);
    const std::string record = "\n\n       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO\n\n\n";
    EXPECT_EQ(results.since(), record);
    const std::string text = runtime.since();
    EXPECT_EQ(text.substr(0, record.size()), record);
    EXPECT_NE(text.find("**** KALDO ERROR 117 ****"), std::string::npos) << text;
}

TEST_F(TorqueCurve, RotationThatNeverSettlesStopsTheRun) {
    build(dir, creepingPile());
    BranchPoints torques{}, rotations{};
    int n = -1, status = 0;
    TQLLSECHO(1, 1, 1, 1, status, n, torques, rotations);
    EXPECT_EQ(status, ST_NOCONVERGE);
    EXPECT_EQ(n, -1);
}

TEST_F(TorqueCurve, DrivenClayTipWithoutCohesionStops) {
    PileModel m;
    SoilRow r = clayRow(720.0);
    r.c = 0.0;
    m.layers = {uniform(1, 50.0, r)};
    build(dir, m);
    Capture results(dir, 16, "case.out");
    BranchPoints torques{}, rotations{};
    int n = -1, status = 0;
    TQLLSECHO(1, 2, 1, 1, status, n, torques, rotations);
    EXPECT_EQ(status, 35);
    EXPECT_EQ(results.since(), "\n" + std::string(29, ' ') +
                                   "**** WARNING ****\n     THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR "
                                   "CURVE\n");
}

// The same stations twisted: rotations z / R (R = 12 in) and torques 0.5 x 3.1415927 x 24 x 240 x 12 x t;
// the tip station has no tip torque.
TEST_F(TorqueCurve, CurveFileSpringsAtTheStations) {
    build(dir, clayPile());
    OPTCRV.NCRVINC = 2;
    Capture file(dir, 28, WorkDir::recordName("case", REC_CURVEDATA));
    int status = 0;
    TQLLSPLOT(1, status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> got = lines(file.since());
    ASSERT_EQ(got.size(), 1u + 3u * 21u);
    EXPECT_EQ(got[0], "         1         3         3");
    EXPECT_EQ(got[3], point(1, "-8.33333333E-01", "-5.04866524E+05"));
    EXPECT_EQ(got[45 + 18], point(19, " 8.33333333E-01", " 5.04866524E+05"));
}

}  // namespace
}  // namespace kaldo::test
