// Reading of the load cases, the load combinations and the sets of distributed load: where each value
// lands, where the next section starts, and the faults that stop the run with their status and place.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "input/inputfile.h"
#include "input/readsections.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/status.h"
#include "support/workdir.h"

namespace kaldo {
namespace {

using test::WorkDir;

// ---------------------------------------------------------------------------------------------------
// Reading the three sections straight from a file, as READIN does after the pile cap.

struct DirectRead {
    std::optional<io::InputError> fault;
    std::string next;  // the line after the three sections, trailing blanks cut
    long nextLine = 0; // its line number
};

// Reads the sections of text (its first line is the load-case heading) after resetting the blocks and
// setting the analysis type; model() stands for the later sections before the deferred checks run.
DirectRead readDirect(const std::string& text, int antype = 3, const std::function<void()>& model = {}) {
    WorkDir dir;
    dir.write("loads.inp", text);
    resetAllBlocks();
    CTLIN.ANTYPE = antype;
    io::Unit& u = io::unit(15);
    EXPECT_TRUE(u.open((dir / "loads.inp").string(), io::Mode::Read));
    DirectRead out;
    InputFile in(u);
    try {
        readLoadSections(in);
        std::string line;
        if (u.nextLine(line)) {
            out.next = line.substr(0, line.find_last_not_of(' ') + 1);
            out.nextLine = u.lineNumber();
        }
        if (model) model();
        in.runDeferred();
    } catch (const io::InputError& e) {
        out.fault = e;
    }
    u.close();
    return out;
}

// Two cases (the first with values at a point, the second a stiffness estimation without values), one
// combination whose two term counts differ, two sets of distributed load, then the next heading.
const std::string kFullSections =
    "LOAD CASES\n"                                                              // 1
    "2 1 2 3 0\n"                                                               // 2
    "1 0 1 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0\n"                      // 3
    "7 8 4 1 3 100 50\n"                                                        // 4  case 1
    "0.001 0.0001 0.5 0.01\n"                                                   // 5
    "Lateral push, with point values\n"                                         // 6
    "1 0 0 0 0 0 1 1\n"                                                         // 7
    "2 5 1.5 1 0.01 0.002 1 0 1\n"                                              // 8
    "9\n"                                                                       // 9
    "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25\n"      // 10
    "2\n"                                                                       // 11
    "100 200 300 400 500 600 1 2 3\n"                                           // 12
    "-1 -2 -3 -4 -5 -6 -7 -8 -9\n"                                              // 13
    "1\n"                                                                       // 14
    "0 1 2 4 1 1 0.5 2 -0.25\n"                                                 // 15
    "3\n"                                                                       // 16
    "0.25\n0.5\n1.0\n"                                                          // 17-19
    "0 1 0 1 0 1\n"                                                             // 20
    "0.1 0 0 20 0.003 0\n"                                                      // 21
    "0 0.4 0 0.5 0.6 0\n"                                                       // 22
    "1.5 2.5 3.5\n"                                                             // 23
    "1 1 0 1 0 20 30\n"                                                         // 24 case 2
    "0.01 0.02 1 0.1\n"                                                         // 25
    "Second case\n"                                                             // 26
    "4 11 0 0 0 0 0 0\n"                                                        // 27
    "0 1 1 0 0 0 0 1 0\n"                                                       // 28
    "0\n"                                                                       // 29
    "25*0\n"                                                                    // 30
    "0\n0\n0\n"                                                                 // 31-33
    "COMBINATIONS\n"                                                            // 34
    "1 0 1 1 0\n"                                                               // 35
    "0 0 2 1 0 40 60\n"                                                         // 36
    "0.002 0.003 0.25 0.05\n"                                                   // 37
    "Both cases\n"                                                              // 38
    "0.75 0.9 5\n"                                                              // 39
    "1 1 0 0.5 0.6 1 0 1\n"                                                     // 40
    "0\n"                                                                       // 41
    "25*1\n"                                                                    // 42
    "2\n"                                                                       // 43
    "2 1.4\n"                                                                   // 44
    "1 -0.9\n"                                                                  // 45
    "DISTRIBUTED LOADS\n"                                                       // 46
    "2\n"                                                                       // 47
    "3\n0 10\n5 20\n10 0\n"                                                     // 48-51
    "1\n0 7\n"                                                                  // 52-53
    "PILE ARRANGEMENT\n";                                                       // 54

TEST(ReadLoadsDirect, CasesLandInTheirColumns) {
    DirectRead r = readDirect(kFullSections, 3, [] { GRPIN3.NROW = 4; });
    ASSERT_FALSE(r.fault) << r.fault->what();
    EXPECT_EQ(r.next, "PILE ARRANGEMENT");
    EXPECT_EQ(r.nextLine, 54);

    EXPECT_EQ(LCDEF.NLC, 2);
    EXPECT_EQ(OPTENV.ENVLC, 1);
    EXPECT_EQ(OPTENV.KPRINTLC, 2);
    EXPECT_EQ(OPTENV.NPREVLC, 3);
    for (int k = 1; k <= NCOLSEL; ++k) {
        const int expected = (k == 1 || k == 3 || k == 6 || k == 23 || k == 24) ? 1 : 0;
        EXPECT_EQ(OPTENV.ENVCOLSEL(k, 1), expected) << "case envelope column " << k;
    }

    // Case 1: run parameters, name, options and counts.
    const int par1[] = {7, 8, 4, 1, 3, 100, 50};
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(LCPAR(1, k), par1[k - 1]) << "LCPAR column " << k;
    const double real1[] = {0.001, 0.0001, 0.5, 0.01, 1.5, 0.01, 0.002};
    for (int k = 1; k <= 7; ++k) EXPECT_DOUBLE_EQ(LCREAL(1, k), real1[k - 1]) << "LCREAL column " << k;
    EXPECT_EQ(LCDEF.LCNAME(1), "Lateral push, with point values" + std::string(49, ' '));
    EXPECT_EQ(LCDEF.LCNAME(1).size(), 80u);
    EXPECT_EQ(LCOPT(1, 1), 1);
    EXPECT_EQ(LCOPT(1, 7), 1);
    EXPECT_EQ(LCSD.SDFLAG(1), 1);
    struct Cnt {
        int col, value;
    };
    for (Cnt c : {Cnt{1, 2}, Cnt{2, 1}, Cnt{3, 3}, Cnt{4, 2}, Cnt{5, 5}, Cnt{6, 1}, Cnt{7, 1}, Cnt{8, 0},
                  Cnt{9, 9}, Cnt{37, 1}})
        EXPECT_EQ(LCCNT(1, c.col), c.value) << "LCCNT column " << c.col;
    for (int k = 1; k <= NCOLSEL; ++k) EXPECT_EQ(LCCNT(1, 11 + k), k) << "column flag " << k;

    // Its concentrated loads, distributed-load entry and stiffness values.
    for (int k = 1; k <= 9; ++k) {
        EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 1, k), k <= 6 ? 100.0 * k : k - 6.0) << "load 1 item " << k;
        EXPECT_DOUBLE_EQ(LCCL.CLOAD(1, 2, k), -double(k)) << "load 2 item " << k;
    }
    EXPECT_EQ(LCDL.DLAXIS(1, 1), 1);
    EXPECT_EQ(LCDL.DLPIL1(1, 1), 2);
    EXPECT_EQ(LCDL.DLPIL2(1, 1), 4);
    EXPECT_EQ(LCDL.DLPINC(1, 1), 1);
    EXPECT_EQ(LCDL.DLSETY(1, 1), 1);
    EXPECT_DOUBLE_EQ(LCDL.DLFACY(1, 1), 0.5);
    EXPECT_EQ(LCDL.DLSETZ(1, 1), 2);
    EXPECT_DOUBLE_EQ(LCDL.DLFACZ(1, 1), -0.25);
    EXPECT_DOUBLE_EQ(FSDDAT.FSDV(1, 1), 0.25);
    EXPECT_DOUBLE_EQ(FSDDAT.FSDV(1, 2), 0.5);
    EXPECT_DOUBLE_EQ(FSDDAT.FSDV(1, 3), 1.0);
    EXPECT_DOUBLE_EQ(FSDDAT.FSDV(1, 4), 0.0);

