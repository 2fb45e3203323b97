// Default soil parameters: the E50 and k estimates by strength band, friction angle and water table,
// and the choices by criterion of the layer defaults.
#include <gtest/gtest.h>

#include <string>

#include "soil/lateral/lateral.h"

namespace kaldo::test {
namespace {

constexpr double PI = 3.141592653589793;
double rad(double deg) { return deg * PI / 180.0; }
// The single-precision constants of the tables, widened.
double s(float v) { return static_cast<double>(v); }

constexpr int EN = 1, SI = 2, GENERIC = 3;
constexpr double CS_EN = 3.472222328186035, CS_SI = 23.94013023376465;  // 500 psf
constexpr double CT_EN = 6.94444465637207, CT_SI = 47.8802604675293;    // 1000 psf

TEST(SoilDefaults, SoftClayStrainBands) {
    struct Case {
        int units;
        double c, e50;
    };
    const Case cases[] = {
        {EN, 0.0, s(0.020f)},          {EN, 3.47, s(0.020f)},        {EN, CS_EN, s(0.010f)},
        {EN, 2 * CS_EN - 1e-9, s(0.010f)}, {EN, 2 * CS_EN, s(0.005f)}, {EN, 4 * CS_EN, s(0.005f)},
        {EN, 8 * CS_EN, s(0.004f)},    {SI, 23.9, s(0.020f)},        {SI, CS_SI, s(0.010f)},
        {SI, 200.0, s(0.004f)},        {GENERIC, 0.0, s(0.001f)},    {GENERIC, 100.0, s(0.001f)},
    };
    for (const Case& c : cases) {
        double e50 = -1;
        PYE50SOFT(c.c, e50, c.units);
        EXPECT_EQ(e50, c.e50) << "units " << c.units << ", c = " << c.c;
    }
}

TEST(SoilDefaults, StiffClayStrainBands) {
    struct Case {
        int units;
        double c, e50;
    };
    const Case cases[] = {
        {EN, 6.9, s(0.011f)},      {EN, CT_EN, s(0.007f)}, {EN, 2 * CT_EN, s(0.005f)},
        {EN, 4 * CT_EN, s(0.004f)}, {SI, CT_SI, s(0.007f)}, {SI, 40.0, s(0.011f)},
        {GENERIC, 1.0, -1.0},      // no estimate: left as it was
    };
    for (const Case& c : cases) {
        double e50 = -1;
        PYE50STIFF(c.c, e50, c.units);
        EXPECT_EQ(e50, c.e50) << "units " << c.units << ", c = " << c.c;
    }
}

TEST(SoilDefaults, ClayModulusBands) {
    struct Case {
        int units;
        double c;
        int kstatic;
        double k;
    };
    const Case cases[] = {
        {EN, 0.0, 1, 250},          {EN, 0.0, 0, 100},
        {EN, 20.0, 1, 1000},        {EN, 20.0, 0, 400},  // between 2 and 4 times 1000 psf
        {EN, CT_EN, 1, 500},        {EN, 4 * CT_EN, 1, 2000}, {EN, 4 * CT_EN, 0, 800},
        {SI, 100.0, 1, 271447.125}, {SI, 100.0, 0, 108578.84375},
        {SI, 10.0, 1, 67861.78125}, {SI, 500.0, 0, 217157.6875},
        {EN, 20.0, 2, -7},          // neither loading: unchanged
        {GENERIC, 20.0, 1, -7},     // no estimate in the generic system
    };
    for (const Case& c : cases) {
        double k = -7;
        PYKCLAY(c.c, k, c.units, c.kstatic);
        EXPECT_EQ(k, c.k) << "units " << c.units << ", c = " << c.c << ", kstatic " << c.kstatic;
    }
}

TEST(SoilDefaults, SandModulus) {
    const double wet = 0.04, dry = 0.05, limit = 0.04500000178813934;  // lb/in^3
    const double wetSi = 10.0, drySi = 18.0;                          // kN/m^3
    auto k = [](double phiDeg, double gamma, int units) {
        double v = -7;
        PYKPHI(rad(phiDeg), gamma, v, units);
        return v;
    };
    // 35 degrees below the water table: ((0.0166 phi - 1.55262) phi + 58.42955) phi - 769.18353;
    // above: (0.4168 phi - 8.1254) phi - 83.664.
    EXPECT_NEAR(k(35, wet, EN), 85.6161468680948, 1e-9);
    EXPECT_NEAR(k(35, dry, EN), 142.5270034968853, 1e-9);
    EXPECT_NEAR(k(35, drySi, SI), 142.5270034968853 * 271.4471435546875, 1e-7);
    EXPECT_EQ(k(35, limit, EN), k(35, wet, EN));  // a unit weight at the limit counts as submerged
    EXPECT_EQ(k(0, wet, EN), 0.0);
    EXPECT_EQ(k(0, drySi, SI), 0.0);
    // Continuous at the breakpoint (about 10.2) and at 45 degrees.
    const double br = 27.64229965209961;
    for (double gamma : {wet, dry}) {
        EXPECT_NEAR(k(br - 1e-9, gamma, EN), 10.2067, 1e-3);
        EXPECT_NEAR(k(br + 1e-9, gamma, EN), k(br - 1e-9, gamma, EN), 1e-4);
    }
    EXPECT_NEAR(k(45, wet, EN), 228.76556396484375, 1e-4);
    EXPECT_NEAR(k(45, dry, EN), 394.7129821777344, 1e-4);
    EXPECT_EQ(k(50, wet, EN), 228.76556396484375);
    EXPECT_EQ(k(50, dry, EN), 394.7129821777344);
    EXPECT_EQ(k(50, wetSi, SI), 62097.7578125);
    EXPECT_EQ(k(50, drySi, SI), 107143.7109375);
    EXPECT_EQ(k(35, wet, GENERIC), -7.0);
}

TEST(SoilDefaults, SiltModulus) {
    struct Case {
        int units;
        double gamma, c, phiDeg;
        int kstatic;
        double k;
    };
    const Case cases[] = {
        {EN, 0.05, 0.0, 30, 1, 250 + 25},    // 30 degrees exactly: the lowest increment
        {EN, 0.04, 0.0, 30, 0, 100 + 20},
        {EN, 0.05, 0.0, 36, 1, 250 + 90},    // 36 degrees: the middle increment
        {EN, 0.04, 0.0, 30.5, 1, 250 + 60},
        {EN, 0.05, 10.0, 40, 0, 200 + 225},  // second strength band, cyclic
        {EN, 0.04, 10.0, 40, 1, 500 + 125},
        {SI, 18.0, 0.0, 40, 1, 67861.78125 + 61075.6015625},
        {SI, 10.0, 0.0, 33, 0, 27144.7109375 + 16286.830078125},
        {GENERIC, 0.05, 0.0, 40, 1, -7},
    };
    for (const Case& c : cases) {
        double k = -7;
        PYKSILT(c.gamma, c.c, rad(c.phiDeg), k, c.units, c.kstatic);
        EXPECT_EQ(k, c.k) << "units " << c.units << ", phi " << c.phiDeg << ", kstatic " << c.kstatic;
    }
}

TEST(SoilDefaults, LayerModulusByCriterion) {
    struct Case {
        int code, units;
        double c, phiDeg, gamma, kin;
        double k1, k2;
        int estimated, twoValues;
    };
    const Case cases[] = {
        {2, EN, 10, 0, 0.05, 90, 90, 90, 0, 0},     // given: used as it is
        {2, EN, 10, 0, 0.05, 0, 500, 200, 1, 1},    // 1440 psf: second band
        {10, EN, 10, 0, 0.05, -1, 500, 200, 1, 1},
        {14, EN, 20, 0, 0.05, 0, 1000, 400, 1, 1},
        {4, EN, 0, 35, 0.04, 0, 85.6161468680948, 0, 1, 0},
        {8, EN, 0, 35, 0.05, 0, 142.5270034968853, 0, 1, 0},
        {7, EN, 0, 40, 0.05, 0, 250 + 225, 100 + 225, 1, 1},
        {1, EN, 10, 0, 0.05, -5, -5, -5, 1, 0},     // no k estimate for soft clay
        {2, GENERIC, 10, 0, 0.05, 0, 0, 0, 1, 1},   // no clay table in the generic system
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code) + ", units " + std::to_string(c.units));
        double k1 = -9, k2 = -9;
        int est = -1, two = -1;
        DEFKLAYER(c.c, rad(c.phiDeg), c.gamma, c.kin, k1, k2, c.units, c.code, est, two);
        EXPECT_NEAR(k1, c.k1, 1e-9);
        EXPECT_NEAR(k2, c.k2, 1e-9);
        EXPECT_EQ(est, c.estimated);
        EXPECT_EQ(two, c.twoValues);
    }
}

