// Whole input files read through the engine: every block holds the values of the file in internal
// units (English lengths in inches, unit weights per cubic inch, stresses per square inch; SI section
// dimensions in metres).
#include <gtest/gtest.h>

#include <cmath>

#include "echo/echo.h"
#include "model/blocks.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

// Reads, converts and echoes a fixture (the echo completes the cap width); the blocks keep the result.
int runFixture(WorkDir& dir, const std::string& name) {
    int status = readModel(dir, fixture(name));
    if (status == 0) ECHOIN(status);
    closeModel();
    return status;
}

std::string padded(std::string s) {
    s.resize(80, ' ');
    return s;
}

TEST(ReadInFull, ThreeDimensionalEnglishInputWithEveryOptionalSection) {
    WorkDir dir;
    ASSERT_EQ(runFixture(dir, "full3d.inp"), 0) << dir.read("case.run");

    // Cap: feet to inches; the cap model values are used as read. The echo has replaced the width by
    // the plan diagonal, sqrt(120^2 + 144^2).
    EXPECT_DOUBLE_EQ(CAPIN.CAPLY, 120.0);
    EXPECT_DOUBLE_EQ(CAPIN.CAPWZ, std::sqrt(120.0 * 120.0 + 144.0 * 144.0));
    EXPECT_DOUBLE_EQ(CAPIN.CAPTX, 36.0);
    EXPECT_EQ(CAPIN.KCAPSPR, 1);
    EXPECT_EQ(CAPIN.INCREMENTS, 5);
    EXPECT_DOUBLE_EQ(CAPIN.K50, 100.0);
    EXPECT_DOUBLE_EQ(CTLIN.RFMOVY, 1.0);
    EXPECT_DOUBLE_EQ(CTLIN.RFMOVZ, 0.0);

    // Load cases: forces as read, load points in inches.
    EXPECT_EQ(LCDEF.NLC, 2);
    EXPECT_EQ(LCDEF.LCNAME(2), padded("Wind with a displacement given at a point"));
    EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, 1), 100000.0);
    EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, 4), 5000.0);
    EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, 8), 12.0);
    EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, 9), 24.0);
    EXPECT_EQ(LCPAR(2, 3), 2);
    EXPECT_DOUBLE_EQ(LCREAL(2, 3), 0.25);
    EXPECT_EQ(LCOPT(2, 1), 4);
    EXPECT_EQ(LCSD.SDFLAG(2), 1);
    EXPECT_EQ(LCSD.KDOF(2, 3), 0);
    EXPECT_DOUBLE_EQ(LCSD.SDV(2, 4), 2000.0);
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(2, 2), 36.0);
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(2, 3), 48.0);
    EXPECT_EQ(LCCNT(2, 3), 2);
    EXPECT_DOUBLE_EQ(FSDDAT.FSDV(2, 2), 2.0);
    EXPECT_EQ(LCDL.DLPIL2(1, 1), 2);
    EXPECT_DOUBLE_EQ(LCDL.DLFACY(1, 1), 1.0);
    EXPECT_EQ(OPTENV.ENVLC, 1);
    EXPECT_EQ(OPTENV.KPRINTLC, 2);

    // Combination: the second count of terms holds.
    EXPECT_EQ(LCBDEF.NCOMB, 1);
    EXPECT_EQ(LCBCNT(1, 1), 2);
    EXPECT_EQ(LCBLST.LCBCASE(1, 2), 2);
    EXPECT_DOUBLE_EQ(LCBLST.LCBFAC(1, 2), 1.6);
    EXPECT_DOUBLE_EQ(LCBREAL(1, 5), 0.9);
    EXPECT_EQ(OPTENV.ENVCOLSEL(1, 2), 1);
    EXPECT_EQ(OPTENV.ENVCOLSEL(2, 2), 0);

    // Distributed loads: depths in inches, loads as read.
    EXPECT_DOUBLE_EQ(DLS.DLSDEP(1, 2), 240.0);
    EXPECT_DOUBLE_EQ(DLS.DLSVAL(1, 1), 10.0);

    // Piles: coordinates in inches, angles as read (degrees until the echo).
    EXPECT_EQ(PILE.NPILES, 2);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3GEO(1, 2), -36.0);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3GEO(2, 5), 90.0);
    EXPECT_EQ(GRPIN3.GRP3INT(2, 5), 1);
    EXPECT_DOUBLE_EQ(PILESETIN.PLEN(1), 720.0);
    EXPECT_DOUBLE_EQ(PILESETIN.PSTO(1, 1), 360.0);
    EXPECT_EQ(PILESETIN.PSSECT(1, 2), 2);

    // Cross sections are not converted in English runs; bottoms copy the tops unless tapered.
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 1), 24.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 19), 24.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 29), 2549.0);
    EXPECT_EQ(SECTIN.STAPER(2), 1);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 19), 24.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 28), 450.0);
    EXPECT_EQ(SECTIN.NLFLAG(3), 1);
    EXPECT_EQ(SECTIN.SECTNI(3, 1), 7);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(3, 10), 36.1);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(3, 28), 36.1);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 10), 24.0);

    // Soil: depths in inches, 60 pcf = 60/1728 pci, 400 psf = 400/144 psi; layer 2 has no bottom row.
    EXPECT_DOUBLE_EQ(SOILIN.XBOTIN(1), 240.0);
    EXPECT_DOUBLE_EQ(SOILIN.XBOTIN(2), 960.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 1), 60.0 / 12.0 / 12.0 / 12.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 2), 400.0 / 12.0 / 12.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 2, 8), 300.0 / 12.0 / 12.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 6), 0.02);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(2, 1, 3), 35.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(2, 2, 1), 0.0);

    // Curves and requests.
    EXPECT_DOUBLE_EQ(PYPRT.PYPX(1), 120.0);
    EXPECT_DOUBLE_EQ(PYPRT.PYPRTDEF(1, 3), 1.0);
    EXPECT_EQ(PYUSR.NPYSET, 1);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYXIN(1, 2), 180.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYPIN(1, 1, 2), 100.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYYIN(1, 1, 2), 0.5);
    EXPECT_EQ(GENLISTS.NTQGENIN, 1);
    EXPECT_DOUBLE_EQ(TZUSRIN.TZFIN(1, 3), 150000.0);
    EXPECT_DOUBLE_EQ(TQUSRIN.TQRIN(1, 2), 0.01);
    EXPECT_DOUBLE_EQ(MPHIIN.MPMOMIN(1, 1, 2), 1.0e6);
    EXPECT_EQ(MPHIGENIN.NGMPHI, 3);
    EXPECT_DOUBLE_EQ(MPHIGENIN.MGMOM(3, 2, 1, 2), 2.0e6);
    EXPECT_DOUBLE_EQ(RFD.RFDX(1, 2), 120.0);
    EXPECT_DOUBLE_EQ(RFD.RFDX(2, 5), 240.0);
    EXPECT_DOUBLE_EQ(RFD.RFDPM(2, 4), 0.7);
    EXPECT_DOUBLE_EQ(SMOV.SMX(2), 240.0);
    EXPECT_DOUBLE_EQ(SMOV.SMYIN(1), 1.0);
    EXPECT_DOUBLE_EQ(SMOV.SMZ(1), 0.5);
    EXPECT_EQ(OPTCRV.NCRVINC, 10);
    EXPECT_DOUBLE_EQ(OPTCRV.CRVPYDEF(2), 1.0);
    EXPECT_DOUBLE_EQ(OPTCRV.CRVLS2(2), 1.5);
}