    // Its values at a point: flags, (displacement, load) pairs and the point.
    const int kdof[] = {0, 1, 0, 1, 0, 1};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(LCSD.KDOF(1, k), kdof[k - 1]) << "KDOF " << k;
    const double sdv[] = {0.1, 0, 0, 20, 0.003, 0, 0, 0.4, 0, 0.5, 0.6, 0};
    for (int k = 1; k <= 12; ++k) EXPECT_DOUBLE_EQ(LCSD.SDV(1, k), sdv[k - 1]) << "SDV " << k;
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(1, 1), 1.5);
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(1, 2), 2.5);
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(1, 3), 3.5);

    // Case 2 has no values at a point and no loads: its records end with the three counts.
    EXPECT_EQ(LCDEF.LCNAME(2).substr(0, 12), "Second case ");
    EXPECT_EQ(LCPAR(2, 6), 20);
    EXPECT_EQ(LCPAR(2, 7), 30);
    EXPECT_DOUBLE_EQ(LCREAL(2, 4), 0.1);
    EXPECT_EQ(LCOPT(2, 1), 4);
    EXPECT_EQ(LCOPT(2, 2), 11);
    EXPECT_EQ(LCSD.SDFLAG(2), 0);
    EXPECT_EQ(LCCNT(2, 5), 1);
    EXPECT_EQ(LCCNT(2, 8), 1);
    for (int col : {1, 2, 3}) EXPECT_EQ(LCCNT(2, col), 0) << "count column " << col;
    EXPECT_DOUBLE_EQ(LCSD.SDLOC(2, 1), 0.0);
}

