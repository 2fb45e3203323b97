// Input echo: frame lines, pile cap options (Table B), loads and control parameters (Table C).
//
// Values are shown in report units: forces and moments through the kip divider, coordinates, depths
// and cap dimensions in feet (English) or metres; displacements, rotations, tolerances and factors as
// stored. Lines built with the column writers end with WCOLEOL (a trailing blank).
#include <algorithm>
#include <climits>
#include <initializer_list>
#include <cmath>
#include <string>
#include <string_view>

#include "echo/echo.h"
#include "io/format.h"
#include "io/units.h"
#include "loads/loads.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::I;
using io::PG;
using io::X;

io::Unit& echoUnit() { return io::unit(ECHO_UNIT); }

// The entries 1..n of a table of the given capacity; the reader has refused larger counts already.
int upTo(int n, int capacity) { return std::clamp(n, 0, capacity); }

// A text cut or filled with blanks to n characters, left-aligned.
std::string fixedWidth(std::string_view s, std::size_t n) {
    std::string t(s.substr(0, std::min(s.size(), n)));
    t.resize(n, ' ');
    return t;
}

// A two- or three-character unit label right-aligned in three characters.
std::string right3(const std::string& label) { return io::fmtA(3, label); }

// Moment in report units: report force, "-", internal length (LBS-IN, KIP-IN, " KN- M").
std::string momentLabel() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }

// The integer part of a stored control value, held inside the integer range (a value beyond it names
// no degree of freedom and no sensible iteration count either).
int wholePart(double v) {
    if (!(std::fabs(v) < static_cast<double>(INT_MAX))) return v < 0 ? INT_MIN : INT_MAX;
    return static_cast<int>(std::trunc(v));
}

bool planeRun() { return CTLIN.ANTYPE == 2; }

// ---------------------------------------------------------------------------------------------------
// Table C, one load case.

// Concentrated loads as given, one row each, and their resultant at the cap origin.
void concentratedLoads(io::Unit& u, int c) {
    const int ncl = upTo(LCCNT(c, 1), MAXCL);
    if (ncl < 1) return;
    const UnitLabels& lb = LABELS;
    const std::string force = lb.LBLRFORCE, moment = momentLabel(), coord = lb.LBLCOORD;
    u.blankLines(1);
    u.line() << X{5} << "* CONCENTRATED LOADS *";
    u.blankLines(1);
    auto cl = [c](int j, int k) { return LCCL.CLOAD(c, j, k); };
    if (planeRun()) {
        u.line() << X{5} << "  NL     VERT.LOAD     HOR.LOAD      " << "MOMENT      COORD X      COORD Y";
        u.line() << X{17} << force << X{10} << force << X{9} << moment << X{10} << coord << X{10} << coord;
        for (int j = 1; j <= ncl; ++j) {
            WCOLBLNK(u, 5);
            WCOLINT(u, 4, j);
            WCOLBLNK(u, 1);
            // Vertical load, horizontal load, moment; the point's X and Y.
            for (int k : {1, 2, 3}) WCOLREAL(u, 13, 5, UCVKIPDIV(cl(j, k)));
            for (int k : {7, 8}) WCOLREAL(u, 13, 5, UCVD12(cl(j, k)));
            WCOLEOL(u);
        }
    } else {
        u.line() << X{4} << "NL " << " VERT.LOAD HR.LOAD Y HR.LOAD Z" << "  MOMENT X  MOMENT Y  MOMENT Z"
                 << "   COORD X   COORD Y   COORD Z";
        u.line() << X{11} << force << X{7} << force << X{7} << force << X{6} << moment << X{4} << moment << X{4}
                 << moment << X{6} << coord << X{8} << coord << X{8} << coord;
        for (int j = 1; j <= ncl; ++j) {
            WCOLBLNK(u, 2);
            WCOLINT(u, 4, j);
            WCOLBLNK(u, 1);
            // A load record stores moment Z, moment Y, moment X; the row reads X, Y, Z.
            for (int k : {1, 2, 4, 6, 5, 3}) WCOLREAL(u, 10, 2, UCVKIPDIV(cl(j, k)));
            for (int k : {7, 8, 9}) WCOLREAL(u, 10, 2, UCVD12(cl(j, k)));
            WCOLEOL(u);
        }
    }

    Vec6 eq;
    EQLOADC(c, eq);
    u.blankLines(2);
    u.line() << X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    u.blankLines(1);
    auto values = [&u, &eq](std::initializer_list<int> places) {
        WCOLBLNK(u, 8);
        for (int k : places) WCOLREAL(u, 18, 5, UCVKIPDIV(eq[static_cast<std::size_t>(k - 1)]));
        WCOLEOL(u);
    };
    if (planeRun()) {
        u.line() << X{13} << " VER.LOAD X," << force << " HOR.LOAD Y," << force << " MOMENT," << moment;
        values({1, 2, 6});
    } else {
        u.line() << X{11} << " VER.LOAD X," << force << "HOR.LOAD Y," << force << "HOR.LOAD Z," << force;
        values({1, 2, 3});
        u.blankLines(1);
        u.line() << X{11} << " MOMENT X," << moment << " MOMENT Y," << moment << " MOMENT Z," << moment;
        values({4, 5, 6});
    }
}

