// Table E of the input echo and the section table behind it: the property sets and their sections, the
// description of every cross section, the property tables, the section properties at both ends and
// the moment-curvature set numbers of the nonlinear cross sections.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "echo/echo.h"
#include "model/blocks.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

constexpr int TOP = SectTab::TOP, BOT = SectTab::BOT;

// ---- Inputs -----------------------------------------------------------------------------------------

// An elastic cross section: SECTSR items by number (1-18 top, 19-36 bottom, 37 pipe wall).
struct Elastic {
    int shape = 0;
    int taper = 0;
    std::map<int, double> sr;
    int family = 0, external = 0;
    std::string designation = "none";
    std::string name = "Elastic section";
};

// A nonlinear cross section: SECTSR, SECTNR and SECTNI items by number; rebars and strands get as many
// (position) records as items 10 and 22 ask for.
struct Nonlinear {
    std::map<int, double> sr, nr;
    std::map<int, int> ni;
    std::string designation = "none";
    std::string name = "Nonlinear section";
};

template <class T>
T item(const std::map<int, T>& m, int k) {
    auto it = m.find(k);
    return it == m.end() ? T{} : it->second;
}

std::string records(const Elastic& e, int ident) {
    std::ostringstream s;
    auto sr = [&](int from, int to) {
        for (int k = from; k <= to; ++k) s << item(e.sr, k) << (k < to ? " " : "");
    };
    s << ident << " 0 " << e.shape << " 0\n'" << e.name << "'\n";
    sr(1, 8);
    s << "\n";
    sr(9, 18);
    s << " " << e.taper << "\n";
    if (e.taper) {
        sr(19, 26);
        s << "\n";
        sr(27, 36);
        s << "\n";
    }
    s << e.family << " 0 " << item(e.sr, 37) << " " << e.external << " 0\n" << e.designation << "\n";
    return s.str();
}

std::string records(const Nonlinear& n, int ident) {
    std::ostringstream s;
    auto nr = [&](int from, int to) {
        for (int k = from; k <= to; ++k) s << " " << item(n.nr, k);
    };
    auto ni = [&](int from, int to) {
        for (int k = from; k <= to; ++k) s << " " << item(n.ni, k);
    };
    s << ident << " 0 0 1\n'" << n.name << "'\n";
    for (int k : {1, 10, 11, 12, 14, 15, 16, 17}) s << " " << item(n.sr, k);
    s << "\n" << item(n.ni, 1);
    nr(1, 10);
    s << "\n";
    nr(11, 16);
    ni(2, 5);
    s << "\n" << n.designation << "\n";
    ni(6, 10);
    nr(17, 21);
    ni(11, 11);
    s << "\n";
    ni(12, 17);
    nr(22, 25);
    s << "\n";
    for (int b = 0; b < item(n.ni, 10); ++b) s << "1.0 2.0\n";
    ni(18, 22);
    nr(26, 30);
    s << "\n";
    for (int b = 0; b < item(n.ni, 22); ++b) s << "3.0 4.0\n";
    s << "0 0 0 0 0\n";
    ni(26, 33);
    s << " 0 0 0\n";
    return s.str();
}

// A one-pile model around the cross sections under test (English units unless said); the property
// sets default to one set of one section on cross section 1.
struct Model {
    int units = 1, antype = 3, kmphi = 0, kkips = 0;
    std::vector<std::string> sections;
    std::string sets = "1\n1 1\n10 30.0 1\n0.0 30.0 1\n";
    std::string userMphi = "1\n1 1\n0.0\n0 2\n0.0 0.0\n1.0e6 0.001\n";
};

std::string input(const Model& m) {
    std::ostringstream s;
    s << "Cross sections of a test model\nsecond title line\nCONTROL RECORD\n"
      << m.units << " " << m.antype << " 0 0 0 0 0 0 " << m.kmphi << " 0 0 0 0 0 0 0 " << m.kkips << " 0 0 0 0\n"
      << "PILE CAP\n0.0 0.0 0.0 0.0 0.0 0\nLOAD CASES\n0 0 0 0 0\nLOAD COMBINATIONS\n0 0 0 0 0\n"
      << "DISTRIBUTED LOADS\n0\nPILE GROUPS\n";
    if (m.antype == 3)
        s << "1\n2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 0.0 0.0 0.0 90.0 0.0 0.0\n";
    else
        s << "1\n1 3 1 0 0 0 1\n0.0 1.2 1.0 1.0 1.0\n0.0 0.0 0.0 0.0\n";
    s << "PILE PROPERTIES\n" << m.sets << "CROSS SECTIONS\n" << m.sections.size() << "\n";
    for (const std::string& t : m.sections) s << t;
    s << "SOIL LAYERS\n1\n1 4\n0.0 100.0\n2 3\n0.06 0.0 32.0\n0.06 0.0 34.0\n"
      << "GENERATED AXIAL CURVES\n1\n1\n";
    if (m.antype == 3) s << "GENERATED TORQUE CURVES\n1\n1\n";
    if (m.kmphi > 0) s << "MOMENT CURVATURE SETS\n" << m.userMphi;
    // One (empty) moment-curvature family per bending axis for every cross section.
    s << "SECTION MOMENT CURVATURE\n" << m.sections.size() << "\n";
    for (size_t t = 1; t <= m.sections.size(); ++t)
        for (int axis = 1; axis <= (m.antype == 3 ? 2 : 1); ++axis) s << t << " 0\n";
    return s.str();
}