// A point's flag says which of its pair is given, the displacement (0) or the load (1); any other value
// would keep both, which the solution cannot honour, and is refused where it stands.
TEST(ReadLoadsDirect, APointFlagOtherThanDisplacementOrLoadIsRefused) {
    for (const char* flags : {"0 1 2 1 0 1", "0 1 0 1 -1 1"}) {
        std::string text = kFullSections;
        const auto at = text.find("0 1 0 1 0 1\n");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 11, flags);
        DirectRead r = readDirect(text);
        ASSERT_TRUE(r.fault) << flags;
        EXPECT_EQ(r.fault->kind, io::InputError::BadValue) << flags;
        EXPECT_EQ(r.fault->section, "LOAD CASES");
        EXPECT_EQ(r.fault->line, 20);
        const std::string what = r.fault->what();
        EXPECT_NE(what.find("kind of value given at the point, item "), std::string::npos) << what;
        EXPECT_NE(what.find("0 displacement, 1 load"), std::string::npos) << what;
    }
}

TEST(ReadLoadsDirect, CombinationKeepsItsSecondTermCountAndSetsTheirPoints) {
    DirectRead r = readDirect(kFullSections, 3, [] { GRPIN3.NROW = 4; });
    ASSERT_FALSE(r.fault) << r.fault->what();

    EXPECT_EQ(LCBDEF.NCOMB, 1);
    EXPECT_EQ(OPTENV.ENVCB, 0);
    EXPECT_EQ(OPTENV.KPRINTCB, 1);
    EXPECT_EQ(OPTENV.NPREVCB, 1);
    for (int k = 1; k <= NCOLSEL; ++k) EXPECT_EQ(OPTENV.ENVCOLSEL(k, 2), 0) << "no combination envelope flags";
    EXPECT_EQ(LCBDEF.LCBNAME(1), "Both cases" + std::string(70, ' '));
    EXPECT_EQ(LCBPAR(1, 6), 40);
    EXPECT_EQ(LCBPAR(1, 7), 60);
    const double real[] = {0.002, 0.003, 0.25, 0.05, 0.75, 0.9, 0.5, 0.6};
    for (int k = 1; k <= 8; ++k) EXPECT_DOUBLE_EQ(LCBREAL(1, k), real[k - 1]) << "LCBREAL column " << k;
    struct Cnt {
        int col, value;
    };
    for (Cnt c : {Cnt{1, 2}, Cnt{2, 1}, Cnt{3, 1}, Cnt{4, 0}, Cnt{5, 1}, Cnt{6, 0}, Cnt{7, 0}, Cnt{34, 1}})
        EXPECT_EQ(LCBCNT(1, c.col), c.value) << "LCBCNT column " << c.col;
    for (int k = 9; k <= 33; ++k) EXPECT_EQ(LCBCNT(1, k), 1) << "column flag " << k - 8;
    EXPECT_EQ(LCBLST.LCBCASE(1, 1), 2);
    EXPECT_DOUBLE_EQ(LCBLST.LCBFAC(1, 1), 1.4);
    EXPECT_EQ(LCBLST.LCBCASE(1, 2), 1);
    EXPECT_DOUBLE_EQ(LCBLST.LCBFAC(1, 2), -0.9);
    EXPECT_EQ(LCBLST.LCBCASE(1, 3), 0) << "only the two terms of the second count are read";

    EXPECT_EQ(DLS.NSETS, 2);
    EXPECT_EQ(DLS.NPTS(1), 3);
    EXPECT_EQ(DLS.NPTS(2), 1);
    EXPECT_DOUBLE_EQ(DLS.DLSDEP(1, 2), 5.0);
    EXPECT_DOUBLE_EQ(DLS.DLSVAL(1, 2), 20.0);
    EXPECT_DOUBLE_EQ(DLS.DLSDEP(1, 3), 10.0);
    EXPECT_DOUBLE_EQ(DLS.DLSVAL(1, 3), 0.0);
    EXPECT_DOUBLE_EQ(DLS.DLSVAL(2, 1), 7.0);
}

