// The moment-curvature table and Table J: the user sets first, then the families of the nonlinear cross
// sections in the order of their set numbers, and the copy of the moment-curvature listing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "echo/echo.h"
#include "model/blocks.h"
#include "model/files.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

std::string elasticSection(int ident) {
    return std::to_string(ident) +
           " 0 1 0\n'Steel pipe'\n24.0 23.0 0 0 0 0 0 0\n11.6e6 36.1 2549.0 2549.0 0.0 4.4e10 0.0 0.0 29.0e6 0.0 0\n"
           "0 0 0.0 0 0\nnone\n";
}

// A nonlinear cross section of the given type; z and y are its moment-curvature set numbers as given
// (used by a user-defined EI, type 10).
std::string nonlinearSection(int ident, int type, int z = 0, int y = 0) {
    std::ostringstream s;
    s << ident << " 0 0 1\n'Nonlinear'\n24.0 36.1 2549.0 2549.0 4.4e10 0.0 0.0 29.0e6\n"
      << type << " 0 0 0 0 0 0 0 0 0 24.0\n0.5 0 29.0e6 36000.0 0 0 0 0 0 0\nnone\n"
      << "0 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0\n"
      << "0 0 " << z << " " << y << " 0 0 0 0 0 0 0\n";
    return s.str();
}

struct Curve {
    double axial;
    std::vector<std::pair<double, double>> points;  // (moment, curvature)
};

// One family of curves of a cross section (or a user set: the same records after the count).
std::string family(int ident, const std::vector<Curve>& curves, bool generated) {
    std::ostringstream s;
    s << ident << " " << curves.size() << "\n";
    for (const Curve& c : curves) {
        s << c.axial << "\n";
        if (generated) s << "0.0\n";
        s << "0 " << c.points.size() << "\n";
        for (const auto& [m, phi] : c.points) s << m << " " << phi << "\n";
    }
    return s.str();
}

// A one-pile model (English units, no kips) with the cross sections, user sets and section families
// given.
std::string input(int antype, int kmphi, const std::vector<std::string>& sections, const std::string& userSets,
                  const std::string& sectionFamilies) {
    std::ostringstream s;
    s << "Moment-curvature sets of a test model\nsecond title line\nCONTROL RECORD\n1 " << antype << " 0 0 0 0 0 0 "
      << kmphi << " 0 0 0 0 0 0 0 0 0 0 0 0\nPILE CAP\n0.0 0.0 0.0 0.0 0.0 0\nLOAD CASES\n0 0 0 0 0\n"
      << "LOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOADS\n0\nPILE GROUPS\n";
    if (antype == 3)
        s << "1\n2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 0.0 0.0 0.0 90.0 0.0 0.0\n";
    else
        s << "1\n1 3 1 0 0 0 1\n0.0 1.2 1.0 1.0 1.0\n0.0 0.0 0.0 0.0\n";
    s << "PILE PROPERTIES\n1\n1 1\n10 30.0 1\n0.0 30.0 1\nCROSS SECTIONS\n" << sections.size() << "\n";
    for (const std::string& t : sections) s << t;
    s << "SOIL LAYERS\n1\n1 4\n0.0 100.0\n2 3\n0.06 0.0 32.0\n0.06 0.0 34.0\nGENERATED AXIAL CURVES\n1\n1\n";
    if (antype == 3) s << "GENERATED TORQUE CURVES\n1\n1\n";
    if (kmphi > 0) s << "MOMENT CURVATURE SETS\n" << userSets;
    s << "SECTION MOMENT CURVATURE\n" << sectionFamilies;
    return s.str();
}

// Runs Table E (which numbers the sets) and then Table J; returns what Table J wrote.
std::string runTableJ(const WorkDir& dir, const std::string& text) {
    EXPECT_EQ(readModel(dir, text), 0) << dir.read("case.run");
    echoSections();
    Capture echo(dir, 32, "case.echo");
    echoMphi();
    return echo.since();
}

// The listing of the generated curves that comes with the input (file list record 27).
void writeListing(const WorkDir& dir, const std::string& text) {
    dir.write(WorkDir::recordName("case", REC_MPHILIST), text);
}

std::string r(std::string_view s, int w) {
    return std::string(w > int(s.size()) ? w - s.size() : 0, ' ') + std::string(s);
}
std::string blanks(int n) { return std::string(n, ' '); }

const std::string GENERATED_HEADING = "\n\n     " "  INTERNALLY GENERATED MOMENT CURVATURE\n\n";