TEST(ReadInFull, PlaneSiInputConvertsSectionsFromMillimetres) {
    WorkDir dir;
    ASSERT_EQ(runFixture(dir, "plane-si.inp"), 0) << dir.read("case.run");

    EXPECT_DOUBLE_EQ(CAPIN.CAPLY, 3.0);
    EXPECT_EQ(PILE.NPILES, 2);
    EXPECT_EQ(GRPIN2.GRP2INT(1, 2), 3);
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2PRP(1, 2), 1.2);
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2GEO(2, 3), 10.0);
    EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, 8), 0.5);
    // 600 mm = 0.6 m; 282743 mm2 = 0.282743 m2; 6.36e9 mm4 = 6.36e-3 m4, but the plane run keeps Iy as read.
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 1), 0.6);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 19), 0.6);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 10), 282743.0 / 1000.0 / 1000.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 11), 6.36e9 / 1000.0 / 1000.0 / 1000.0 / 1000.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 12), 6.36e9);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 17), 2.5e7);
    // SI soil values are used as read.
    EXPECT_DOUBLE_EQ(SOILIN.XBOTIN(1), 20.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 2, 1), 19.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 2, 3), 34.0);
    EXPECT_EQ(GENLISTS.NTQGENIN, 0);
    EXPECT_EQ(MPHIGENIN.NGMPHI, 1);
}

}  // namespace
}  // namespace kaldo::test