TEST(ReadLoadsDirect, NoCasesLeavesTheCountRecordAndTheEnvelopeFlagsOnly) {
    const std::string text =
        "LOAD CASES\n"
        "0 0 0 0 0\n"
        "COMBINATIONS\n"
        "0 1 2 5 0\n"
        "0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0\n"
        "DIST LOADS\n"
        "0\n"
        "NEXT SECTION\n";
    DirectRead r = readDirect(text);
    ASSERT_FALSE(r.fault) << r.fault->what();
    EXPECT_EQ(r.next, "NEXT SECTION");
    EXPECT_EQ(r.nextLine, 8);
    EXPECT_EQ(LCDEF.NLC, 0);
    EXPECT_EQ(LCBDEF.NCOMB, 0);
    EXPECT_EQ(DLS.NSETS, 0);
    EXPECT_EQ(OPTENV.ENVCB, 1);
    EXPECT_EQ(OPTENV.KPRINTCB, 2);
    EXPECT_EQ(OPTENV.NPREVCB, 5);
    for (int k = 1; k <= NCOLSEL; ++k) {
        EXPECT_EQ(OPTENV.ENVCOLSEL(k, 1), 0) << "case envelope column " << k;
        EXPECT_EQ(OPTENV.ENVCOLSEL(k, 2), k % 2 == 0 ? 1 : 0) << "combination envelope column " << k;
    }
}

// ---------------------------------------------------------------------------------------------------
// Pile and set numbers of the distributed-load entries are checked once the piles and the sets are
// known; the fault names the line of the entry.

// One case with one distributed-load entry (line 12 of the text) and two sets of distributed load.
std::string entryInput(const std::string& entry) {
    return "LOADS\n1 0 0 0 0\n0 0 0 1 0 10 10\n0.01 0.01 1 0.1\nCase\n0 0 0 0 0 0 0 0\n0 1 1 0 0 0 0 0 0\n0\n25*0\n"
           "0\n1\n" +
           entry + "\n0\nCOMBINATIONS\n0 0 0 0 0\nSETS\n2\n2\n0 1\n10 1\n0\n";
}
constexpr long kEntryLine = 12;