// One degree of freedom of the specified values: the component of LCSD it reads, the texts of a
// given load and of a given displacement. A rotation's text carries its unit.
struct SpecDof {
    int comp;
    const char* load;
    bool moment;
    const char* disp;
    bool rotation;
};

constexpr SpecDof kSpecPlane[] = {
    {1, "VERT. LOAD,", false, "VERT. DISP,", false},
    {2, "HOR. LOAD ,", false, "HOR. DISP.,", false},
    {3, " MOMENT Z, ", true, " ROTATION, RAD", true},
};
// Three dimensions: X, Y, Z, rotation X, Y, Z, from the stored order X, Y, rotation Z, Z, rotation Y,
// rotation X.
constexpr SpecDof kSpec3D[] = {
    {1, "VERT. LOAD,", false, "VERT. DISP,", false},   {2, "HOR.LOAD Y,", false, "HOR.DISP Y,", false},
    {4, "HOR.LOAD Z,", false, "HOR.DISP Z,", false},   {6, "  MOMENT X,", true, "ROTATION X,RAD", true},
    {5, "  MOMENT Y,", true, "ROTATION Y,RAD", true},  {3, "  MOMENT Z,", true, "ROTATION Z,RAD", true},
};

// Displacements or loads given at a point, per degree of freedom, and the point.
void specifiedValues(io::Unit& u, int c) {
    if (LCSD.SDFLAG(c) < 1) return;
    u.blankLines(1);
    u.line() << X{5} << "* SPECIFIED DISPLACEMENTS/LOADS *";
    u.blankLines(1);
    auto dofLine = [&u, c](int dof, const SpecDof& s) {
        u.part() << X{5} << "- DOF " << I(1, dof) << " , " << X{5};
        double v;
        if (LCSD.KDOF(c, s.comp) != 0) {
            // A given load, in report forces.
            if (s.moment)
                u.part() << s.load << momentLabel() << X{4};
            else
                u.part() << s.load << right3(LABELS.LBLRFORCE) << X{10};
            v = UCVKIPDIV(LCSD.SDV(c, 2 * s.comp));
        } else {
            // A given displacement or rotation, as stored.
            if (s.rotation)
                u.part() << s.disp << X{10};
            else
                u.part() << s.disp << right3(LABELS.LBLLEN) << X{10};
            v = LCSD.SDV(c, 2 * s.comp - 1);
        }
        WCOLREAL(u, 13, 5, v);
        WCOLEOL(u);
    };
    int dof = 0;
    if (planeRun())
        for (const SpecDof& s : kSpecPlane) dofLine(++dof, s);
    else
        for (const SpecDof& s : kSpec3D) dofLine(++dof, s);

    static constexpr const char* kCoord[] = {"  COORD. X,", "  COORD. Y,", "  COORD. Z,"};
    const int axes = planeRun() ? 2 : 3;
    for (int a = 1; a <= axes; ++a) {
        u.part() << X{5} << "- LOCATION" << X{5} << kCoord[a - 1] << right3(LABELS.LBLCOORD) << X{10};
        WCOLREAL(u, 13, 5, UCVD12(LCSD.SDLOC(c, a)));
        WCOLEOL(u);
    }
}

