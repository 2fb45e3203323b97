// Input echo: property sets, cross sections and the section table (Table E).
//
// Builds the working property sets and the section table from the sets and cross sections as read,
// numbers the moment-curvature sets of the nonlinear cross sections, and reports the sets, their
// sections, every cross section and the tables of cross-section properties.
#include <algorithm>
#include <string>
#include <string_view>

#include "echo/echo.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/psec.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

// The description of one cross section (echosectdesc.cpp).
void echoCrossSection(int t);

namespace {

constexpr int TOP = SectTab::TOP, BOT = SectTab::BOT;

// Counts of the input, kept inside their tables (the reader has refused larger ones).
int setCount() { return std::clamp(PILESETIN.NPROP, 0, MAXPROP); }
int sectionCount(int s) { return std::clamp(PILESETIN.NSECT(s), 0, MAXPSECT); }
int crossSectionCount() { return std::clamp(SECTIN.NSEC, 0, MAXSEC); }

bool threeD() { return CTLIN.ANTYPE == 3; }
double sr(int t, int k) { return SECTIN.SECTSR(t, k); }

// Moments of inertia below this are missing; they are then taken as 0.0491 D^4, close to the pi/64 D^4
// of a solid round section (both constants in single precision).
constexpr double INERTIA_MISSING = static_cast<double>(1e-10f);
constexpr double SOLID_ROUND = static_cast<double>(0.0491f);

double inertiaOrSolid(double inertia, double d) {
    return inertia < INERTIA_MISSING ? SOLID_ROUND * (d * d) * (d * d) : inertia;
}

// Unit labels of the property tables.
std::string areaLabel() { return LABELS.LBLSECT + "**" + "2"; }
std::string inertiaLabel() { return LABELS.LBLSECT + "**" + "4"; }
std::string momentLabel() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }
std::string rigidityLabel() { return momentLabel() + "**" + "2"; }

// A column title with its unit label, right-aligned over a column of w characters.
std::string title(std::string_view name, const std::string& label, int w) {
    std::string s = std::string(name) + label;
    if (static_cast<int>(s.size()) < w) s.insert(0, static_cast<std::size_t>(w) - s.size(), ' ');
    return s;
}

// Step 1: the property sets, the depths of their sections and the sentinel after the last section.
void copyPropertySets() {
    for (int s = 1; s <= setCount(); ++s) {
        PILESET.NSECT(s) = PILESETIN.NSECT(s);
        PILESET.NINC(s) = PILESETIN.NINC(s);
        PILESET.PTYPE(s) = PILESETIN.PTYPE(s);
        PILESET.PLEN(s) = PILESETIN.PLEN(s);
        for (int j = 1; j <= sectionCount(s); ++j) {
            SECTTAB.SECTNO(s, j) = PILESETIN.PSSECT(s, j);
            SECTTAB.SECTTOP(s, j) = PILESETIN.PSFROM(s, j);
            SECTTAB.SECTBOT(s, j) = PILESETIN.PSTO(s, j);
            SECTTAB.SECTE(s, j, TOP) = SECTTAB.SECTE(s, j, BOT) = 0.0;
            SECTTAB.SECTMPZ(s, j) = SECTTAB.SECTMPY(s, j) = 0;
        }
        setDepthSentinel(s);
    }
}

// Step 2: the head of Table E and one line per property set.
void writePropertySets(io::Unit& u) {
    u.blankLines(3);
    u.line() << io::X{5} << "* TABLE E *   PILE GEOMETRY AND PROPERTIES ";
    u.line() << io::X{5} << "              PILE TYPE = 1 - DRIVEN PILE";
    u.line() << io::X{5} << "                        = 2 - DRILLED SHAFT";
    u.blankLines(1);
    u.line() << io::X{7} << "PROP  " << " SECTS " << "  INC  " << "   PILE TYPE" << io::X{6} << "LENGTH,"
             << LABELS.LBLCOORDL;
    for (int s = 1; s <= setCount(); ++s) {
        u.part() << io::X{5} << io::I(5, s) << io::I(7, PILESET.NSECT(s)) << io::I(8, PILESET.NINC(s))
                 << io::I(11, PILESET.PTYPE(s)) << io::X{3};
        WCOLREAL(u, 16, 4, UCVD12(PILESET.PLEN(s)));
        u.endLine();
    }
}