TEST(ReadLoadsDeferred, PileAndSetNumbersAgainstTheModel) {
    struct Case {
        const char* name;
        const char* entry;  // unused, axis, first, last, step, set y, factor y, set z, factor z
        int antype;
        int piles;          // rows of the arrangement read after the loads
        std::string fault;  // empty: accepted; else a text the message holds
    };
    const Case cases[] = {
        {"piles within the group", "0 0 1 4 1 2 1.0 1 1.0", 3, 4, ""},
        {"first pile 0 loads none, last 0 is the first", "0 0 0 0 0 0 1.0 0 1.0", 3, 4, ""},
        {"set numbers 0 or below select no set", "0 0 2 2 0 -1 1.0 0 1.0", 3, 4, ""},
        {"last pile above the group", "0 0 1 5 1 1 1.0 1 1.0", 3, 4, "names pile 5 as its last pile; the group has 4"},
        {"first pile above the group", "0 0 6 0 0 1 1.0 1 1.0", 3, 4, "names pile 6 as its first pile"},
        {"negative pile number", "0 0 -1 3 0 1 1.0 1 1.0", 3, 4, "names pile -1 as its first pile"},
        {"plane group counts its rows", "0 0 1 3 1 1 1.0 0 0.0", 2, 2,
         "names pile 3 as its last pile; the group has 2"},
        {"set for y above the sets given", "0 0 1 1 0 3 1.0 1 1.0", 3, 4, "takes set 3 for the y direction; 2 sets"},
        {"set for z above the sets given", "0 0 1 1 0 1 1.0 3 1.0", 3, 4, "takes set 3 for the z direction"},
        {"set for z is not used in a plane run", "0 0 1 1 0 1 1.0 9 1.0", 2, 4, ""},
    };
    for (const Case& c : cases) {
        DirectRead r = readDirect(entryInput(c.entry), c.antype, [&c] {
            (c.antype == 2 ? GRPIN2.NROW : GRPIN3.NROW) = c.piles;
        });
        if (c.fault.empty()) {
            EXPECT_FALSE(r.fault) << c.name << ": " << r.fault->what();
            continue;
        }
        ASSERT_TRUE(r.fault) << c.name;
        EXPECT_EQ(r.fault->kind, io::InputError::Index) << c.name;
        EXPECT_EQ(r.fault->section, "LOADS") << c.name;
        EXPECT_EQ(r.fault->line, kEntryLine) << c.name;
        EXPECT_NE(std::string(r.fault->what()).find(c.fault), std::string::npos) << c.name << ": " << r.fault->what();
    }
}