// Distributed-load entries: axes, piles loaded and the load set and factor of each lateral direction.
void distributedEntries(io::Unit& u, int c) {
    const int ndl = upTo(LCCNT(c, 2), MAXDL);
    if (ndl < 1) return;
    u.blankLines(1);
    u.line() << X{5} << "* DISTRIBUTED LOADS *";
    u.blankLines(1);
    u.line() << X{5} << "  NL    AXIS    INI_PILE  END_PILE" << "  INC_PILE    SET_Y "
             << (planeRun() ? "   FACTOR_Y" : "   FACTOR_Y     SET_Z    FACTOR_Z");
    bool anyGlobal = false;
    for (int k = 1; k <= ndl; ++k) {
        const bool global = LCDL.DLAXIS(c, k) == 1;
        anyGlobal = anyGlobal || global;
        WCOLBLNK(u, 5);
        WCOLINT(u, 4, k);
        WCOLBLNK(u, 3);
        u.part() << (global ? "GLOBAL" : "LOCAL ");
        for (int pile : {LCDL.DLPIL1(c, k), LCDL.DLPIL2(c, k), LCDL.DLPINC(c, k)}) {
            WCOLINT(u, 8, pile);
            WCOLBLNK(u, 2);
        }
        WCOLBLNK(u, 6);
        WCOLINT(u, 8, LCDL.DLSETY(c, k));
        WCOLREAL(u, 14, 4, LCDL.DLFACY(c, k));
        if (!planeRun()) {
            WCOLINT(u, 8, LCDL.DLSETZ(c, k));
            WCOLREAL(u, 14, 4, LCDL.DLFACZ(c, k));
        }
        WCOLEOL(u);
    }
    // With KDLAXHD 1 the axial part of a load on global axes is lumped at the pile head.
    if (anyGlobal && LCOPT(c, 7) == 1) {
        u.blankLines(1);
        u.line() << X{5} << "NOTE: FOR GLOBAL LOADING, AXIAL " << "COMPONENT IS CONSIDERED AS "
                 << "CONCENTRATED LOAD AT PILE HEAD";
    }
}

// Rows of stiffness levels: number and level.
void levelRows(io::Unit& u, int c, int n) {
    for (int i = 1; i <= n; ++i) {
        WCOLBLNK(u, 5);
        WCOLINT(u, 4, i);
        WCOLBLNK(u, 4);
        WCOLREAL(u, 13, 5, FSDDAT.FSDV(c, i));
        WCOLEOL(u);
    }
}