// Reads the input, runs the Table E step and returns what it wrote on the echo file.
std::string runTableE(const WorkDir& dir, const std::string& text) {
    const int status = readModel(dir, text);
    EXPECT_EQ(status, 0) << dir.read("case.run");
    Capture echo(dir, 32, "case.echo");
    echoSections();
    return echo.since();
}

// ---- Expected text ----------------------------------------------------------------------------------

// Text right-aligned in w columns.
std::string r(std::string_view s, int w) {
    return std::string(w > int(s.size()) ? w - s.size() : 0, ' ') + std::string(s);
}
std::string blanks(int n) { return std::string(n, ' '); }
// A description line: five blanks and the text.
std::string line(std::string_view text) { return "     " + std::string(text) + "\n"; }
// A value line of a description: caption, the number (as printed) in 13 columns, a blank, the label.
std::string value(std::string_view caption, std::string_view number, std::string_view label) {
    return line(std::string(caption) + r(number, 13) + " " + std::string(label));
}
// A tapered value line: top and bottom with their labels, gap blanks after the first label.
std::string topBottom(std::string_view caption, std::string_view top, std::string_view bot, std::string_view label,
                      int gap) {
    return line(std::string(caption) + r(top, 13) + " " + std::string(label) + blanks(gap) + r(bot, 13) + " " +
                std::string(label));
}

// The lines between two lines of a report that start with the given texts (after their indentation),
// the first included, the second not.
std::string between(const std::string& report, std::string_view from, std::string_view to) {
    const auto a = report.find(from);
    const auto b = report.find(to, a == std::string::npos ? 0 : a + from.size());
    if (a == std::string::npos || b == std::string::npos) return "<missing: " + std::string(from) + ">";
    const auto start = report.rfind('\n', a);
    const auto end = report.rfind('\n', b);
    const auto first = start == std::string::npos ? 0 : start + 1;
    return report.substr(first, end - first + 1);
}

// ---- Table E of the fixtures --------------------------------------------------------------------------

TEST(EchoSections, TableEHeadSetsAndSectionsOfTheThreeDimensionalFixture) {
    WorkDir dir;
    const std::string out = runTableE(dir, fixture("full3d.inp"));
    const std::string expected =
        "\n\n\n"
        "     * TABLE E *   PILE GEOMETRY AND PROPERTIES \n"
        "                   PILE TYPE = 1 - DRIVEN PILE\n"
        "                             = 2 - DRILLED SHAFT\n"
        "\n"
        "       PROP   SECTS   INC     PILE TYPE      LENGTH, FT\n" +
        blanks(5) + "    1" + "      2" + "      40" + "          1" + blanks(3) + r("60.000", 16) + "\n" +
        "\n"
        "     * PILE SECTIONS *\n"
        "\n"
        "       PROP    SECT      FROM,FT         TO,FT    CROSS SECT\n" +
        blanks(5) + "    1" + "       1" + " " + r("0.00000", 14) + r("30.0000", 15) + "       1\n" +
        blanks(5) + "    1" + "       2" + " " + r("30.0000", 14) + r("60.0000", 15) + "       2\n" +
        "\n"
        "     * PILE CROSS SECTIONS *\n";
    EXPECT_EQ(out.substr(0, expected.size()), expected);
    closeModel();
}

