// Unit labels of the reports for each units system, the column titles built from them, and the load
// type names of the case headings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loads/loads.h"
#include "model/blocks.h"
#include "model/labels.h"
#include "services/unitlbl.h"

namespace kaldo {
namespace {

struct LabelSet {
    const char* system;
    int code, kip;
    std::vector<std::string> labels;  // LBLTOL ... LBLRFORCE in declaration order
};

std::vector<std::string> currentLabels() {
    const UnitLabels& b = LABELS;
    return {b.LBLTOL,   b.LBLFORCE4, b.LBLLEN,  b.LBLFORCE, b.LBLSTRESS,  b.LBLCOORDL,
            b.LBLSECTL, b.LBLCOORD,  b.LBLSECT, b.LBLRFORCE4, b.LBLRFORCE};
}

const std::vector<LabelSet>& labelSets() {
    static const std::vector<LabelSet> sets = {
        {"English", 1, 0, {" IN", " LBS", "IN", "LBS", " PSI ", " FT", " IN", "FT", "IN", " LBS", "LBS"}},
        {"English, kip", 1, 1, {" IN", " LBS", "IN", "LBS", " PSI ", " FT", " IN", "FT", "IN", "KIPS", "KIP"}},
        {"English, kip option 2", 1, 2, {" IN", " LBS", "IN", "LBS", " PSI ", " FT", " IN", "FT", "IN", " LBS", "LBS"}},
        {"SI", -1, 0, {"  M", "  KN", " M", " KN", " KPA ", "  M", " MM", " M", "MM", "  KN", " KN"}},
        {"SI, kip", -1, 1, {"  M", "  KN", " M", " KN", " KPA ", "  M", " MM", " M", "MM", "  KN", " KN"}},
        {"generic", 0, 0, {"  L", "   F", " L", "  F", "F/L^2", "  L", "  L", " L", " L", "   F", "  F"}},
        {"generic, kip", 0, 1, {"  L", "   F", " L", "  F", "F/L^2", "  L", "  L", " L", " L", "   F", "  F"}},
    };
    return sets;
}

TEST(Labels, EachUnitsSystemGetsItsLabelsAtTheirWidths) {
    const std::vector<size_t> widths = {3, 4, 2, 3, 5, 3, 3, 2, 2, 4, 3};
    for (const LabelSet& s : labelSets()) {
        resetAllBlocks();
        UNITLBL(s.code, s.kip);
        const std::vector<std::string> got = currentLabels();
        EXPECT_EQ(got, s.labels) << s.system;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].size(), widths[i]) << s.system << " label " << i;
    }
}

struct UnitLines {
    const char* system;
    int code, kip;
    // Unit lines of the length, moment, force, load per length, stress and rigidity columns (1, 9, 12,
    // 15, 19, 20), then the depth column's unit line and the pile column's position cell.
    std::vector<std::string> lines;
};

TEST(Labels, ThreeDimensionalUnitLinesComposeTheLabels) {
    const UnitLines cases[] = {
        {"English", 1, 0,
         {"    IN    ", "  LBS-IN  ", "    LBS   ", "  LBS/IN  ", " LBS/IN**2", " LBS-IN**2", "    FT    ", " x(IN)"}},
        {"English, kip", 1, 1,
         {"    IN    ", "  KIP-IN  ", "    KIP   ", "  KIP/IN  ", " KIP/IN**2", " KIP-IN**2", "    FT    ", " x(IN)"}},
        {"SI", -1, 1,
         {"     M    ", "   KN- M  ", "     KN   ", "   KN/ M  ", "  KN/ M**2", "  KN- M**2", "     M    ", " x( M)"}},
        {"generic", 0, 1,
         {"     L    ", "    F- L  ", "      F   ", "    F/ L  ", "   F/ L**2", "   F- L**2", "     L    ", " x( L)"}},
    };
    for (const UnitLines& c : cases) {
        resetAllBlocks();
        UNITLBL(c.code, c.kip);
        COLHEAD(3);
        const UnitLabels& b = LABELS;
        const std::vector<std::string> got = {b.COLUNIT(1),  b.COLUNIT(9),  b.COLUNIT(12), b.COLUNIT(15),
                                              b.COLUNIT(19), b.COLUNIT(20), b.DEPHDR(3),   b.PILEHDR(4)};
        EXPECT_EQ(got, c.lines) << c.system;
        EXPECT_EQ(b.COLUNIT(24), std::string(10, ' ')) << c.system << ": demand/capacity has no unit";
        EXPECT_EQ(b.COLUNIT(25), std::string(10, ' ')) << c.system;
    }
}