// Foundation stiffness data of a case in the cap flexibility or stiffness estimation mode. A case
// that gives no values gets ten load levels spread evenly on a log scale from 0.1 to 1: 0.1 (as a
// single-precision number) and log10(2) to log10(10); the analysis runs with them.
void stiffnessData(io::Unit& u, int c) {
    if (CTLPAR.KMODE < 1) return;
    if (LCCNT(c, 3) == 0) {
        FSDDAT.FSDV(c, 1) = static_cast<double>(0.1f);
        for (int k = 2; k <= 10; ++k) FSDDAT.FSDV(c, k) = std::log10(static_cast<double>(k));
        LCCNT(c, 3) = 10;
    }
    const int nfsd = upTo(LCCNT(c, 3), MAXFSD);
    u.blankLines(1);
    u.line() << X{5} << "* DATA FOR FOUNDATION STIFFNESS *";
    if (nfsd <= 12) {
        // Short form: every value is a factor of the total load at the origin.
        u.line() << X{5} << "COMPUTED FOR EQUIVALENT " << X{5} << "CONCENTRATED LOAD AT ORIGIN";
        u.blankLines(2);
        u.line() << X{5} << "* FOUNDATION STIFFNESS LOAD LEVELS *";
        u.blankLines(1);
        u.line() << X{5} << "  NL       LOAD LEVEL";
        levelRows(u, c, nfsd);
        return;
    }
    // Long form: L levels, then basis, controlled degree of freedom, six targets, tolerance in per
    // cent, iteration count, axial switch (and a single-component switch the echo does not show).
    const int levels = nfsd - 12;
    auto control = [c, levels](int k) { return FSDDAT.FSDV(c, levels + k); };
    if (control(11) == 1.0) {
        u.blankLines(1);
        u.line() << X{5} << "- CONSIDER AXIAL LOADS IN PILES";
    }
    const bool target = control(1) != 0.0;
    u.blankLines(1);
    if (!target) {
        u.line() << X{5} << "- BASED ON TOTAL APPLIED LOAD  ";
    } else {
        u.line() << X{5} << "- BASED ON TARGET DEFLECTION   ";
        const int d = wholePart(control(2));
        // The caption of the controlled degree of freedom, the target slot (1 to 6) it reads and whether
        // it is a displacement (with a length unit). A plane run's third degree of freedom is the
        // rotation about Z, whose target is the sixth.
        const char* caption = nullptr;
        int slot = d;
        bool displacement = false;
        switch (d) {
            case 1: caption = "  DISPLACEMENT X = "; displacement = true; break;
            case 2: caption = "  DISPLACEMENT Y = "; displacement = true; break;
            case 3:
                if (planeRun()) {
                    caption = "  ROTATION Z     = ";
                    slot = 6;
                } else {
                    caption = "  DISPLACEMENT Z = ";
                    displacement = true;
                }
                break;
            case 4: caption = "  ROTATION X     = "; break;
            case 5: caption = "  ROTATION Y     = "; break;
            case 6: caption = "  ROTATION Z     = "; break;
            default: break;
        }
        if (caption != nullptr) {
            u.blankLines(1);
            u.part() << X{5} << caption;
            WCOLREAL(u, 13, 5, control(2 + slot));
            if (displacement) u.part() << " " << LABELS.LBLLEN;
            WCOLEOL(u);
        }
        u.part() << X{5} << "  TOLERANCE (%)  = ";
        WCOLREAL(u, 12, 4, control(9));
        WCOLEOL(u);
        u.part() << X{5} << "  ITERATIONS     = ";
        WCOLINT(u, 5, wholePart(control(10)));
        WCOLEOL(u);
    }
    u.blankLines(1);
    u.line() << X{5}
             << (target ? "* FOUNDATION STIFFNESS DISPLACEMENT LEVELS *" : "* FOUNDATION STIFFNESS LOAD LEVELS *");
    u.blankLines(1);
    u.line() << X{5} << (target ? "  NL       DISP. LEVEL" : "  NL       LOAD LEVEL");
    levelRows(u, c, levels);
}

// The print level of CTLPAR; nodes ends the node-step line (" NODE(S)" or "NODE(S)").
void printLevel(io::Unit& u, const char* nodes) {
    const CtlPar& p = CTLPAR;
    if (p.KPRINT == 0)
        u.line() << X{9} << "PRINT RESULTS ONLY AT PILE CAP";
    else if (p.KPRINT == 1)
        u.line() << X{9} << "PRINT RESULTS AT PILE CAP AND PILE HEADS";
    else
        u.line() << X{9} << "PRINT RESULTS AT PILE CAP, PILE HEADS AND" << " ALONG PILES";
    if (p.KPRINT == 2) {
        u.part() << X{9} << "PRINT RESULTS EVERY ";
        WCOLINT(u, 5, p.NPREVRY);
        u.part() << nodes;
        WCOLEOL(u);
    }
}

