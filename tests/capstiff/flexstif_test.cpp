// The cap stiffness of a flexibility case from scratch lines written by hand: the inverse of each point's
// flexibility matrix, the singular matrix that has none, and a scratch file that ends before the lines
// its reader needs. The scratch lines themselves round-trip through their general-format fields.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "capstiff/capstiff.h"
#include "capstiff/flexscratch.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/files.h"
#include "services/status.h"
#include "services/unitno.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

class FlexStiffness : public testing::Test {
protected:
    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        FILENAMES.RECORD(REC_FLEX1) = (dir / "f.fx1").string();
        for (int unit : {RUNTIME_UNIT, PILERES_UNIT, RESULTS_UNIT, SUMMARY_UNIT})
            ASSERT_TRUE(io::unit(unit).open((dir / ("u" + std::to_string(unit))).string(), io::Mode::Write));
        for (int k = 1; k <= 2; ++k) levels(k) = 0.5 * k;
    }
    void TearDown() override { io::closeAllUnits(); }
    // The first scratch file: per loop l, one line per point with the values of column l.
    void scratch(const std::vector<std::vector<std::array<double, 3>>>& columns) {
        io::Unit& u = io::unit(FLEX1_UNIT);
        ASSERT_TRUE(u.open(FILENAMES.RECORD(REC_FLEX1), io::Mode::Write));
        for (const auto& loop : columns)
            for (size_t j = 0; j < loop.size(); ++j) writeFlexLine(u, static_cast<int>(j + 1), loop[j]);
    }
    std::string report(int unit) {
        io::closeAllUnits();
        return dir.read("u" + std::to_string(unit));
    }
    WorkDir dir;
    Arr<double, 1, MAXFSD> levels;
};

// Point 1 has a regular flexibility matrix, diagonal 1e-6, 2e-6 and 4e-7 with one coupling term; its
// stiffness is the inverse. Point 2 has two parallel columns: no inverse, a warning, no matrix.
TEST_F(FlexStiffness, ASingularFlexibilityMatrixIsReportedWithoutAMatrix) {
    scratch({{{1e-6, 0.0, 0.0}, {1e-6, 0.0, 0.0}},
             {{0.0, 2e-6, 1e-7}, {2e-6, 0.0, 0.0}},
             {{0.0, 1e-7, 4e-7}, {0.0, 0.0, 4e-7}}});
    FLEXSTIF(1, 0, 2, 3, 6, levels);
    const std::string out = report(RESULTS_UNIT);
    // Point 1: K11 = 1e6; the lower block has the determinant 2e-6 4e-7 - 1e-7 1e-7 = 7.9e-13, so
    // K22 = 4e-7 / 7.9e-13 = 506329.11, K23 = -1e-7 / 7.9e-13 = -126582.28, K33 = 2e-6 / 7.9e-13 = 2531645.6.
    EXPECT_NE(out.find("1.00000E+06"), std::string::npos) << out;
    EXPECT_NE(out.find("5.06329E+05"), std::string::npos) << out;
    EXPECT_NE(out.find("-1.26582E+05"), std::string::npos) << out;
    EXPECT_NE(out.find("2.53165E+06"), std::string::npos) << out;
    const auto second = out.find("   N:    2  FACTOR :    1.0000");
    ASSERT_NE(second, std::string::npos) << out;
    const std::string after = out.substr(second);
    EXPECT_NE(after.find("** WARNING **  FLEXIBILITY MATRIX OF POINT   2 IS SINGULAR"), std::string::npos) << after;
    EXPECT_EQ(after.find("E+"), std::string::npos) << "no matrix is printed for point 2\n" << after;
    EXPECT_NE(report(SUMMARY_UNIT).find("FLEXIBILITY MATRIX OF POINT   2 IS SINGULAR"), std::string::npos);
    EXPECT_NE(report(RUNTIME_UNIT).find("FLEXIBILITY MATRIX OF POINT   2 IS SINGULAR"), std::string::npos);
}

// A scratch file short of the lines that the points and loops ask for ends the run with a file status,
// naming the file, rather than reading what is not there.
TEST_F(FlexStiffness, AShortScratchFileEndsTheRun) {
    scratch({{{1e-6, 0.0, 0.0}, {1e-6, 0.0, 0.0}}, {{0.0, 2e-6, 0.0}}});
    try {
        FLEXSTIF(1, 0, 2, 3, 6, levels);
        FAIL() << "the short file was read";
    } catch (const FileFault& e) {
        EXPECT_EQ(e.code(), ST_SCRATCHREAD);
        EXPECT_NE(std::string(e.what()).find("f.fx1"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("cannot be read back"), std::string::npos) << e.what();
    }
}

// A missing scratch file is a file that cannot be opened.
TEST_F(FlexStiffness, AMissingScratchFileEndsTheRun) {
    FILENAMES.RECORD(REC_FLEX1) = (dir / "no-such-folder" / "f.fx1").string();
    try {
        FLEXSTIF(1, 0, 2, 3, 6, levels);
        FAIL() << "a missing file was read";
    } catch (const FileFault& e) {
        EXPECT_EQ(e.code(), ST_FILEOPEN);
    }
}

// Values of every size come back from a scratch line to its 8 significant digits, the exponents of
// three digits (written without their letter) included.
TEST(FlexScratch, LinesRoundTrip) {
    WorkDir dir;
    io::Unit& u = io::unit(FLEX2_UNIT);
    ASSERT_TRUE(u.open((dir / "f.fx2").string(), io::Mode::Write));
    const std::array<double, 7> values = {0.0, 1.0, -2.5e-3, 123456.789, 1.2345678e-120, -9.87654321e+150, 0.25};
    writeFlexLine(u, -7, values);
    u.close();
    ASSERT_TRUE(u.open((dir / "f.fx2").string(), io::Mode::Read));
    const FlexLine line = readFlexLine(u, 7);
    u.close();
    EXPECT_EQ(line.point, -7);
    for (size_t k = 0; k < values.size(); ++k)
        EXPECT_NEAR(line.v[k], values[k], 5e-8 * std::fabs(values[k])) << "value " << k + 1;
}

}  // namespace
}  // namespace kaldo::test