// Step 3: the sections of every set with their depths and cross sections.
void writeSections(io::Unit& u) {
    u.blankLines(1);
    u.line() << io::X{5} << "* PILE SECTIONS *";
    u.blankLines(1);
    u.line() << io::X{7} << "PROP    " << "SECT" << io::X{6} << "FROM," << LABELS.LBLCOORD << io::X{9} << "TO,"
             << LABELS.LBLCOORD << io::X{4} << "CROSS SECT";
    for (int s = 1; s <= setCount(); ++s)
        for (int j = 1; j <= sectionCount(s); ++j) {
            u.part() << io::X{5} << io::I(5, s) << io::I(8, j) << io::X{1};
            WCOLREAL(u, 14, 5, UCVD12(SECTTAB.SECTTOP(s, j)));
            WCOLREAL(u, 15, 5, UCVD12(SECTTAB.SECTBOT(s, j)));
            u.line() << io::I(8, SECTTAB.SECTNO(s, j));
        }
}

// Step 4: moment-curvature sets of the cross sections. The nonlinear sections of types 1 to 9 get the
// sets generated for them, numbered after the user sets in cross-section order: one (bending with Iz)
// in a plane run, two consecutive (Iz, then Iy) in three dimensions; the moment-curvature table takes
// the generated curves in the same order. Any other nonlinear section (a user-defined EI) keeps the
// user sets its input names, 0 meaning a constant EI; a plane pile has no bending with Iy.
void numberMphiSets() {
    int n = MPHIIN.NUMPHI;
    for (int t = 1; t <= crossSectionCount(); ++t) {
        int& z = SECTTAB.CSMPZ(t);
        int& y = SECTTAB.CSMPY(t);
        z = y = 0;
        if (SECTIN.NLFLAG(t) == 0) continue;
        if (SECTIN.NLFLAG(t) == 1 && SECTIN.SECTNI(t, 1) != 10) {
            z = ++n;
            if (threeD()) y = ++n;
        } else {
            z = SECTIN.SECTNI(t, 28);
            if (threeD()) y = SECTIN.SECTNI(t, 29);
        }
    }
}

// Step 5: the modulus of every section and, for a nonlinear cross section, its moment-curvature sets.
void assignModuliAndSets() {
    for (int s = 1; s <= setCount(); ++s)
        for (int j = 1; j <= sectionCount(s); ++j) {
            const int t = SECTTAB.SECTNO(s, j);
            SECTTAB.SECTE(s, j, TOP) = sr(t, 17);
            SECTTAB.SECTE(s, j, BOT) = sr(t, 35);
            if (SECTIN.NLFLAG(t) != 0) {
                SECTTAB.SECTMPZ(s, j) = SECTTAB.CSMPZ(t);
                SECTTAB.SECTMPY(s, j) = SECTTAB.CSMPY(t);
            }
        }
}

// Step 8: the properties of every section at its top and bottom (SECTSR item k at the top, k + 18 at
// the bottom). A missing moment of inertia is taken from the diameter of the same end.
void fillSectionProperties() {
    auto& tab = SECTTAB;
    for (int s = 1; s <= setCount(); ++s)
        for (int j = 1; j <= sectionCount(s); ++j) {
            const int t = tab.SECTNO(s, j);
            tab.SECTTAPER(s, j) = SECTIN.STAPER(t);
            for (int end : {TOP, BOT}) {
                const int o = end == TOP ? 0 : 18;
                const double d = sr(t, 1 + o);
                tab.SECTDIAM(s, j, end) = d;
                tab.SECTAREA(s, j, end) = sr(t, 10 + o);
                tab.SECTGJ(s, j, end) = sr(t, 14 + o);
                tab.SECTMN(s, j, end) = sr(t, 15 + o);
                tab.SECTVN(s, j, end) = sr(t, 16 + o);
                tab.SECTIZ(s, j, end) = inertiaOrSolid(sr(t, 11 + o), d);
                tab.SECTIY(s, j, end) = inertiaOrSolid(sr(t, 12 + o), d);
                tab.SECTEIZ(s, j, end) = tab.SECTIZ(s, j, end) * tab.SECTE(s, j, end);
                tab.SECTEIY(s, j, end) = tab.SECTIY(s, j, end) * tab.SECTE(s, j, end);
            }
        }
}