TEST(EchoSections, PropertyTablesOfTheThreeDimensionalFixture) {
    // Kips: GJ, Mn and Vn divided by 1000; the tapered section shows both ends; the nonlinear steel pipe
    // (type 7) shows no inertia and no user set, and is listed although no property set uses it.
    WorkDir dir;
    const std::string out = runTableE(dir, fixture("full3d.inp"));
    const std::string expected =
        "     * PILE CROSS SECTIONS PROPERTIES *\n"
        "\n"
        "              ELASTIC SECTIONS         \n"
        "\n"
        "  SECT" + blanks(6) + r("DIAM,IN", 12) + r("AREA,IN**2", 12) + r(" Iz,IN**4", 12) + r(" Iy,IN**4", 12) +
        r(" GJ,KIP-IN**2", 13) + r(" Mn,KIP-IN", 12) + r(" Vn,KIP", 12) + "\n" +
        "  " + "    1" + " " + blanks(4) + r("24.000", 12) + r("36.100", 12) + r("2549.0", 12) + r("2549.0", 12) + " " +
        r("4.4000E+07", 12) + r("0.0000", 12) + r("0.0000", 12) + "\n" +
        "  " + "    2" + " " + " TOP" + r("30.000", 12) + r("700.00", 12) + r("4.0000E+04", 12) + r("4.0000E+04", 12) +
        " " + r("8.0000E+07", 12) + r("0.0000", 12) + r("0.0000", 12) + "\n" +
        blanks(9) + "BOT" + r("24.000", 12) + r("450.00", 12) + r("1.6000E+04", 12) + r("1.6000E+04", 12) + " " +
        r("3.2000E+07", 12) + r("0.0000", 12) + r("0.0000", 12) + "\n" +
        "\n"
        "              NONLINEAR SECTIONS       \n"
        "\n"
        "  SECT" + blanks(2) + r("DIAM,IN", 11) + r("AREA,IN**2", 11) + r(" Iz,IN**4", 11) + r(" Iy,IN**4", 11) +
        r(" GJ,KIP-IN**2", 13) + " EIz IND " + " EIy IND " + blanks(2) + r(" Mn,KIP-IN", 11) + r(" Vn,KIP", 11) + "\n" +
        "  " + "    3" + " " + r("24.000", 11) + r("36.100", 11) + r("0.0000", 11) + r("0.0000", 11) + "  " +
        r("4.4000E+07", 11) + "  " + "    0" + "    " + "    0" + "    " + r("0.0000", 11) + r("0.0000", 11) + "\n";
    const auto at = out.find("     * PILE CROSS SECTIONS PROPERTIES *");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.substr(at), expected);
    closeModel();
}

