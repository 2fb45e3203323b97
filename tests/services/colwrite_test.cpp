// Report column writers: the run-time choice between fixed and exponent form, the pieces that leave the
// line open, and the line-buffer writers with their running position.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "io/units.h"
#include "services/colwrite.h"
#include "support/workdir.h"

namespace kaldo {
namespace {

using test::WorkDir;

// The whole text that the writers leave in a report file (closing the unit ends an open line).
std::string written(const std::function<void(io::Unit&)>& write) {
    WorkDir dir;
    io::Unit& u = io::unit(61);
    EXPECT_TRUE(u.open((dir / "col.txt").string(), io::Mode::Write));
    write(u);
    u.close();
    return dir.read("col.txt");
}

std::string unitField(int w, int d, double v) {
    return written([&](io::Unit& u) { WCOLREAL(u, w, d, v); });
}

std::string lineField(int w, int d, double v) {
    std::string line;
    int p = 1;
    WLINREAL(line, w, d, v, p);
    return line;
}

struct RealCase {
    int w, d;
    double v;
    const char* expected;
};

TEST(ColWriteReal, ChoosesFixedOrExponentFromValueWidthAndDigits) {
    const RealCase cases[] = {
        // w = 12, d = 5: the decade k of the value gives d - k decimals while that stays within d + 2.
        {12, 5, 12.5, "     12.5000"},     // k = 1: 4 decimals
        {12, 5, 0.5, "     0.50000"},      // k = 0: 5 decimals
        {12, 5, 0.05, "   0.0500000"},     // k = -2: 7 decimals
        {12, 5, 0.005, " 5.00000E-03"},    // k = -3: 8 decimals, too many
        {12, 5, 0.01, " 1.00000E-02"},     // log10 = -2 exactly, still lowered to k = -3
        {12, 5, 3e5, " 3.00000E+05"},      // at or above 10^d
        {12, 5, 1e5, " 1.00000E+05"},
        {12, 5, 99999.0, "     99999.0"},  // k = 4: 1 decimal
        {12, 5, -12.5, "    -12.5000"},
        {12, 5, -0.005, "-5.00000E-03"},
        {12, 5, 1e-60, "     0.00000"},    // negligible: a fixed zero
        {12, 5, -1e-60, "     0.00000"},
        {12, 5, 0.0, "     0.00000"},
        {12, 4, 0.1, "    0.100000"},      // k = -2: 6 decimals
        {12, 4, 0.05, "    0.050000"},
        // d = 2: the lower bound 10^(1-d) is the single-precision 0.1 (0.100000001490116...).
        {10, 2, 0.1, "  1.00E-01"},        // double 0.1 lies below the single-precision bound
        {10, 2, 0.100000001, "  1.00E-01"},
        {10, 2, 0.1000001, "      0.10"},
        // Too wide for the field: asterisks; the field is never widened.
        {6, 5, 12.5, "******"},
        {8, 5, 3e5, "********"},
    };
    for (const RealCase& c : cases)
        EXPECT_EQ(unitField(c.w, c.d, c.v), std::string(c.expected) + "\n")
            << "w " << c.w << " d " << c.d << " v " << c.v;
}

TEST(ColWriteLine, RealHasItsOwnLowerBound) {
    // With d = 4 the line writer's lower bound is 10^(3-4), the single-precision 0.1: 0.1 and 0.05
    // go to exponent form in a line buffer where the unit writer shows them fixed.
    const RealCase cases[] = {
        {12, 4, 0.1, "  1.0000E-01"},
        {12, 4, 0.05, "  5.0000E-02"},
        {12, 4, 0.1000001, "      0.1000"},  // k = 0 above the bound: 4 decimals
        {12, 4, 0.5, "      0.5000"},
        {12, 4, 25.0, "      25.000"},
        {12, 4, 1e4, "  1.0000E+04"},
        {12, 4, 1e-60, "      0.0000"},
        {12, 5, 0.05, "   0.0500000"},     // d = 5: bound 0.01, the same as the unit writer here
        {12, 5, 0.01, " 1.00000E-02"},
        {5, 4, 25.0, "*****"},
    };
    for (const RealCase& c : cases)
        EXPECT_EQ(lineField(c.w, c.d, c.v), c.expected) << "w " << c.w << " d " << c.d << " v " << c.v;
}

TEST(ColWriteLine, WritersPlaceAtTheOneBasedPositionAndAdvanceIt) {
    std::string line = "AB";
    int p = 3;
    WLINREAL(line, 8, 3, 1.5, p);  // positions 3 to 10, the line grows with the field
    EXPECT_EQ(line, "AB   1.500");
    EXPECT_EQ(p, 11);
    WLINBLNK(line, 3, p);
    EXPECT_EQ(line, "AB   1.500   ");
    EXPECT_EQ(p, 14);
    WLINBLNK(line, 0, p);
    WLINBLNK(line, -2, p);
    EXPECT_EQ(line, "AB   1.500   ");
    EXPECT_EQ(p, 14);

    // Inside a longer line only the field's own positions change.
    std::string row(20, 'x');
    int q = 5;
    WLINREAL(row, 7, 4, -2.5, q);
    EXPECT_EQ(row, "xxxx-2.5000xxxxxxxxx");
    EXPECT_EQ(q, 12);
    WLINBLNK(row, 4, q);
    EXPECT_EQ(row, "xxxx-2.5000    xxxxx");
    EXPECT_EQ(q, 16);
}

TEST(ColWritePieces, PiecesShareOneLineUntilTheEndOfLineWriter) {
    std::string text = written([](io::Unit& u) {
        WCOLA3(u, "LBS");
        WCOLBLNK(u, 2);
        WCOLINT(u, 4, 7);
        WCOLREAL(u, 10, 3, 1.5);
        WCOLEOL(u);
        WCOLA1(u, "X");
        WCOLA2(u, "AB");
        WCOLA6(u, "PILE 1");
        WCOLA10(u, "  DISPL.  ");
        WCOLEOL(u);
        WCOLEOL(u);  // no open line: a line of one blank
    });
    EXPECT_EQ(text,
              "LBS     7     1.500 \n"
              "XAB PILE 1    DISPL.    \n"
              " \n");
}

TEST(ColWritePieces, IntegersBlanksAndTrimmedTexts) {
    EXPECT_EQ(written([](io::Unit& u) { WCOLINT(u, 5, 42); }), "   42\n");
    EXPECT_EQ(written([](io::Unit& u) { WCOLINT(u, 5, -42); }), "  -42\n");
    EXPECT_EQ(written([](io::Unit& u) { WCOLINT(u, 2, 123); }), "**\n");

    EXPECT_EQ(written([](io::Unit& u) { WCOLA1(u, "A"); WCOLBLNK(u, 0); WCOLBLNK(u, -3); WCOLA1(u, "B"); }),
              "AB\n");
    EXPECT_EQ(written([](io::Unit& u) { WCOLA1(u, "A"); WCOLBLNK(u, 3); WCOLA1(u, "B"); }), "A   B\n");

    std::string name = "SAND  LAYER 2";
    name.resize(256, ' ');
    EXPECT_EQ(written([&](io::Unit& u) { WCOLA1(u, "<"); WCOLTRIM(u, name); WCOLA1(u, ">"); }),
              "<SAND  LAYER 2>\n");
    EXPECT_EQ(written([](io::Unit& u) { WCOLA1(u, "<"); WCOLTRIM(u, std::string(256, ' ')); WCOLA1(u, ">"); }),
              "<>\n");
}

}  // namespace
}  // namespace kaldo