// One row of the elastic table: D, area, Iz, (Iy, GJ,) Mn and Vn at one end (o = 0 top, 18 bottom).
void elasticValues(io::Unit& u, int t, int o) {
    if (threeD()) {
        WCOLREAL(u, 12, 4, UCVM1E3(sr(t, 1 + o)));
        WCOLREAL(u, 12, 4, UCVM1E6(sr(t, 10 + o)));
        WCOLREAL(u, 12, 4, UCVM1E12(sr(t, 11 + o)));
        WCOLREAL(u, 12, 4, UCVM1E12(sr(t, 12 + o)));
        WCOLBLNK(u, 1);
        WCOLREAL(u, 12, 4, UCVKIPDIV(sr(t, 14 + o)));
        WCOLREAL(u, 12, 4, UCVKIPDIV(sr(t, 15 + o)));
        WCOLREAL(u, 12, 4, UCVKIPDIV(sr(t, 16 + o)));
    } else {
        WCOLREAL(u, 14, 5, UCVM1E3(sr(t, 1 + o)));
        WCOLREAL(u, 14, 5, UCVM1E6(sr(t, 10 + o)));
        WCOLREAL(u, 14, 5, UCVM1E12(sr(t, 11 + o)));
        WCOLREAL(u, 14, 5, UCVKIPDIV(sr(t, 15 + o)));
        WCOLREAL(u, 14, 5, UCVKIPDIV(sr(t, 16 + o)));
    }
    u.endLine();
}

void writeElasticTable(io::Unit& u) {
    u.blankLines(1);
    u.line() << io::X{5} << "         ELASTIC SECTIONS         ";
    u.blankLines(1);
    const std::string& sect = LABELS.LBLSECT;
    if (threeD())
        u.line() << "  SECT" << io::X{6} << title("DIAM,", sect, 12) << title("AREA,", areaLabel(), 12)
                 << title(" Iz,", inertiaLabel(), 12) << title(" Iy,", inertiaLabel(), 12)
                 << title(" GJ,", rigidityLabel(), 13) << title(" Mn,", momentLabel(), 12)
                 << title(" Vn,", LABELS.LBLRFORCE, 12);
    else
        u.line() << io::X{5} << "  SECT" << io::X{5} << title("DIAM,", sect, 14) << title("AREA,", areaLabel(), 14)
                 << title("  I,", inertiaLabel(), 14) << title(" Mn,", momentLabel(), 14)
                 << title(" Vn,", LABELS.LBLRFORCE, 14);
    for (int t = 1; t <= crossSectionCount(); ++t) {
        if (SECTIN.NLFLAG(t) != 0) continue;
        const bool tapered = SECTIN.STAPER(t) != 0;
        if (threeD()) {
            u.part() << io::X{2} << io::I(5, t) << io::X{1} << (tapered ? " TOP" : "    ");
            elasticValues(u, t, 0);
            if (tapered) {
                u.part() << io::X{9} << "BOT";
                elasticValues(u, t, 18);
            }
        } else {
            u.part() << io::X{5} << io::I(5, t) << io::X{1} << (tapered ? " TOP " : "     ");
            elasticValues(u, t, 0);
            if (tapered) {
                u.part() << io::X{12} << "BOT" << io::X{1};
                elasticValues(u, t, 18);
            }
        }
    }
}

