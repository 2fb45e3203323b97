// The fixed-format field writers, checked against expectations worked out by hand from the edit
// descriptor rules. Each table row shows the descriptor, the value and the exact field; a comment says
// why where the result is not obvious. Exact binary values quoted below are those of the double
// nearest the decimal literal (2.675 is 2.67499999999999982236...).
#include "io/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace kaldo::io {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// "1PE15.8 of 1234.5": the descriptor and the value with all its digits, for failure messages.
std::string describe(int scale, char letter, int w, int d, double v) {
    char scaled[16] = "";
    if (scale != 0) std::snprintf(scaled, sizeof scaled, "%dP", scale);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%c%d.%d of %.17g", scaled, letter, w, d, v);
    return buf;
}

struct IntCase {
    int w, m;
    long long v;
    const char* want;
};

TEST(FormatI, RightAlignsWithSignAndMinimumDigits) {
    const IntCase cases[] = {
        {5, -1, 42, "   42"},
        {5, -1, -42, "  -42"},
        {3, -1, 0, "  0"},
        {5, 3, 7, "  007"},
        {5, 3, -7, " -007"},
        {4, 3, -7, "-007"},
        {5, 2, 12345, "12345"},  // m below the digit count changes nothing
        {3, 0, 0, "   "},        // Iw.0 of zero shows no digit at all
        {3, 0, 5, "  5"},
        {20, -1, LLONG_MIN, "-9223372036854775808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fmtI(c.w, c.v, c.m), c.want) << "I" << c.w << "." << c.m << " of " << c.v;
}

TEST(FormatI, TooWideFillsWithAsterisks) {
    const IntCase cases[] = {
        {3, -1, 999, "999"},
        {3, -1, 1000, "***"},
        {3, -1, -99, "-99"},
        {3, -1, -100, "***"},  // the sign takes a column
        {3, 3, -7, "***"},     // "-007" needs four
        {2, 3, 7, "**"},
        {0, -1, 5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fmtI(c.w, c.v, c.m), c.want) << "I" << c.w << "." << c.m << " of " << c.v;
}

struct FixedCase {
    int w, d;
    double v;
    std::string want;
};

void checkF(const std::vector<FixedCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(fmtF(c.w, c.d, c.v), c.want) << describe(0, 'F', c.w, c.d, c.v);
}

TEST(FormatF, RoundsTheExactBinaryValueTiesToEven) {
    checkF({
        {5, 2, 0.125, " 0.12"},  // exact tie: 2 is even
        {5, 2, 0.375, " 0.38"},  // exact tie: 8 is even
        {4, 0, 2.5, "  2."},
        {4, 0, 3.5, "  4."},
        {8, 2, 2.675, "    2.67"},  // 2.67499999... is below the tie
        {8, 2, 1.005, "    1.00"},  // 1.00499999...
        {8, 1, 0.35, "     0.3"},   // 0.34999999...
        {8, 3, 1234.5678, "1234.568"},
        {8, 3, -1234.5678, "********"},
    });
}

TEST(FormatF, WholeNumberFormKeepsItsPoint) {
    checkF({
        {4, 0, 0.4, "  0."},
        {4, 0, 123.0, "123."},
        {3, 0, 123.0, "***"},
        {2, 0, 0.0, "0."},
        {1, 0, 0.4, "*"},    // "0." has no shorter form
        {2, 0, -0.4, "**"},  // "-0." needs three
        {3, 0, -0.4, "-0."},
    });
}

TEST(FormatF, LeadingZeroDroppedOnlyWhenFieldTooNarrow) {
    checkF({
        {6, 3, 0.5, " 0.500"},
        {5, 3, 0.5, "0.500"},
        {4, 3, 0.5, ".500"},
        {3, 3, 0.5, "***"},
        {6, 3, -0.5, "-0.500"},
        {5, 3, -0.5, "-.500"},
        {4, 3, -0.5, "****"},
        {4, 1, 9.96, "10.0"},     // rounds up into a second integer digit
        {4, 1, -9.96, "****"},    // "-10.0" has no zero to drop
        {4, 1, 99.96, "****"},    // "100.0"
    });
}

TEST(FormatF, NegativeRoundingToZeroKeepsItsSign) {
    checkF({
        {6, 3, -0.0001, "-0.000"},
        {5, 3, -0.0001, "-.000"},
        {6, 3, -0.0, "-0.000"},
        {6, 3, 0.0001, " 0.000"},
        {3, 1, -0.04, "-.0"},
        {2, 1, -0.04, "**"},
    });
}

TEST(FormatF, WideFieldsShowEveryDigit) {
    // 1e20 and 1e22 are exact doubles; the second field is longer than any usual report field.
    checkF({
        {10, 2, 1e20, "**********"},
        {30, 2, 1e20, "      100000000000000000000.00"},
        {130, 100, 1e22, "      10000000000000000000000." + std::string(100, '0')},
        {60, 50, 0.1, "        0.10000000000000000555111512312578270211815834045410"},  // ...0410|15625
    });
}

TEST(FormatAll, NonFiniteValuesAreWrittenAsWords) {
    const struct {
        const char* field;
        std::string got;
        const char* want;
    } cases[] = {
        {"F3.0 of NaN", fmtF(3, 0, kNaN), "NaN"},
        {"F2.0 of NaN", fmtF(2, 0, kNaN), "**"},
        {"F7.0 of Inf", fmtF(7, 0, kInf), "    Inf"},
        {"F8.0 of Inf", fmtF(8, 0, kInf), "Infinity"},
        {"F3.0 of -Inf", fmtF(3, 0, -kInf), "***"},
        {"F8.0 of -Inf", fmtF(8, 0, -kInf), "    -Inf"},
        {"F9.0 of -Inf", fmtF(9, 0, -kInf), "-Infinity"},
        {"E12.4 of NaN", fmtE(12, 4, kNaN), "         NaN"},
        {"1PE12.4 of Inf", fmtE(12, 4, kInf, 1), "    Infinity"},
        {"G12.4 of -Inf", fmtG(12, 4, -kInf), "   -Infinity"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.field;
}

// scale, w, d: {1, 15, 8, ...} is 1PE15.8.
struct ScaledCase {
    int scale, w, d;
    double v;
    const char* want;
};

void checkE(const std::vector<ScaledCase>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(fmtE(c.w, c.d, c.v, c.scale), c.want) << describe(c.scale, 'E', c.w, c.d, c.v);
}

void checkG(const std::vector<ScaledCase>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(fmtG(c.w, c.d, c.v, c.scale), c.want) << describe(c.scale, 'G', c.w, c.d, c.v);
}

TEST(FormatE, RoundsToDSignificantDigitsTiesToEven) {
    checkE({
        {0, 12, 4, 1234.5, "  0.1234E+04"},  // tie 1234|5: 4 is even
        {0, 12, 4, 1235.5, "  0.1236E+04"},  // tie 1235|5: up to the even 6
        {0, 12, 4, -1234.5, " -0.1234E+04"},
        {0, 10, 1, 0.25, "   0.2E+00"},
        {0, 10, 1, 0.75, "   0.8E+00"},
        {0, 10, 1, 0.35, "   0.3E+00"},  // 0.34999999...
        {0, 12, 4, 1.0, "  0.1000E+01"},
        {0, 12, 4, 0.001, "  0.1000E-02"},
        {0, 10, 3, 0.99996, " 0.100E+01"},  // carries into the next decade
    });
}

TEST(FormatE, ZeroHasExponentZero) {
    checkE({
        {0, 12, 4, 0.0, "  0.0000E+00"},
        {0, 12, 4, -0.0, " -0.0000E+00"},
        {1, 12, 4, 0.0, "  0.0000E+00"},
        {1, 12, 4, -0.0, " -0.0000E+00"},
    });
}

TEST(FormatE, LeadingZeroDroppedOnlyWhenFieldTooNarrow) {
    checkE({
        {0, 9, 2, 0.5, " 0.50E+00"},
        {0, 8, 2, 0.5, "0.50E+00"},
        {0, 7, 2, 0.5, ".50E+00"},
        {0, 6, 2, 0.5, "******"},
        {0, 8, 2, -0.5, "-.50E+00"},
        {0, 11, 4, -1234.5, "-0.1234E+04"},
        {0, 10, 4, -1234.5, "-.1234E+04"},
        {0, 9, 4, -1234.5, "*********"},
    });
}

TEST(FormatE, ThreeDigitExponentDropsTheLetter) {
    checkE({
        {0, 10, 4, 1e100, "0.1000+101"},
        {0, 9, 4, 1e100, ".1000+101"},
        {0, 10, 4, 1e99, "0.1000+100"},
        {0, 11, 3, 1e-100, "  0.100E-99"},  // 1e-100 is 0.1E-99: still two digits
        {0, 11, 3, 1e-101, "  0.100-100"},
        {0, 12, 3, std::numeric_limits<double>::max(), "   0.180+309"},         // 1.797...e308
        {0, 12, 3, std::numeric_limits<double>::denorm_min(), "   0.494-323"},  // 4.94...e-324
        {1, 11, 4, -1e200, "-1.0000+200"},
        {1, 11, 4, 1e-200, " 1.0000-200"},
    });
}

TEST(FormatE, ScaleFactorMovesDigitsBeforeThePoint) {
    // kP with k > 0: k digits before the point, d-k+1 after it.
    checkE({
        {1, 15, 8, 1234.5, " 1.23450000E+03"},
        {1, 10, 4, 1234.5, "1.2345E+03"},
        {1, 10, 4, -1234.5, "**********"},  // no optional zero to give up
        {1, 10, 3, 9.9996, " 1.000E+01"},   // carries into the next decade
        {1, 12, 4, 0.00123456, "  1.2346E-03"},
        {1, 10, 0, 5.0, "    5.E+00"},
        {2, 12, 4, 1234.5, "  12.345E+02"},
        {5, 12, 4, 1234.5, "  12345.E-01"},
        {0, 10, 0, 5.0, "**********"},  // E10.0 has no digit to show
    });
}

TEST(FormatG, FixedFormForMidRangeValuesThenFourBlanks) {
    // k integer digits of the rounded value: F(w-4).(d-k) and four blanks.
    checkG({
        {0, 12, 4, 1.0, "   1.000    "},
        {0, 12, 4, 0.5, "  0.5000    "},         // k = 0: F8.4
        {0, 12, 4, -0.5, " -0.5000    "},
        {0, 15, 8, 1234.5, "  1234.5000    "},   // k = 4: F11.4
        {0, 10, 3, 123.456, "  123.    "},       // k = 3: F6.0, trailing point
        {0, 12, 4, 9999.4, "   9999.    "},
        {0, 10, 4, 0.5, "0.5000    "},
        {0, 9, 4, 0.5, ".5000    "},             // F5.4 drops its leading zero
        {1, 12, 4, 5.0, "   5.000    "},         // the scale factor plays no part here
        {0, 6, 1, 1.0, "1.    "},
        {0, 5, 1, 1.0, "*****"},                 // F1.0 cannot hold "1."
        {0, 5, 2, 0.5, "*****"},
    });
}

TEST(FormatG, ZeroIsFixedFormWithDMinusOneDecimals) {
    checkG({
        {0, 12, 4, 0.0, "   0.000    "},
        {0, 12, 4, -0.0, "  -0.000    "},
        {1, 12, 4, 0.0, "   0.000    "},
    });
}

TEST(FormatG, FormChosenAfterRoundingToDSignificantDigits) {
    checkG({
        {0, 12, 4, 9999.6, "  0.1000E+05"},  // rounds to 10000: out of the fixed range
        {0, 12, 4, 9999.5, "  0.1000E+05"},  // tie 9999|5: up to the even 10000
        {0, 12, 4, 9998.5, "   9998.    "},  // tie 9998|5: stays at the even 9998
        {0, 14, 6, 999999.5, "  0.100000E+07"},
        {0, 14, 6, 999998.5, "   999998.    "},
        {0, 12, 4, 0.09996, "  0.9996E-01"},  // 0.099959999...: stays below 0.1
        {0, 12, 4, 0.0999949, "  0.9999E-01"},
        {0, 12, 4, 0.099996, "  0.1000    "},  // rounds up to 0.1000: fixed, F8.4
        {0, 12, 4, 0.1, "  0.1000    "},
        {0, 16, 5, -99.9995, "     -99.999    "},  // -99.99949999...: five digits give 99.999, not 100.00
        {0, 12, 4, -0.00001, " -0.1000E-04"},
        {0, 11, 4, -9999.6, "-0.1000E+05"},
        {0, 10, 4, -9999.6, "-.1000E+05"},
    });
}

// The fixed form of G is the F field of d - (e + 1) decimals, e the decimal exponent of the value rounded
// to d significant digits (here taken from the C library's own %e conversion), followed by four
// blanks (asterisks over the whole field when it cannot hold them): checked over values of every
// magnitude the fixed form covers, both signs, values just below a power of ten (where the rounding
// carries into the next decade) and narrow fields.
TEST(FormatG, FixedFormIsTheFFieldOfItsDecimals) {
    std::uint64_t state = 88172645463325252ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    struct Field {
        int w, d;
    };
    const Field fields[] = {{16, 8}, {12, 5}, {10, 3}, {9, 4}, {7, 3}, {25, 17}};
    int checked = 0;
    for (int i = 0; i < 60000; ++i) {
        const double mantissa = 1.0 + static_cast<double>(next() % 1000000007ull) / 1000000007.0 * 9.0;
        const int exp10 = static_cast<int>(next() % 12) - 3;
        double v = mantissa * std::pow(10.0, exp10);
        if (i % 7 == 0) v = std::pow(10.0, exp10) * (1.0 - 1e-9 * static_cast<double>(next() % 1000));
        if (next() % 2) v = -v;
        for (const Field& f : fields) {
            char sci[64];
            std::snprintf(sci, sizeof sci, "%.*e", f.d - 1, std::fabs(v));
            const int e = std::atoi(std::strchr(sci, 'e') + 1);
            if (e < -1 || e >= f.d) continue;
            // A value the F field cannot hold fills the whole G field with asterisks.
            const std::string fixed = fmtF(f.w - 4, f.d - (e + 1), v);
            const std::string expected = fixed.find_first_not_of('*') == std::string::npos
                                             ? std::string(static_cast<std::size_t>(f.w), '*')
                                             : fixed + "    ";
            ASSERT_EQ(fmtG(f.w, f.d, v, 1), expected) << "G" << f.w << "." << f.d << " of " << sci;
            ASSERT_EQ(fmtG(f.w, f.d, v, 0), expected);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100000);
}

TEST(FormatG, ScaleFactorAppliesToExponentForm) {
    checkG({
        {1, 12, 4, 1e7, "  1.0000E+07"},
        {1, 12, 4, 1e-3, "  1.0000E-03"},
        {1, 10, 0, 5.0, "    5.E+00"},  // Gw.0 is always the exponent form
    });
}

TEST(FormatA, CutsLongTextAndRightAlignsShortText) {
    const struct {
        int w;
        const char* s;
        const char* want;
    } cases[] = {
        {-1, "PILE GROUP", "PILE GROUP"},
        {4, "PILE GROUP", "PILE"},
        {10, "PILE GROUP", "PILE GROUP"},
        {12, "PILE GROUP", "  PILE GROUP"},
        {3, "", "   "},
        {0, "PILE", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(fmtA(c.w, c.s), c.want) << "A" << c.w << " of '" << c.s << "'";
}

TEST(FreeForm, IntegersAsTheyAre) {
    EXPECT_EQ(freeInt(0), "0");
    EXPECT_EQ(freeInt(-42), "-42");
    EXPECT_EQ(freeInt(LLONG_MIN), "-9223372036854775808");
}

TEST(FreeForm, RealsShortestButAlwaysReadAsReal) {
    const struct {
        double v;
        const char* want;
    } cases[] = {
        {5.0, "5.0"},
        {-0.0, "-0.0"},
        {10000.0, "10000.0"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.3333333333333333"},
        {1e-20, "1e-20"},
        {1e20, "1e+20"},
        {100000.0, "1e+05"},  // shorter than "100000", and already a real
    };
    for (const auto& c : cases) {
        char v[32];
        std::snprintf(v, sizeof v, "%.17g", c.v);
        EXPECT_EQ(freeReal(c.v), c.want) << "free form of " << v;
    }
}

TEST(Render, EachDescriptorWritesItsField) {
    EXPECT_EQ(render(I(5, 42)), "   42");
    EXPECT_EQ(render(I(5, 3, 7)), "  007");
    EXPECT_EQ(render(F{5, 2, 0.125}), " 0.12");
    EXPECT_EQ(render(E{12, 4, 1234.5}), "  0.1234E+04");
    EXPECT_EQ(render(PE{15, 8, 1234.5}), " 1.23450000E+03");
    EXPECT_EQ(render(G{12, 4, 0.0}), "   0.000    ");
    EXPECT_EQ(render(G{12, 4, 1e7}), "  0.1000E+08");
    EXPECT_EQ(render(PG{12, 4, 1e7}), "  1.0000E+07");
    EXPECT_EQ(render(PG{12, 4, 5.0}), "   5.000    ");
    EXPECT_EQ(render(A(5, "AB")), "   AB");
    EXPECT_EQ(render(A("LOAD CASE")), "LOAD CASE");
    EXPECT_EQ(render(X{3}), "   ");
    EXPECT_EQ(render(X{0}), "");
    EXPECT_EQ(render(X{-2}), "");
    EXPECT_EQ(render(Rep{4, '='}), "====");
    EXPECT_EQ(render(Rep{0, '-'}), "");
}

}  // namespace
}  // namespace kaldo::io