// The run parameters of CTLPAR: loading, tolerances, iteration limits, load steps, switches and the
// print level.
void runParameters(io::Unit& u, const char* nodes) {
    const CtlPar& p = CTLPAR;
    if (p.KSTATIC == 0) {
        u.blankLines(2);
        u.line() << X{5} << "* THE LOADING IS CYCLIC *";
        u.blankLines(2);
        u.line() << X{5} << "NO. OF CYCLES =" << io::F{10, 0, p.NCYCLES};
    } else if (p.KSTATIC == 1) {
        u.blankLines(2);
        u.line() << X{5} << "* THE LOADING IS STATIC *";
    }
    u.blankLines(2);
    u.line() << X{5} << "* CONTROL PARAMETERS *";
    const std::string& tol = LABELS.LBLTOL;
    u.line() << X{9} << "TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   " << X{4} << " = " << PG{12, 5, p.TOLCAP};
    if (p.KALTTOL != 0) {
        u.line() << X{9} << "ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION" << X{4} << " = "
                 << PG{12, 5, p.TOLDEFA} << tol;
        u.line() << X{9} << "ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION  " << X{4} << " = "
                 << PG{12, 5, p.TOLROTA};
    }
    u.line() << X{9} << "TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  " << X{4} << " = " << PG{12, 5, p.TOLPIL}
             << tol;
    u.part() << X{9} << "MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =";
    WCOLINT(u, 9, p.MAXITG);
    WCOLEOL(u);
    u.part() << X{9} << "MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =";
    WCOLINT(u, 9, p.MAXITP);
    WCOLEOL(u);
    u.line() << X{9} << "FACTOR TO APPLY THE LOAD IN INCREMENTS" << X{14} << " = " << PG{12, 5, p.FINC};
    u.line() << X{9} << "MINIMUM FACTOR FOR LOAD INCREMENTS    " << X{14} << " = " << PG{12, 5, p.FINCMIN};
    if (p.KAXVAR >= 1) {
        u.line() << X{9} << "INCLUDE VARIATION OF AXIAL LOAD AT PILES";
        u.line() << X{9} << "* NOT FOR USER DEFINED LOAD SETTL. CURVE";
    }
    if (p.KEIPREV >= 1) u.line() << X{9} << "USE EI FROM PREVIOUS ITERATION          ";
    printLevel(u, nodes);
}

void loadCase(io::Unit& u, int c) {
    // 1 to 4. Heading: number, name, load type, scale factor and the skip note.
    u.blankLines(2);
    u.part() << X{5} << "LOAD CASE    : ";
    WCOLINT(u, 5, c);
    WCOLEOL(u);
    u.line() << X{5} << "CASE NAME    : " << fixedWidth(LCDEF.LCNAME(c), 80);
    u.line() << X{5} << "LOAD TYPE    : " << LOADTYPE(LCOPT(c, 1));
    u.part() << X{5} << "SCALE FACTOR : ";
    WCOLREAL(u, 12, 4, LCREAL(c, 5));
    WCOLEOL(u);
    if (LCCNT(c, 8) == 1) u.line() << X{5} << "NOTE: LOAD CASE WILL NOT BE ANALYZED";
    // 5 to 7. Loads.
    concentratedLoads(u, c);
    specifiedValues(u, c);
    distributedEntries(u, c);
    // 8, 9. The run parameters as the analysis takes them (the mode first), foundation stiffness data.
    CTLPARCASE(c);
    stiffnessData(u, c);
    runParameters(u, " NODE(S)");
}

void loadCombination(io::Unit& u, int m) {
    u.blankLines(1);
    u.part() << X{5} << "LOAD COMB. : ";
    WCOLINT(u, 5, m);
    WCOLEOL(u);
    u.line() << X{5} << "COMB. NAME : " << fixedWidth(LCBDEF.LCBNAME(m), 80);
    if (LCBCNT(m, 6) == 1) u.line() << X{5} << "NOTE: LOAD COMB. WILL NOT BE ANALYZED";
    u.line() << X{5} << "BENDING RF : " << PG{12, 5, LCBREAL(m, 5)};
    u.line() << X{5} << "SHEAR RF   : " << PG{12, 5, LCBREAL(m, 6)};
    u.blankLines(1);
    const int nlcb = upTo(LCBCNT(m, 1), MAXLCBTERM);
    if (nlcb >= 1) {
        u.line() << X{5} << "  NL     LOAD NUMBER         LOAD NAME" << "                  LOAD FACTOR";
        for (int t = 1; t <= nlcb; ++t) {
            const int c = LCBLST.LCBCASE(m, t);
            WCOLBLNK(u, 5);
            WCOLINT(u, 4, t);
            WCOLINT(u, 10, c);
            WCOLBLNK(u, 10);
            u.part() << fixedWidth(c >= 1 && c <= MAXLC ? std::string_view(LCDEF.LCNAME(c)) : std::string_view(), 26);
            WCOLBLNK(u, 5);
            WCOLREAL(u, 12, 5, LCBLST.LCBFAC(m, t));
            WCOLEOL(u);
        }
    }
    CTLPARCOMB(m);
    runParameters(u, "NODE(S)");
}