TEST(Labels, ThreeDimensionalTitlesFillAllColumnsAndTheFixedPieces) {
    resetAllBlocks();
    UNITLBL(1, 0);
    COLHEAD(3);
    const UnitLabels& b = LABELS;
    for (int c = 1; c <= 25; ++c) {
        EXPECT_EQ(b.COLTTL1(c).size(), 10u) << "column " << c;
        EXPECT_EQ(b.COLTTL2(c).size(), 10u) << "column " << c;
        EXPECT_EQ(b.COLUNIT(c).size(), 10u) << "column " << c;
        EXPECT_NE(b.COLTTL1(c), std::string(10, ' ')) << "column " << c;
    }
    EXPECT_EQ(b.COLTTL1(4) + b.COLTTL2(4), "  DISPL.    y-z-DIR ");
    EXPECT_EQ(b.COLTTL1(15) + b.COLTTL2(15), "SOIL REACT   y-DIR  ");
    EXPECT_EQ(b.COLTTL1(18) + b.COLTTL2(18) + b.COLUNIT(18), " AXIAL F.    x-DIR      LBS   ");
    EXPECT_EQ(b.COLTTL1(23) + b.COLTTL2(23) + b.COLUNIT(23), "DIST. LOAD   z-DIR    LBS/IN  ");
    EXPECT_EQ(b.COLTTL1(25) + b.COLTTL2(25), " DEM./CAP.   SHEAR  ");
    EXPECT_EQ(b.DEPHDR(1) + "|" + b.DEPHDR(2) + "|", "     x    |          |");
    EXPECT_EQ(b.PILEHDR(1) + b.PILEHDR(2) + "|" + b.PILEHDR(3) + "|" + b.PILEHDR(5),
              "********** PILE |      |******");
}

TEST(Labels, PlaneTitlesStandInTheirColumnsAndLeaveTheOthersBlank) {
    resetAllBlocks();
    UNITLBL(-1, 0);
    COLHEAD(3);  // a previous build must not leave three-dimensional titles behind
    COLHEAD(2);
    const UnitLabels& b = LABELS;
    const std::string blank(10, ' ');
    struct Column {
        int c;
        const char* text;  // the three lines one after another
    };
    const Column used[] = {
        {1, "  DISPL.     x-DIR       M    "},  {2, "  DISPL.     y-DIR       M    "},
        {5, "  DISPL.     X-DIR       M    "},  {6, "  DISPL.     Y-DIR       M    "},
        {9, "  BENDING   MOMENT     KN- M  "},  {12, "   SHEAR     FORCE       KN   "},
        {15, "   SOIL    REACTION    KN/ M  "}, {18, "   AXIAL     FORCE       KN   "},
        {19, "   TOTAL    STRESS    KN/ M**2"}, {20, " FLEXURAL  RIGIDITY   KN- M**2"},
        {22, "DISTRIBUT.   LOAD      KN/ M  "}, {24, " DEM./CAP.  MOMENT            "},
        {25, " DEM./CAP.   SHEAR            "},
    };
    for (const Column& u : used)
        EXPECT_EQ(b.COLTTL1(u.c) + b.COLTTL2(u.c) + b.COLUNIT(u.c), u.text) << "column " << u.c;
    for (int c : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}) {
        EXPECT_EQ(b.COLTTL1(c), blank) << "column " << c;
        EXPECT_EQ(b.COLTTL2(c), blank) << "column " << c;
        EXPECT_EQ(b.COLUNIT(c), blank) << "column " << c;
    }
    EXPECT_EQ(b.DEPHDR(3), "     M    ");
    EXPECT_EQ(b.PILEHDR(4), " x( M)");
}

TEST(LoadType, CodesGiveTheirNamesPaddedTo32Characters) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {0, "Dead, DL"},      {1, "Live, LL"},      {2, "Seismic, EQ"},   {3, "Impact, IM"},
        {4, "Wind, WN"},      {5, "Water, WT"},     {6, "Ice, IC"},       {7, "Soils, Hsl"},
        {8, "Roof Live, Lr"}, {9, "Rain, Rn"},      {10, "Snow, Sn"},     {11, "Temperature, Tm"},
        {-1, "Special, Sp"},  {12, "Special, Sp"},  {100, "Special, Sp"},
    };
    for (const auto& c : cases) {
        std::string expected = c.name;
        expected.append(32 - expected.size(), ' ');
        EXPECT_EQ(LOADTYPE(c.code), expected) << "code " << c.code;
    }
}

}  // namespace
}  // namespace kaldo