TEST(EchoMphi, ThreeDimensionalSectionWithoutUserSets) {
    // Cross section 2 (steel pipe) gets sets 1 (bending with Iz) and 2 (with Iy); no Table J caption.
    WorkDir dir;
    const std::string longRecord(300, 'A');
    writeListing(dir, "  M-PHI OF SECTION 2   \n\n" + longRecord + "\nlast record\r\n");
    const std::string families = "2\n" + family(1, {}, true) + family(1, {}, true) +
                                 family(2, {{100.0, {{0.0, 0.0}, {2.0e6, 2.0e-4}}}}, true) +
                                 family(2, {{50.0, {{0.0, 0.0}}}, {150.0, {{0.0, 0.0}, {1.0e6, 1e-4}, {3.0e6, 1e-3}}}},
                                        true);
    const std::string out =
        runTableJ(dir, input(3, 0, {elasticSection(1), nonlinearSection(2, 7)}, "", families));
    EXPECT_EQ(SECTTAB.CSMPZ(2), 1);
    EXPECT_EQ(SECTTAB.CSMPY(2), 2);
    EXPECT_EQ(SECTTAB.CSMPZ(1), 0);
    ASSERT_EQ(MPHI.NMPHI, 2);
    EXPECT_EQ(MPHI.MPNCRV(1), 1);
    EXPECT_EQ(MPHI.MPAXL(1, 1), 100.0);
    EXPECT_EQ(MPHI.MPNPT(1, 1), 2);
    EXPECT_EQ(MPHI.MPMOM(1, 1, 2), 2.0e6);
    EXPECT_EQ(MPHI.MPPHI(1, 1, 2), 2.0e-4);
    EXPECT_EQ(MPHI.MPNCRV(2), 2);
    EXPECT_EQ(MPHI.MPAXL(2, 2), 150.0);
    EXPECT_EQ(MPHI.MPNPT(2, 1), 1);
    EXPECT_EQ(MPHI.MPNPT(2, 2), 3);
    EXPECT_EQ(MPHI.MPMOM(2, 2, 3), 3.0e6);
    EXPECT_EQ(MPHI.MPPHI(2, 2, 3), 1e-3);
    // Each record without its trailing blanks and with the one blank of the line end; a record over 256
    // characters is cut there.
    EXPECT_EQ(out, GENERATED_HEADING + "  M-PHI OF SECTION 2 \n \n" + std::string(256, 'A') + " \nlast record \n");
    closeModel();
}

TEST(EchoMphi, PlaneSectionAfterTwoUserSets) {
    WorkDir dir;
    const std::string users = "2\n" + family(1, {{100.0, {{0.0, 0.0}, {2500.0, 0.002}}}}, false) +
                              family(2, {{0.5, {{1.0e6, 0.05}}}}, false);
    const std::string families = "1\n" + family(1, {{200.0, {{0.0, 0.0}, {4.0e6, 3e-4}}}}, true);
    const std::string out = runTableJ(dir, input(2, 1, {nonlinearSection(1, 2)}, users, families));
    EXPECT_EQ(SECTTAB.CSMPZ(1), 3);
    EXPECT_EQ(SECTTAB.SECTMPZ(1, 1), 3);
    ASSERT_EQ(MPHI.NMPHI, 3);
    EXPECT_EQ(MPHI.MPAXL(3, 1), 200.0);
    EXPECT_EQ(MPHI.MPMOM(3, 1, 2), 4.0e6);
    EXPECT_EQ(MPHI.MPMOM(2, 1, 1), 1.0e6);

    const std::string curveHead = "\n" + blanks(12) + "POINT" + blanks(14) + "MOMENT" + blanks(13) + "CURVATURE\n" +
                                  blanks(12) + blanks(5) + blanks(13) + " LBS-IN" + blanks(13) + "RADIAN/IN\n";
    auto point = [](std::string_view p, std::string_view m, std::string_view phi) {
        return blanks(10) + r(p, 5) + blanks(11) + r(m, 12) + blanks(9) + r(phi, 12) + " \n";
    };
    const std::string expected =
        "\n\n\n     * TABLE J *   MOMENT CURVATURE SETS    \n" + std::string("\n\n") +
        "       USER DEFINED MOMENT CURVATURE\n\n" + "       NUM OF SETS :  2\n" + "\n\n" +
        "       CURVE SET  1          NUM OF CURVES  1\n\n" + "\n" + blanks(8) + "CURVE  1" + blanks(6) +
        "        AXIAL LOAD " + blanks(3) + "  100.    " + " LBS\n" + curveHead + point("1", "0.00000", "0.00000") +
        point("2", "2500.00", "2.00000E-03") + "\n\n" + "       CURVE SET  2          NUM OF CURVES  1\n\n" + "\n" +
        blanks(8) + "CURVE  1" + blanks(6) + "        AXIAL LOAD " + blanks(3) + " 0.500    " + " LBS\n" + curveHead +
        point("1", "1.00000E+06", "0.0500000") +
        // The listing file is empty: the heading alone.
        GENERATED_HEADING;
    EXPECT_EQ(out, expected);
    closeModel();
}

TEST(EchoMphi, UserDefinedEIAddsNoSet) {
    // The only nonlinear section is a user-defined EI on user set 1: nothing is appended and the
    // listing, although present, is not copied.
    WorkDir dir;
    writeListing(dir, "listing of another run\n");
    const std::string users = "1\n" + family(1, {{100.0, {{0.0, 0.0}}}}, false);
    const std::string families = "1\n" + family(1, {{200.0, {{0.0, 0.0}}}}, true) + family(1, {}, true);
    const std::string out = runTableJ(dir, input(3, 1, {nonlinearSection(1, 10, 1, 0)}, users, families));
    EXPECT_EQ(MPHI.NMPHI, 1);
    EXPECT_EQ(SECTTAB.CSMPZ(1), 1);
    EXPECT_EQ(SECTTAB.CSMPY(1), 0);
    EXPECT_EQ(out.find("INTERNALLY GENERATED"), std::string::npos) << out;
    EXPECT_EQ(out.find("listing of another run"), std::string::npos) << out;
    closeModel();
}

TEST(EchoMphi, CaptionAloneWithoutUserSets) {
    WorkDir dir;
    const std::string out = runTableJ(dir, input(3, 1, {elasticSection(1)}, "0\n", "1\n1 0\n1 0\n"));
    EXPECT_EQ(MPHI.NMPHI, 0);
    EXPECT_EQ(out, "\n\n\n     * TABLE J *   MOMENT CURVATURE SETS    \n");
    closeModel();
}

}  // namespace
}  // namespace kaldo::test