// A count line: caption and the count in five columns.
void countLine(io::Unit& u, const char* caption, int n) {
    u.part() << X{5} << caption;
    WCOLINT(u, 5, n);
    WCOLEOL(u);
}

void distributedSets(io::Unit& u) {
    const int nsets = upTo(DLS.NSETS, MAXDLSET);
    if (nsets < 1) return;
    u.blankLines(3);
    u.line() << X{5} << "** SETS OF DISTRIBUTED LOAD **";
    u.blankLines(2);
    countLine(u, "NUMBER OF SETS :", DLS.NSETS);
    for (int s = 1; s <= nsets; ++s) {
        u.blankLines(1);
        countLine(u, "DIST. LOAD SET : ", s);
        const int npts = upTo(DLS.NPTS(s), MAXDLPT);
        if (npts < 1) continue;
        u.line() << X{5} << "  NL           DEPTH         LOAD ";
        u.line() << X{20} << "(" << LABELS.LBLCOORD << ")" << X{10} << "(" << LABELS.LBLRFORCE << ")";
        for (int p = 1; p <= npts; ++p) {
            WCOLBLNK(u, 5);
            WCOLINT(u, 4, p);
            WCOLBLNK(u, 4);
            WCOLREAL(u, 12, 4, UCVD12(DLS.DLSDEP(s, p)));
            WCOLBLNK(u, 2);
            WCOLREAL(u, 12, 4, UCVKIPDIV(DLS.DLSVAL(s, p)));
            WCOLEOL(u);
        }
    }
}

}  // namespace

void echoFrame() {
    io::Unit& u = echoUnit();
    u.blankLines(6);
    u.line() << X{16} << "*****" << X{5} << "INPUT INFORMATION" << X{5} << "*****";
    u.blankLines(2);
    u.line() << X{5} << fixedWidth(CTLIN.TITLE, TITLELEN);
    u.blankLines(1);
    u.line() << X{5} << "ANALYSIS TYPE = " << I(1, CTLIN.ANTYPE) << "D ANALYSIS";
    if (CTLIN.KBATDEP == 1) {
        u.blankLines(1);
        u.line() << X{5} << "ADJUST DEPTH FOR BATTER PILES";
    }
    if (CTLIN.KGENLS == 1) {
        u.blankLines(1);
        u.line() << X{5} << "GENERATE LOAD-DISP (AND T-R) CURVES BASED ON" << " SOIL PROFILE";
        u.blankLines(1);
        u.line() << X{5} << "EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES";
    }
    u.blankLines(1);
    const char* word = CTLIN.UNITS == 1 ? "ENGL" : CTLIN.UNITS == 2 ? "METR" : CTLIN.UNITS == 3 ? "OPEN" : "";
    u.line() << X{5} << "UNITS SYSTEM  = " << word;
}