TEST(EchoSections, PlaneSiFixtureInMillimetres) {
    WorkDir dir;
    const std::string out = runTableE(dir, fixture("plane-si.inp"));
    EXPECT_NE(out.find("       PROP   SECTS   INC     PILE TYPE      LENGTH,  M\n" + blanks(5) + "    1" + "      1" +
                       "      20" + "          2" + blanks(3) + r("12.000", 16) + "\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("       PROP    SECT      FROM, M         TO, M    CROSS SECT\n"), std::string::npos) << out;
    const std::string table = std::string("     * PILE CROSS SECTIONS PROPERTIES *\n\n") +
                              "              ELASTIC SECTIONS         \n\n" + blanks(5) + "  SECT" + blanks(5) +
                              r("DIAM,MM", 14) + r("AREA,MM**2", 14) + r("  I,MM**4", 14) + r(" Mn, KN- M", 14) +
                              r(" Vn, KN", 14) + "\n" + blanks(5) + "    1" + " " + blanks(5) + r("600.000", 14) +
                              r("2.82743E+05", 14) + r("6.36000E+09", 14) + r("0.00000", 14) + r("0.00000", 14) +
                              "\n";
    const auto at = out.find("     * PILE CROSS SECTIONS PROPERTIES *");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.substr(at), table);
    const std::string description = line(" EQUIVALENT DIAMETER : " + r("600.000", 13) + " MM") +
                                    line(" YOUNG MODULUS       : " + r("2.50000E+07", 13) + "  KN/ M**2");
    EXPECT_NE(out.find(description), std::string::npos) << out;
    // The section table holds metres.
    EXPECT_DOUBLE_EQ(SECTTAB.SECTDIAM(1, 1, TOP), 0.6);
    EXPECT_DOUBLE_EQ(SECTTAB.SECTIZ(1, 1, BOT), 6.36e9 / 1e12);
    closeModel();
}

// ---- The section table ------------------------------------------------------------------------------

TEST(EchoSections, SectionTableOfTheThreeDimensionalFixture) {
    WorkDir dir;
    runTableE(dir, fixture("full3d.inp"));
    const auto& t = SECTTAB;
    EXPECT_EQ(PILESET.NSECT(1), 2);
    EXPECT_EQ(PILESET.NINC(1), 40);
    EXPECT_EQ(PILESET.PTYPE(1), 1);
    EXPECT_DOUBLE_EQ(PILESET.PLEN(1), 720.0);
    EXPECT_DOUBLE_EQ(t.SECTTOP(1, 2), 360.0);
    EXPECT_DOUBLE_EQ(t.SECTBOT(1, 2), 720.0);
    // The sentinel after the last section: 1.2 in single precision times the length.
    EXPECT_EQ(t.SECTTOP(1, 3), 1.2000000476837158 * 720.0);
    EXPECT_EQ(t.SECTBOT(1, 3), 0.0);
    // The tapered general section keeps both ends; the pipe has the same values at both.
    EXPECT_DOUBLE_EQ(t.SECTDIAM(1, 2, TOP), 30.0);
    EXPECT_DOUBLE_EQ(t.SECTDIAM(1, 2, BOT), 24.0);
    EXPECT_DOUBLE_EQ(t.SECTAREA(1, 2, BOT), 450.0);
    EXPECT_DOUBLE_EQ(t.SECTIZ(1, 2, TOP), 40000.0);
    EXPECT_DOUBLE_EQ(t.SECTIY(1, 2, BOT), 16000.0);
    EXPECT_DOUBLE_EQ(t.SECTGJ(1, 2, BOT), 3.2e10);
    EXPECT_DOUBLE_EQ(t.SECTE(1, 1, BOT), 29.0e6);
    EXPECT_DOUBLE_EQ(t.SECTEIZ(1, 1, TOP), 2549.0 * 29.0e6);
    EXPECT_DOUBLE_EQ(t.SECTEIY(1, 2, BOT), 16000.0 * 4.0e6);
    EXPECT_EQ(t.SECTTAPER(1, 1), 0);
    EXPECT_EQ(t.SECTTAPER(1, 2), 1);
    EXPECT_EQ(t.SECTNO(1, 2), 2);
    // The elastic sections bend with their EI; the nonlinear pipe (no set uses it) gets the two sets
    // after the one user set.
    EXPECT_EQ(t.SECTMPZ(1, 1), 0);
    EXPECT_EQ(t.SECTMPY(1, 2), 0);
    EXPECT_EQ(t.CSMPZ(3), 2);
    EXPECT_EQ(t.CSMPY(3), 3);
    EXPECT_EQ(t.CSMPZ(1), 0);
    closeModel();
}

TEST(EchoSections, MissingInertiaIsTakenFromTheDiameterAtEachEnd) {
    // Cross section 1: tapered general section, D 24 at the top and 18 at the bottom, no inertias,
    // E 29e6 at the top and 30e6 at the bottom. Set 2 uses it again under another section.
    Elastic e;
    e.taper = 1;
    e.sr = {{1, 24.0}, {10, 400.0}, {17, 29.0e6}, {19, 18.0}, {28, 250.0}, {35, 30.0e6}};
    Elastic given;
    given.sr = {{1, 20.0}, {11, 5.0e-11}, {12, 1000.0}, {17, 4.0e6}};
    Model m;
    m.sections = {records(e, 1), records(given, 2)};
    m.sets = "2\n1 1\n10 30.0 1\n0.0 30.0 1\n2 2\n20 40.0 2\n0.0 10.0 2\n10.0 40.0 1\n";
    WorkDir dir;
    runTableE(dir, input(m));
    const auto& t = SECTTAB;
    const double solidTop = 0.04910000041127205 * 331776.0;  // 0.0491 (single) x 24^4
    const double solidBot = 0.04910000041127205 * 104976.0;  // 0.0491 (single) x 18^4
    EXPECT_DOUBLE_EQ(t.SECTIZ(1, 1, TOP), solidTop);
    EXPECT_DOUBLE_EQ(t.SECTIY(1, 1, TOP), solidTop);
    EXPECT_DOUBLE_EQ(t.SECTIZ(1, 1, BOT), solidBot);
    EXPECT_DOUBLE_EQ(t.SECTEIZ(1, 1, TOP), solidTop * 29.0e6);
    EXPECT_DOUBLE_EQ(t.SECTEIY(1, 1, BOT), solidBot * 30.0e6);
    // Below 1e-10 counts as missing, a given value stays.
    EXPECT_DOUBLE_EQ(t.SECTIZ(2, 1, TOP), 0.04910000041127205 * 160000.0);
    EXPECT_DOUBLE_EQ(t.SECTIY(2, 1, TOP), 1000.0);
    // Two sets that use one cross section get the same values.
    for (int end : {TOP, BOT}) {
        EXPECT_EQ(t.SECTDIAM(2, 2, end), t.SECTDIAM(1, 1, end));
        EXPECT_EQ(t.SECTAREA(2, 2, end), t.SECTAREA(1, 1, end));
        EXPECT_EQ(t.SECTEIZ(2, 2, end), t.SECTEIZ(1, 1, end));
    }
    EXPECT_DOUBLE_EQ(t.SECTAREA(2, 2, BOT), 250.0);
    // Sentinels of both sets: 1.2 (single) x 360 and x 480 inches.
    EXPECT_EQ(t.SECTTOP(1, 2), 1.2000000476837158 * 360.0);
    EXPECT_EQ(t.SECTTOP(2, 3), 1.2000000476837158 * 480.0);
    closeModel();
}

// Cross sections 1 elastic, 2 steel pipe (type 7), 3 user-defined EI with user set 1 for Iz and a
// constant EI for Iy, 4 rectangular concrete (type 1); one user set. The set's sections use 2, 3, 1.
Model numberingModel(int antype) {
    Elastic e;
    e.sr = {{1, 24.0}, {17, 29.0e6}};
    Nonlinear pipe;
    pipe.ni = {{1, 7}};
    pipe.sr = {{1, 24.0}, {17, 29.0e6}};
    Nonlinear user;
    user.ni = {{1, 10}, {28, 1}, {29, 0}};
    user.sr = {{1, 24.0}, {10, 36.1}, {11, 2549.0}, {12, 1500.0}, {14, 4.4e10}, {15, 5.0e6}, {16, 2.0e5}, {17, 29.0e6}};
    Nonlinear concrete;
    concrete.ni = {{1, 1}};
    concrete.sr = {{1, 24.0}, {17, 3.6e6}};
    Model m;
    m.antype = antype;
    m.kmphi = 1;
    m.sections = {records(e, 1), records(pipe, 2), records(user, 3), records(concrete, 4)};
    m.sets = "1\n1 3\n10 30.0 1\n0.0 10.0 2\n10.0 20.0 3\n20.0 30.0 1\n";
    return m;
}

TEST(EchoSections, GeneratedSetsAreNumberedAfterTheUserSets) {
    struct Case {
        int antype;
        std::vector<int> z, y;
    };
    // Types 1 to 9 get new sets after the one user set, two consecutive ones in three dimensions; the
    // user-defined EI keeps its input numbers and shifts nothing; elastic sections have none.
    for (const Case& c : {Case{3, {0, 2, 1, 4}, {0, 3, 0, 5}}, Case{2, {0, 2, 1, 3}, {0, 0, 0, 0}}}) {
        SCOPED_TRACE("analysis type " + std::to_string(c.antype));
        WorkDir dir;
        runTableE(dir, input(numberingModel(c.antype)));
        for (int t = 1; t <= 4; ++t) {
            EXPECT_EQ(SECTTAB.CSMPZ(t), c.z[t - 1]) << "cross section " << t;
            EXPECT_EQ(SECTTAB.CSMPY(t), c.y[t - 1]) << "cross section " << t;
        }
        // The sections take the sets of their cross sections (2, 3, then the elastic 1).
        EXPECT_EQ(SECTTAB.SECTMPZ(1, 1), c.z[1]);
        EXPECT_EQ(SECTTAB.SECTMPY(1, 1), c.y[1]);
        EXPECT_EQ(SECTTAB.SECTMPZ(1, 2), 1);
        EXPECT_EQ(SECTTAB.SECTMPY(1, 2), 0);
        EXPECT_EQ(SECTTAB.SECTMPZ(1, 3), 0);
        EXPECT_EQ(SECTTAB.SECTMPY(1, 3), 0);
        closeModel();
    }
}

TEST(EchoSections, NonlinearRowsShowInertiaOrSetOfAUserDefinedEI) {
    // Three dimensions, English without kips. The user-defined EI bends about z with user set 1 (index
    // 1, no Iz) and about y with a constant EI (Iy shown, index 0); the other types show neither.
    WorkDir dir;
    const std::string out = runTableE(dir, input(numberingModel(3)));
    const auto nl = out.find("         NONLINEAR SECTIONS       ");
    ASSERT_NE(nl, std::string::npos);
    auto row = [](std::string_view t, std::string_view d, std::string_view a, std::string_view iz, std::string_view iy,
                  std::string_view gj, std::string_view z, std::string_view y, std::string_view mn,
                  std::string_view vn) {
        return "  " + r(t, 5) + " " + r(d, 11) + r(a, 11) + r(iz, 11) + r(iy, 11) + "  " + r(gj, 11) + "  " + r(z, 5) +
               "    " + r(y, 5) + "    " + r(mn, 11) + r(vn, 11) + "\n";
    };
    const std::string expected =
        "         NONLINEAR SECTIONS       \n\n" + std::string("  SECT") + blanks(2) + r("DIAM,IN", 11) +
        r("AREA,IN**2", 11) + r(" Iz,IN**4", 11) + r(" Iy,IN**4", 11) + r(" GJ,LBS-IN**2", 13) + " EIz IND " +
        " EIy IND " + blanks(2) + r(" Mn,LBS-IN", 11) + r(" Vn,LBS", 11) + "\n" +
        row("2", "24.000", "0.0000", "0.0000", "0.0000", "0.0000", "0", "0", "0.0000", "0.0000") +
        row("3", "24.000", "36.100", "0.0000", "1500.0", "4.4000E+10", "1", "0", "5.0000E+06", "2.0000E+05") +
        row("4", "24.000", "0.0000", "0.0000", "0.0000", "0.0000", "0", "0", "0.0000", "0.0000");
    EXPECT_EQ(out.substr(nl - 5), blanks(5) + expected);
    closeModel();
}

// ---- Cross-section descriptions ---------------------------------------------------------------------

struct Description {
    const char* name;
    Model model;          // the cross section under test is cross section 1
    std::string type;     // " ELASTIC" or " NONLINEAR"
    std::string lines;    // the lines after the TYPE line
};

// The description of cross section 1 as the step writes it: number, name, type, then the lines.
std::string described(const std::string& name, const std::string& type, const std::string& lines) {
    std::string padded = name;
    padded.resize(32, ' ');
    return "\n" + line(" CROSS SECTION       :     1") + line(" SECTION NAME        : " + padded) + "\n" +
           line(" TYPE                : " + type) + lines;
}

const std::string PSI = "LBS/IN**2";
const std::string KSI = "KIP/IN**2";
const std::string KPA = " KN/ M**2";

std::vector<Description> descriptionCases() {
    std::vector<Description> cases;
    auto add = [&](const char* name, Model m, const std::string& type, const std::string& lines) {
        cases.push_back({name, std::move(m), type, lines});
    };
    auto model = [](int antype, const std::string& section) {
        Model m;
        m.antype = antype;
        m.sections = {section};
        return m;
    };

    Elastic h;
    h.shape = 4;
    h.sr = {{1, 14.0}, {3, 14.5}, {4, 14.0}, {7, 0.7}, {8, 0.5}, {9, 11.2e6}, {17, 29.0e6}};
    const std::string hLines = line(" CROSS SECTION TYPE  : H SECTION        ") +
                               value(" EQUIVALENT DIAMETER : ", "14.0000", "IN") +
                               value(" EXTERNAL WIDTH      : ", "14.5000", "IN") +
                               value(" EXTERNAL DEPTH      : ", "14.0000", "IN") +
                               value(" FLANGE THICKNESS    : ", "0.70000", "IN") +
                               value(" WEB THICKNESS       : ", "0.50000", "IN") +
                               value(" YOUNG MODULUS       : ", "2.90000E+07", PSI);
    add("plane H section: no shear modulus", model(2, records(h, 1)), " ELASTIC", hLines);
    add("3-D H section: shear modulus", model(3, records(h, 1)), " ELASTIC",
        hLines + value(" SHEAR MODULUS       : ", "1.12000E+07", PSI));

    Elastic pipe;
    pipe.shape = 1;
    pipe.taper = 1;
    pipe.sr = {{1, 24.0}, {2, 23.0}, {9, 11.2e6}, {17, 29.0e6}, {19, 18.0}, {20, 17.0}, {27, 11.2e6}, {35, 29.0e6}};
    add("tapered circular pipe", model(3, records(pipe, 1)), " ELASTIC",
        line(" CROSS SECTION TYPE  : CIRCULAR PIPE    ") +
            line(" TAPERED SECTION                TOP                  BOTTOM") +
            topBottom(" EXTERNAL DIAMETER   : ", "24.0000", "18.0000", "IN", 7) +
            topBottom(" INTERNAL DIAMETER   : ", "23.0000", "17.0000", "IN", 7) +
            topBottom(" YOUNG MODULUS       : ", "2.90000E+07", "2.90000E+07", PSI, 0) +
            topBottom(" SHEAR MODULUS       : ", "1.12000E+07", "1.12000E+07", PSI, 0));

    Elastic taperedShape;
    taperedShape.shape = 5;
    taperedShape.taper = 1;
    taperedShape.sr = {{1, 14.0}, {3, 14.5}, {4, 14.0}, {7, 0.7}, {8, 0.5}, {17, 29.0e6},
                       {19, 12.0}, {21, 12.5}, {22, 12.0}, {25, 0.6}, {26, 0.4}, {35, 29.0e6}};
    add("tapered designated shape reads as an H section", model(2, records(taperedShape, 1)), " ELASTIC",
        line(" CROSS SECTION TYPE  : H SECTION        ") +
            line(" TAPERED SECTION                TOP                  BOTTOM") +
            topBottom(" EQUIVALENT DIAMETER : ", "14.0000", "12.0000", "IN", 7) +
            topBottom(" EXTERNAL WIDTH      : ", "14.5000", "12.5000", "IN", 7) +
            topBottom(" EXTERNAL DEPTH      : ", "14.0000", "12.0000", "IN", 7) +
            topBottom(" FLANGE THICKNESS    : ", "0.70000", "0.60000", "IN", 7) +
            topBottom(" WEB THICKNESS       : ", "0.50000", "0.40000", "IN", 7) +
            topBottom(" YOUNG MODULUS       : ", "2.90000E+07", "2.90000E+07", PSI, 0));

    Elastic designatedPipe;
    designatedPipe.shape = 5;
    designatedPipe.family = 12;
    designatedPipe.external = 1;
    designatedPipe.designation = "PIPE12STD";
    designatedPipe.sr = {{1, 12.75}, {2, 12.0}, {9, 11.2e6}, {17, 29.0e6}, {37, 0.375}};
    add("designated pipe by its external diameter", model(3, records(designatedPipe, 1)), " ELASTIC",
        line(" CROSS SECTION TYPE  : AISC SECTION (PIPE)") + "\n" +
            line(" AISC SECTION NAME   : PIPE12STD                       ") +
            value(" EXTERNAL DIAMETER   : ", "12.7500", "IN") + value(" INTERNAL DIAMETER   : ", "12.0000", "IN") +
            value(" THICKNESS           : ", "0.37500", "IN") + value(" YOUNG MODULUS       : ", "2.90000E+07", PSI) +
            value(" SHEAR MODULUS       : ", "1.12000E+07", PSI));

    Nonlinear shaft;
    shaft.ni = {{1, 3}, {10, 2}};
    shaft.nr = {{3, 36.0}, {12, 4000.0}, {17, 0.79}, {18, 1.0}, {20, 29.0e6}, {21, 60000.0}};
    shaft.sr = {{1, 36.0}, {17, 3.6e6}};
    add("shaft without casing or steel, with rebars", model(2, records(shaft, 1)), " NONLINEAR",
        line(" CROSS SECTION TYPE  : ROUND CONC. SHAFT, CASING (AND STEEL SECTION)") +
            value(" CONCRETE DIAMETER   : ", "36.0000", "IN") + value(" CONCRETE FC         : ", "4000.00", PSI) +
            line(" NUMBER REBARS       : " + r("2", 13)) + value(" DIAMETER REINF.     : ", "1.00000", "IN") +
            value(" AREA REINFORCEMENT  : ", "0.79000", "IN**2") +
            value(" ES REINFORCEMENT    : ", "2.90000E+07", PSI) + value(" FY REINFORCEMENT    : ", "60000.0", PSI) +
            value(" EQ. YOUNG MODULUS   : ", "3.60000E+06", PSI));

    Nonlinear cased;
    cased.ni = {{1, 3}, {2, 1}};
    cased.nr = {{3, 36.0}, {8, 40.0}, {9, 0.5}, {10, 30.0}, {11, 0.75}, {12, 4000.0}, {13, 29.0e6}, {14, 36000.0}};
    cased.sr = {{1, 36.0}, {17, 3.6e6}};
    add("shaft with casing and a steel pipe inside", model(2, records(cased, 1)), " NONLINEAR",
        line(" CROSS SECTION TYPE  : ROUND CONC. SHAFT, CASING (AND STEEL SECTION)") +
            value(" CONCRETE DIAMETER   : ", "36.0000", "IN") + value(" CONCRETE FC         : ", "4000.00", PSI) +
            value(" DIAMETER CASING     : ", "40.0000", "IN") + value(" THICKNESS CASING    : ", "0.50000", "IN") +
            value(" ES CASING           : ", "2.90000E+07", PSI) + value(" FY CASING           : ", "36000.0", PSI) +
            value(" DIAMETER STEEL      : ", "30.0000", "IN") + value(" THICKNESS STEEL     : ", "0.75000", "IN") +
            value(" ES STEEL            : ", "2.90000E+07", PSI) + value(" FY STEEL            : ", "36000.0", PSI) +
            value(" EQ. YOUNG MODULUS   : ", "3.60000E+06", PSI));

    Nonlinear rectangular;
    rectangular.ni = {{1, 1}};
    rectangular.nr = {{1, 18.0}, {2, 24.0}, {12, 5000.0}};
    rectangular.sr = {{1, 23.5}, {17, 4.0e6}};
    add("rectangular concrete without rebars", model(3, records(rectangular, 1)), " NONLINEAR",
        line(" CROSS SECTION TYPE  : RECTANGULAR CONCRETE PILE  ") +
            value(" EQUIVALENT DIAMETER : ", "23.5000", "IN") + value(" EXTERNAL WIDTH      : ", "18.0000", "IN") +
            value(" EXTERNAL DEPTH      : ", "24.0000", "IN") + value(" CONCRETE FC         : ", "5000.00", PSI) +
            value(" EQ. YOUNG MODULUS   : ", "4.00000E+06", PSI));

    Nonlinear square;
    square.ni = {{1, 5}, {22, 2}};
    square.nr = {{1, 18.0}, {4, 8.0}, {5, 1.0}, {12, 6000.0}, {26, 0.5}, {27, 0.153}, {29, 270000.0}, {30, 30000.0}};
    square.sr = {{1, 20.3}, {17, 4.5e6}};
    Model kips = model(2, records(square, 1));
    kips.kkips = 1;
    add("square prestressed pile with strands, in kips", kips, " NONLINEAR",
        line(" CROSS SECTION TYPE  : SQUARE PRESTRESSED PILE    ") +
            value(" EQUIVALENT DIAMETER : ", "20.3000", "IN") + value(" EXTERNAL WIDTH      : ", "18.0000", "IN") +
            value(" CORNER CHAMFER      : ", "1.00000", "IN") + value(" VOID DIAMETER       : ", "8.00000", "IN") +
            value(" CONCRETE FC         : ", "6.00000", KSI) + line(" NUMBER STRANDS      : " + r("2", 13)) +
            value(" DIAMETER STRAND     : ", "0.50000", "IN") + value(" AREA STRAND         : ", "0.15300", "IN**2") +
            value(" FU STRAND           : ", "270.000", KSI) + value(" INITIAL PRESS. FORCE: ", "30.0000", "KIP") +
            value(" EQ. YOUNG MODULUS   : ", "4500.00", KSI));

    Nonlinear hPile;
    hPile.ni = {{1, 8}, {3, 1}};
    hPile.nr = {{1, 14.5}, {2, 14.0}, {6, 0.5}, {7, 0.7}, {13, 29.0e6}, {14, 50000.0}};
    hPile.sr = {{1, 14.0}, {17, 29.0e6}};
    add("steel H pile", model(3, records(hPile, 1)), " NONLINEAR",
        line(" CROSS SECTION TYPE  : STEEL H SECTION PILE       ") +
            value(" EQUIVALENT DIAMETER : ", "14.0000", "IN") + value(" EXTERNAL WIDTH      : ", "14.5000", "IN") +
            value(" EXTERNAL DEPTH      : ", "14.0000", "IN") + value(" FLANGE THICKNESS    : ", "0.70000", "IN") +
            value(" WEB THICKNESS       : ", "0.50000", "IN") + value(" ES STEEL            : ", "2.90000E+07", PSI) +
            value(" FY STEEL            : ", "50000.0", PSI));

    Nonlinear designated;
    designated.ni = {{1, 9}, {5, 12}, {30, 1}};
    designated.nr = {{10, 12.75}, {11, 0.375}, {13, 29.0e6}, {14, 35000.0}};
    designated.sr = {{1, 12.75}, {17, 29.0e6}};
    designated.designation = "PIPE12STD";
    add("designated pipe pile without its diameter line", model(3, records(designated, 1)), " NONLINEAR",
        line(" CROSS SECTION TYPE  : STEEL AISC SECTION PILE    ") + "\n" +
            line(" AISC SECTION NAME   : PIPE12STD                       ") +
            value(" DIAMETER STEEL      : ", "12.7500", "IN") + value(" THICKNESS STEEL     : ", "0.37500", "IN") +
            value(" ES STEEL            : ", "2.90000E+07", PSI) + value(" FY STEEL            : ", "35000.0", PSI));

    Nonlinear constantEI;
    constantEI.ni = {{1, 10}};
    constantEI.sr = {{1, 24.0}, {17, 29.0e6}};
    const std::string userEI = line(" CROSS SECTION TYPE  : USER DEFINED EI            ") +
                               value(" EQUIVALENT DIAMETER : ", "24.0000", "IN");
    add("user-defined EI, constant", model(3, records(constantEI, 1)), " NONLINEAR",
        userEI + value(" YOUNG MODULUS       : ", "2.90000E+07", PSI));
    Nonlinear fromSet = constantEI;
    fromSet.ni[28] = 1;
    Model withSet = model(2, records(fromSet, 1));
    withSet.kmphi = 1;
    add("user-defined EI from a user set: no modulus", withSet, " NONLINEAR", userEI);

    // SI: dimensions in millimetres, areas in square millimetres, stresses in kN per square metre.
    Nonlinear round;
    round.ni = {{1, 2}, {10, 1}};
    round.nr = {{3, 900.0}, {12, 30000.0}, {17, 491.0}, {18, 25.0}, {20, 2.0e8}, {21, 420000.0}};
    round.sr = {{1, 900.0}, {17, 2.5e7}};
    Model si = model(2, records(round, 1));
    si.units = 2;
    add("SI round shaft with rebars", si, " NONLINEAR",
        line(" CROSS SECTION TYPE  : ROUND CONCRETE SHAFT       ") +
            value(" EXTERNAL DIAMETER   : ", "900.000", "MM") + value(" CONCRETE FC         : ", "30000.0", KPA) +
            line(" NUMBER REBARS       : " + r("1", 13)) + value(" DIAMETER REINF.     : ", "25.0000", "MM") +
            value(" AREA REINFORCEMENT  : ", "491.000", "MM**2") +
            value(" ES REINFORCEMENT    : ", "2.00000E+08", KPA) + value(" FY REINFORCEMENT    : ", "4.20000E+05", KPA) +
            value(" EQ. YOUNG MODULUS   : ", "2.50000E+07", KPA));
    return cases;
}

TEST(EchoSections, CrossSectionDescriptions) {
    for (const Description& c : descriptionCases()) {
        SCOPED_TRACE(c.name);
        WorkDir dir;
        const std::string out = runTableE(dir, input(c.model));
        const std::string name = c.type == " ELASTIC" ? "Elastic section" : "Nonlinear section";
        EXPECT_EQ(between(out, "* PILE CROSS SECTIONS *", "* PILE CROSS SECTIONS PROPERTIES *"),
                  line("* PILE CROSS SECTIONS *") + described(name, c.type, c.lines) + "\n");
        closeModel();
    }
}

}  // namespace
}  // namespace kaldo::test