// The control values of a stiffness estimation's long form are held to what the estimation can use:
// the check depends on the mode, the count of values, the basis and the analysis type.
TEST(ReadLoadsDirect, StiffnessControlValuesDependOnModeAndForm) {
    struct Case {
        const char* name;
        int kmode, antype;
        const char* values;  // NFSD, then one value a line
        bool accepted;
    };
    const Case cases[] = {
        {"target basis with 19 iterations", 11, 3, "13\n0.5\n1\n2\n0\n0.1\n0\n0\n0\n0\n5\n19\n0\n0", true},
        {"total-load basis without a degree of freedom", 11, 3, "13\n0.5\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0", true},
        {"total-load basis ignores the iteration count", 12, 3,
         "14\n0.5\n1\n0\n3\n0\n0\n0\n0\n0\n0\n5\n99\n0\n0", true},
        {"plane rotation given as 6", 11, 2, "13\n0.5\n1\n6\n0\n0\n0\n0\n0\n0.01\n5\n4\n0\n1", true},
        {"plane run has no rotation about X", 11, 2, "13\n0.5\n1\n4\n0\n0\n0\n0.01\n0\n0\n5\n4\n0\n1", false},
        {"short form: every value is a level", 11, 3, "12\n7\n7\n7\n7\n7\n7\n7\n7\n7\n7\n7\n7", true},
        {"cap flexibility uses all values as levels", 5, 3, "13\n0.1\n9\n9\n9\n9\n9\n9\n9\n9\n9\n99\n9\n9", true},
        {"an ordinary case keeps its values unread", 0, 3, "13\n0.1\n9\n9\n9\n9\n9\n9\n9\n9\n9\n99\n9\n9", true},
        // The basis is 0 or 1 only, and a target needs two solutions at least (the first records the
        // origin): the solutions would otherwise end as ordinary analyses while the read-back expects the
        // piles' stiffness tables.
        {"basis -1 is refused", 11, 3, "13\n0.5\n-1\n1\n0\n0\n0\n0\n0\n0\n5\n3\n0\n0", false},
        {"basis 2 is refused", 11, 3, "13\n0.5\n2\n0\n0\n0\n0\n0\n0\n0\n5\n3\n0\n0", false},
        {"a single target iteration is refused", 11, 3, "13\n0.5\n1\n2\n0\n0.5\n0\n0\n0\n0\n5\n1\n0\n0", false},
        {"two target iterations", 11, 3, "13\n0.5\n1\n2\n0\n0.5\n0\n0\n0\n0\n5\n2\n0\n0", true},
        {"degree of freedom 7 on the load basis", 11, 3, "13\n0.5\n0\n7\n0\n0\n0\n0\n0\n0\n5\n3\n0\n0", false},
    };
    for (const Case& c : cases) {
        const std::string text = "LOADS\n1 0 0 0 0\n0 0 0 1 0 10 10\n0.01 0.01 1 0.1\nCase\n0 " +
                                 std::to_string(c.kmode) + " 0 0 0 0 0 0\n0 1 1 0 0 0 0 0 0\n0\n25*0\n0\n0\n" +
                                 c.values + "\nCOMBINATIONS\n0 0 0 0 0\nSETS\n0\n";
        DirectRead r = readDirect(text, c.antype);
        if (c.accepted) {
            EXPECT_FALSE(r.fault) << c.name << ": " << r.fault->what();
        } else {
            ASSERT_TRUE(r.fault) << c.name;
            EXPECT_EQ(r.fault->kind, io::InputError::BadValue) << c.name << ": " << r.fault->what();
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Faulty inputs through the engine: each ends the run with its status and a message that names the
// section heading and the line.

// Title, control record and pile cap: lines 1 to 6. The load-case heading is line 7.
const std::string kPrefix =
    "Loads test\nsecond title line\nCONTROL\n1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\nPILE CAP\n10 10 3 0 0 0\n";

// The records of one load case. Lines from the case's first: 1 run parameters, 2 reals, 3 name,
// 4 options, 5 print record, 6 unused, 7 column flags, 8 on the counts and loads.
struct CaseText {
    std::string par = "0 0 0 1 0 100 100";
    std::string reals = "0.01 0.001 1.0 0.1";
    std::string opt = "0 0 0 0 0 0 0 0";
    std::string loads = "1\n100 0 0 0 0 0 0 0 0\n0\n0\n";  // NCL 8, load 9, NDL 10, NFSD 11
    std::string text() const {
        return par + "\n" + reals + "\nCase name\n" + opt + "\n0 1 1.0 0 0 0 0 0 0\n0\n25*0\n" + loads;
    }
};

// A combination of the cases 1 and 2 (lines from its first: 1 run parameters, 2 reals, 3 name,
// 4 factors and first count, 5 print record, 6 unused, 7 flags, 8 second count, 9 on the terms).
struct CombText {
    std::string par = "0 0 0 1 0 100 100";
    std::string reals = "0.01 0.001 1.0 0.1";
    std::string terms = "2\n1 1.0\n2 0.5\n";
    std::string factors = "1 1 2";  // bending and shear reduction factors, first count of terms
    std::string text() const {
        return par + "\n" + reals + "\nCombination name\n" + factors + "\n0 1 0 0 0 0 0 0\n0\n25*0\n" + terms;
    }
};

// Two cases (lines 9 to 19 and 20 to 30), the combinations (heading line 31), the sets.
std::string twoCases(const CaseText& first, const std::string& combs = "0 0 0 0 0\n",
                     const std::string& sets = "0\n") {
    return "LOAD CASES\n2 0 0 0 0\n" + first.text() + CaseText{}.text() + "COMBINATIONS\n" + combs +
           "DIST LOADS\n" + sets;
}

std::string stiffness(const std::string& control) {
    CaseText c;
    c.opt = "0 11 0 0 0 0 0 0";
    c.loads = "0\n0\n13\n0.5\n" + control + "\n";  // NFSD on line 18, the level 19, the controls 20 to 31
    return twoCases(c);
}

std::string withPar(const std::string& par) {
    CaseText c;
    c.par = par;
    return twoCases(c);
}

std::string withReals(const std::string& reals) {
    CaseText c;
    c.reals = reals;
    return twoCases(c);
}

std::string withLoads(const std::string& loads) {
    CaseText c;
    c.loads = loads;
    return twoCases(c);
}

std::string withComb(const CombText& comb) { return twoCases(CaseText{}, "1 0 0 0 0\n" + comb.text()); }

TEST(ReadLoadsFaults, EndTheRunWithTheirStatusSectionAndLine) {
    struct Case {
        const char* name;
        std::string sections;
        int status;
        const char* section;
        long line;
        const char* value;  // a text the message holds
    };
    CombText farCase, zeroCase, manyTerms, zeroFinc, noItp, zeroBending, negativeShear;
    farCase.terms = "2\n1 1.0\n3 0.5\n";
    zeroCase.terms = "1\n0 1.0\n";
    manyTerms.terms = "101\n";
    zeroFinc.reals = "0.01 0.001 0 0.1";
    noItp.par = "0 0 0 1 0 100 0";
    zeroBending.factors = "0 1 2";
    negativeShear.factors = "1 -0.5 2";
    const Case cases[] = {
        {"load cases above capacity", "LOAD CASES\n101 0 0 0 0\n", ST_CAPACITY, "LOAD CASES", 8, "101"},
        {"negative number of load cases", "LOAD CASES\n-1 0 0 0 0\n", ST_CAPACITY, "LOAD CASES", 8, "-1"},
        {"concentrated loads above capacity", withLoads("101\n"), ST_CAPACITY, "LOAD CASES", 16, "101"},
        {"distributed-load entries above capacity", withLoads("0\n101\n"), ST_CAPACITY, "LOAD CASES", 17, "101"},
        {"stiffness values above capacity", withLoads("0\n0\n26\n"), ST_CAPACITY, "LOAD CASES", 18, "26"},
        {"combinations above capacity", twoCases(CaseText{}, "101 0 0 0 0\n"), ST_CAPACITY, "COMBINATIONS", 32,
         "101"},
        {"terms of a combination above capacity", withComb(manyTerms), ST_CAPACITY, "COMBINATIONS", 40, "101"},
        {"sets above capacity", twoCases(CaseText{}, "0 0 0 0 0\n", "2501\n"), ST_CAPACITY, "DIST LOADS", 34,
         "2501"},
        {"points of a set above capacity", twoCases(CaseText{}, "0 0 0 0 0\n", "1\n102\n"), ST_CAPACITY,
         "DIST LOADS", 35, "102"},
        {"combination names a case above the cases", withComb(farCase), ST_INDEX, "COMBINATIONS", 42,
         "names load case 3 outside 1..2"},
        {"combination names case 0", withComb(zeroCase), ST_INDEX, "COMBINATIONS", 41, "names load case 0"},
        {"negative pile step", withLoads("0\n1\n0 0 1 3 -1 1 1.0 0 0\n0\n"), ST_BADVALUE, "LOAD CASES", 18,
         "pile step -1"},
        {"load increment factor 0", withReals("0.01 0.001 0 0.1"), ST_BADVALUE, "LOAD CASES", 10, "(FINC) 0 "},
        {"negative minimum increment", withReals("0.01 0.001 1 -0.1"), ST_BADVALUE, "LOAD CASES", 10,
         "(FINCMIN) -0.1 "},
        {"combination load increment 0", withComb(zeroFinc), ST_BADVALUE, "COMBINATIONS", 34, "(FINC) 0 "},
        {"no group iteration allowed", withPar("0 0 0 1 0 0 100"), ST_BADVALUE, "LOAD CASES", 9, "(MAXITG) 0 "},
        {"no pile iteration allowed", withPar("0 0 0 1 0 100 0"), ST_BADVALUE, "LOAD CASES", 9, "(MAXITP) 0 "},
        {"combination without pile iterations", withComb(noItp), ST_BADVALUE, "COMBINATIONS", 33, "(MAXITP) 0 "},
        {"bending reduction factor 0", withComb(zeroBending), ST_BADVALUE, "COMBINATIONS", 36,
         "bending reduction factor 0 of load combination 1"},
        {"negative shear reduction factor", withComb(negativeShear), ST_BADVALUE, "COMBINATIONS", 36,
         "shear reduction factor -0.5 "},
        {"negative thread request", withPar("0 0 -2 1 0 100 100"), ST_BADVALUE, "LOAD CASES", 9,
         "thread count -2"},
        {"target iterations beyond the history", stiffness("1\n2\n0\n0.5\n0\n0\n0\n0\n5\n20\n0\n0"),
         ST_CAPACITY, "LOAD CASES", 29, "iteration count 20"},
        {"controlled degree of freedom 7", stiffness("0\n7\n0\n0\n0\n0\n0\n0\n5\n3\n0\n0"), ST_BADVALUE,
         "LOAD CASES", 21, "degree of freedom 7"},
        {"target basis without a degree of freedom", stiffness("1\n0\n0\n0\n0\n0\n0\n0\n5\n3\n0\n0"),
         ST_BADVALUE, "LOAD CASES", 21, "degree of freedom 0"},
        {"malformed count", withLoads("1x\n"), ST_MALFORMED, "LOAD CASES", 16, "1x"},
        {"real where an integer is due", withPar("0 0 0 1 0 100.0 100"), ST_REALFORINT, "LOAD CASES", 9,
         "100.0"},
        {"file ends inside a case", "LOAD CASES\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.01 0.001 1.0 0.1\nCase\n",
         ST_EARLYEND, "LOAD CASES", 11, "early end"},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        dir.writeNames();
        dir.write("case.inp", kPrefix + c.sections);
        EXPECT_EQ(dir.run(), c.status) << c.name;
        const std::string runtime = dir.read("case.run");
        const std::string place = "section \"" + std::string(c.section) + "\", " +
                                  (c.status == ST_EARLYEND ? "after " : "") + "line " + std::to_string(c.line) + "\n";
        EXPECT_NE(runtime.find(place), std::string::npos) << c.name << ": no \"" << place << "\" in\n" << runtime;
        EXPECT_NE(runtime.find(c.value), std::string::npos) << c.name << ": no \"" << c.value << "\" in\n" << runtime;
    }
}

// A whole file through the engine: the three headings are traced in order and the reading gets past
// the sets of distributed load (the run ends there, or, once the later sections are required, with an
// early end after the last line).
TEST(ReadLoadsEngine, ReadsTheThreeSectionsToTheirEnd) {
    CaseText pointCase;
    pointCase.opt = "0 0 0 0 0 0 0 1";
    pointCase.loads = "0\n0\n0\n0 0 0 0 0 0\n0.1 0 0 0 0 0\n0 0 0 0 0 0\n0 0 0\n";  // lines 17 to 23
    const std::string sections =
        "LOAD CASES\n2 1 0 0 0\n25*1\n" + pointCase.text() + CaseText{}.text() + "COMBINATIONS\n1 0 0 0 0\n" +
        CombText{}.text() + "DIST LOADS\n1\n2\n0 1\n10 2\n";
    const long lastLine = 51;
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", kPrefix + sections);
    const int status = dir.run();
    const std::string runtime = dir.read("case.run");
    const size_t cases = runtime.find("     READING LOAD CASES");
    const size_t combs = runtime.find("     READING COMBINATIONS");
    const size_t sets = runtime.find("     READING DIST LOADS");
    ASSERT_NE(cases, std::string::npos) << runtime;
    ASSERT_NE(combs, std::string::npos) << runtime;
    ASSERT_NE(sets, std::string::npos) << runtime;
    EXPECT_LT(cases, combs);
    EXPECT_LT(combs, sets);
    if (status != ST_OK) {
        EXPECT_EQ(status, ST_EARLYEND) << runtime;
        EXPECT_NE(runtime.find("after line " + std::to_string(lastLine) + "\n"), std::string::npos) << runtime;
    }
}

}  // namespace
}  // namespace kaldo