void echoCapOptions() {
    io::Unit& u = echoUnit();
    CapIn& cap = CAPIN;
    const int capopt = CTLIN.CAPOPT;
    // 1e-10 as the single-precision number the sum is compared with.
    const double noDimensions = static_cast<double>(1e-10f);
    if (capopt >= 1 || cap.CAPLY + cap.CAPWZ + cap.CAPTX > noDimensions) {
        const UnitLabels& lb = LABELS;
        u.blankLines(3);
        u.line() << X{5} << "* TABLE B *  PILE CAP OPTIONS";
        u.blankLines(1);
        u.line() << X{5} << "LENGTH,YY    ( " << lb.LBLCOORD << " ) = " << PG{12, 4, UCVD12(cap.CAPLY)};
        u.line() << X{5} << "WIDTH, ZZ    ( " << lb.LBLCOORD << " ) = " << PG{12, 4, UCVD12(cap.CAPWZ)};
        u.line() << X{5} << "THICKNESS,XX ( " << lb.LBLCOORD << " ) = " << PG{12, 4, UCVD12(cap.CAPTX)};
        if (cap.CAPDEQ > 0.0)
            u.line() << X{5} << "EQ. DIAMETER ( " << lb.LBLCOORD << " ) = " << PG{12, 4, UCVD12(cap.CAPDEQ)};
        u.blankLines(1);
        if (capopt < 1) {
            u.line() << X{5} << "* PILE CAP DIMENSIONS ARE NOT CONSIDERED";
            u.line() << X{5} << "  FOR THE PILE GROUP ANALYSIS ";
            u.blankLines(1);
        } else {
            u.line() << X{5} << "* PILE CAP IS EMBEDDED AND PASSIVE EARTH";
            u.line() << X{5} << "  RESISTANCE IN FRONT OF PILE CAP WILL " << "BE CONSIDERED";
            u.blankLines(1);
            if (capopt == 2) {
                if (cap.KCAPSPR != 0) {
                    u.line() << X{5} << "- USING EQUIVALENT LATERAL SPRING";
                    countLine(u, "  INCREMENTS = ", cap.INCREMENTS);
                } else {
                    u.line() << X{5} << "- USING EQUIVALENT LATERAL LOAD";
                }
                if (cap.KCAPSOIL == 0) {
                    u.line() << X{5} << "- USE SOIL MODEL FROM SOIL DATA";
                } else if (cap.KCAPSOIL == 1) {
                    u.line() << X{5} << "- USE FHD MODEL BASED ON SOIL " << "PARAMETERS";
                } else {
                    const std::string& f = lb.LBLRFORCE;
                    const std::string& l = lb.LBLLEN;
                    u.line() << X{5} << "- USE FHD MODEL, PARAMETERS:    ";
                    u.line() << X{5} << "  K50    (" << f << "/" << l << "/" << l << ") = " << PG{12, 4, cap.K50}
                             << X{3};
                    u.line() << X{5} << "  F ULT  (" << f << "/" << l << ")    = " << PG{12, 4, cap.FULT} << X{3};
                    u.line() << X{5} << "  Y MAX  (" << l << ")        = " << PG{12, 4, cap.YMAX};
                }
            }
        }
    }
    // The effective width the embedded cap resists with: the plan diagonal in three dimensions, or the
    // equivalent diameter of an embedded cap when one is given.
    if (CTLIN.ANTYPE == 3) cap.CAPWZ = std::sqrt(cap.CAPWZ * cap.CAPWZ + cap.CAPLY * cap.CAPLY);
    if (capopt >= 1 && cap.CAPDEQ > 0.0) cap.CAPWZ = cap.CAPDEQ;
}

void echoLoads() {
    io::Unit& u = echoUnit();
    u.blankLines(3);
    u.line() << X{5} << "* TABLE C *  LOAD AND CONTROL PARAMETERS";

    const int nlc = upTo(LCDEF.NLC, MAXLC);
    if (nlc >= 1) {
        u.blankLines(2);
        u.line() << X{5} << "** LOAD CASES **";
        u.blankLines(2);
        countLine(u, "NUMBER OF LOAD CASES :", LCDEF.NLC);
        for (int c = 1; c <= nlc; ++c) loadCase(u, c);
    }

    if (OPTENV.ENVLC >= 1) {
        u.blankLines(2);
        u.line() << X{5} << "** LOAD CASES ENVELOPES **";
        u.blankLines(1);
        CTLPAR.KPRINT = OPTENV.KPRINTLC;
        CTLPAR.NPREVRY = OPTENV.NPREVLC;
        printLevel(u, " NODE(S)");
    }

    const int ncomb = upTo(LCBDEF.NCOMB, MAXLCB);
    if (ncomb >= 1) {
        u.blankLines(3);
        u.line() << X{5} << "** LOAD COMBINATIONS **";
        u.blankLines(2);
        countLine(u, "NUMBER OF LOAD COMB. :", LCBDEF.NCOMB);
        for (int m = 1; m <= ncomb; ++m) loadCombination(u, m);
    }

    if (OPTENV.ENVCB >= 1) {
        u.blankLines(2);
        u.line() << X{5} << "** LOAD COMBINATION ENVELOPES **";
        u.blankLines(1);
        CTLPAR.KPRINT = OPTENV.KPRINTCB;
        CTLPAR.NPREVRY = OPTENV.NPREVCB;
        printLevel(u, " NODE(S)");
    }

    distributedSets(u);
}

}  // namespace kaldo