// Rows of the nonlinear sections of types 1 to 10 (flag 1). Only a user-defined EI (type 10) shows an
// inertia, where it bends with a constant EI, or the user set that replaces it.
void writeNonlinearTable(io::Unit& u) {
    u.blankLines(1);
    u.line() << io::X{5} << "         NONLINEAR SECTIONS       ";
    u.blankLines(1);
    const std::string& sect = LABELS.LBLSECT;
    if (threeD())
        u.line() << "  SECT" << io::X{2} << title("DIAM,", sect, 11) << title("AREA,", areaLabel(), 11)
                 << title(" Iz,", inertiaLabel(), 11) << title(" Iy,", inertiaLabel(), 11)
                 << title(" GJ,", rigidityLabel(), 13) << " EIz IND " << " EIy IND " << io::X{2}
                 << title(" Mn,", momentLabel(), 11) << title(" Vn,", LABELS.LBLRFORCE, 11);
    else
        u.line() << io::X{5} << "  SECT" << io::X{5} << title("DIAM,", sect, 14) << title("AREA,", areaLabel(), 14)
                 << title("  I,", inertiaLabel(), 14) << " EI INDEX " << title(" Mn,", momentLabel(), 14)
                 << title(" Vn,", LABELS.LBLRFORCE, 14);
    for (int t = 1; t <= crossSectionCount(); ++t) {
        if (SECTIN.NLFLAG(t) != 1) continue;
        const bool userEI = SECTIN.SECTNI(t, 1) == 10;
        const int z = SECTTAB.CSMPZ(t), y = SECTTAB.CSMPY(t);
        const double iz = userEI && z == 0 ? sr(t, 11) : 0.0;
        const int setZ = userEI && z >= 1 ? z : 0;
        if (threeD()) {
            const double iy = userEI && y == 0 ? sr(t, 12) : 0.0;
            const int setY = userEI && y >= 1 ? y : 0;
            u.part() << io::X{2} << io::I(5, t) << io::X{1};
            WCOLREAL(u, 11, 4, UCVM1E3(sr(t, 1)));
            WCOLREAL(u, 11, 4, UCVM1E6(sr(t, 10)));
            WCOLREAL(u, 11, 4, UCVM1E12(iz));
            WCOLREAL(u, 11, 4, UCVM1E12(iy));
            WCOLBLNK(u, 2);
            WCOLREAL(u, 11, 4, UCVKIPDIV(sr(t, 14)));
            u.part() << io::X{2} << io::I(5, setZ) << io::X{4} << io::I(5, setY) << io::X{4};
            WCOLREAL(u, 11, 4, UCVKIPDIV(sr(t, 15)));
            WCOLREAL(u, 11, 4, UCVKIPDIV(sr(t, 16)));
        } else {
            u.part() << io::X{5} << io::I(5, t) << io::X{6};
            WCOLREAL(u, 14, 5, UCVM1E3(sr(t, 1)));
            WCOLREAL(u, 14, 5, UCVM1E6(sr(t, 10)));
            WCOLREAL(u, 14, 5, UCVM1E12(iz));
            u.part() << io::X{5} << io::I(5, setZ);
            WCOLREAL(u, 14, 5, UCVKIPDIV(sr(t, 15)));
            WCOLREAL(u, 14, 5, UCVKIPDIV(sr(t, 16)));
        }
        u.endLine();
    }
}

}  // namespace

void echoSections() {
    io::Unit& u = io::unit(ECHO_UNIT);
    copyPropertySets();
    writePropertySets(u);
    writeSections(u);
    numberMphiSets();
    assignModuliAndSets();

    u.blankLines(1);
    u.line() << io::X{5} << "* PILE CROSS SECTIONS *";
    for (int t = 1; t <= crossSectionCount(); ++t) echoCrossSection(t);

    u.blankLines(1);
    u.line() << io::X{5} << "* PILE CROSS SECTIONS PROPERTIES *";
    fillSectionProperties();
    bool anyElastic = false, anyNonlinear = false;
    for (int t = 1; t <= crossSectionCount(); ++t) (SECTIN.NLFLAG(t) == 0 ? anyElastic : anyNonlinear) = true;
    if (anyElastic) writeElasticTable(u);
    if (anyNonlinear) writeNonlinearTable(u);
}

}  // namespace kaldo