TEST(SoilDefaults, LayerStrainByCriterion) {
    struct Case {
        int code, units;
        double c, e50in, e50;
        int estimated;
    };
    const Case cases[] = {
        {1, EN, 3.0, 0.03, 0.03, 0},  {1, EN, 3.0, 0.0, s(0.020f), 1}, {7, EN, 3.0, 0.0, s(0.020f), 1},
        {13, EN, 3.0, 0.0, s(0.020f), 1}, {14, SI, CS_SI, -1.0, s(0.010f), 1}, {2, EN, 7.0, 0.0, s(0.007f), 1},
        {3, EN, 7.0, 0.0, s(0.007f), 1}, {10, SI, 40.0, 0.0, s(0.011f), 1},  {4, EN, 7.0, 0.0, 0.0, 1},
        {1, GENERIC, 50.0, 0.0, s(0.001f), 1}, {2, GENERIC, 7.0, -1.0, -1.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code) + ", units " + std::to_string(c.units));
        double e50 = -9;
        int est = -1;
        DEFE50LAYER(c.c, c.e50in, e50, c.units, c.code, est);
        EXPECT_EQ(e50, c.e50);
        EXPECT_EQ(est, c.estimated);
    }
}

TEST(SoilDefaults, AxialCurveStrainByCriterion) {
    struct Case {
        int code, units;
        double c, e50;
    };
    const Case cases[] = {
        {13, EN, 3.0, s(0.020f)}, {1, EN, CS_EN, s(0.010f)}, {2, EN, 7.0, s(0.007f)}, {10, SI, 200.0, s(0.004f)},
        {5, EN, 3.0, -1.0},       {3, GENERIC, 7.0, -1.0},   {14, GENERIC, 7.0, s(0.001f)},
    };
    for (const Case& c : cases) {
        double e50 = -1;
        DEFE50AX(c.c, e50, c.code, c.units);
        EXPECT_EQ(e50, c.e50) << "code " << c.code << ", units " << c.units;
    }
}

}  // namespace
}  // namespace kaldo::test
