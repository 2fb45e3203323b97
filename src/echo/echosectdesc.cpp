// Input echo: the description of one cross section under "* PILE CROSS SECTIONS *" of Table E, with its
// name, its shape or nonlinear type, its dimensions and its material data in report units.
#include <span>
#include <string>
#include <string_view>

#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// What a value is, which fixes its report conversion and its unit label: dimensions in inches or
// millimetres, areas in square inches or square millimetres, moduli, strengths and stresses in force
// per square length, forces in the report force unit.
enum class Kind { Dim, Area, Stress, Force };

double reportValue(Kind k, double v) {
    switch (k) {
        case Kind::Dim: return UCVM1E3(v);
        case Kind::Area: return UCVM1E6(v);
        case Kind::Stress:
        case Kind::Force: return UCVKIPDIV(v);
    }
    return v;
}

std::string unitLabel(Kind k) {
    switch (k) {
        case Kind::Dim: return LABELS.LBLSECT;
        case Kind::Area: return LABELS.LBLSECT + "**" + "2";
        case Kind::Stress: return LABELS.LBLRFORCE + "/" + LABELS.LBLLEN + "**" + "2";
        case Kind::Force: return LABELS.LBLRFORCE;
    }
    return {};
}

// The first 32 characters of an 80-character name, blank-filled as the name field is.
std::string name32(const std::string& name) {
    std::string s = name.substr(0, 32);
    s.resize(32, ' ');
    return s;
}

class Describer {
public:
    Describer(io::Unit& u, int t) : u_(u), t_(t) {}
    void write();

private:
    double sr(int k) const { return SECTIN.SECTSR(t_, k); }
    double nr(int k) const { return SECTIN.SECTNR(t_, k); }
    int ni(int k) const { return SECTIN.SECTNI(t_, k); }

    void text(std::string_view a, std::string_view b) { u_.line() << io::X{5} << a << b; }
    void typeLine(std::string_view type) { text(" CROSS SECTION TYPE  :", type); }
    // Caption, the value in 13 columns, a blank and the unit label.
    void value(std::string_view caption, double v, Kind k) {
        u_.part() << io::X{5} << caption;
        WCOLREAL(u_, 13, 5, reportValue(k, v));
        u_.line() << " " << unitLabel(k);
    }
    // A tapered section: the top and the bottom value on one line, under TOP and BOTTOM.
    void topBottom(std::string_view caption, double top, double bot, Kind k, int gap) {
        u_.part() << io::X{5} << caption;
        WCOLREAL(u_, 13, 5, reportValue(k, top));
        u_.part() << " " << unitLabel(k) << io::X{gap};
        WCOLREAL(u_, 13, 5, reportValue(k, bot));
        u_.line() << " " << unitLabel(k);
    }
    void count(std::string_view caption, int n) { u_.line() << io::X{5} << caption << io::I(13, n); }

    void elastic();
    void elasticTapered();
    void designatedShape();
    void nonlinear();

    io::Unit& u_;
    int t_;
};

constexpr std::string_view EQUIV = " EQUIVALENT DIAMETER : ";
constexpr std::string_view EXTDIAM = " EXTERNAL DIAMETER   : ";
constexpr std::string_view INTDIAM = " INTERNAL DIAMETER   : ";
constexpr std::string_view EXTW = " EXTERNAL WIDTH      : ";
constexpr std::string_view EXTD = " EXTERNAL DEPTH      : ";
constexpr std::string_view INTW = " INTERNAL WIDTH      : ";
constexpr std::string_view INTD = " INTERNAL DEPTH      : ";
constexpr std::string_view FLANGE = " FLANGE THICKNESS    : ";
constexpr std::string_view WEB = " WEB THICKNESS       : ";
constexpr std::string_view YOUNG = " YOUNG MODULUS       : ";
constexpr std::string_view SHEAR = " SHEAR MODULUS       : ";
constexpr std::string_view STEELDIAM = " DIAMETER STEEL      : ";
constexpr std::string_view STEELTHK = " THICKNESS STEEL     : ";
constexpr std::string_view EQYOUNG = " EQ. YOUNG MODULUS   : ";

// The dimension lines of an elastic shape: caption and SECTSR item of the top (the bottom is item + 18).
struct DimLine {
    std::string_view caption;
    int item;
};
constexpr DimLine GENERAL_DIMS[] = {{EQUIV, 1}};
constexpr DimLine PIPE_DIMS[] = {{EXTDIAM, 1}, {INTDIAM, 2}};
constexpr DimLine RECT_DIMS[] = {{EQUIV, 1}, {EXTW, 3}, {EXTD, 4}, {INTW, 5}, {INTD, 6}};
constexpr DimLine FLANGED_DIMS[] = {{EQUIV, 1}, {EXTW, 3}, {EXTD, 4}, {FLANGE, 7}, {WEB, 8}};

struct Shape {
    std::string_view type;
    std::span<const DimLine> dims;
};

// Elastic shapes 0 to 4. A tapered section of any other code is described as an H section.
Shape elasticShape(int code) {
    switch (code) {
        case 0: return {" GENERAL SECTION  ", GENERAL_DIMS};
        case 1: return {" CIRCULAR PIPE    ", PIPE_DIMS};
        case 2: return {" RECTANGULAR PIPE ", RECT_DIMS};
        case 3: return {" I SECTION        ", FLANGED_DIMS};
        default: return {" H SECTION        ", FLANGED_DIMS};
    }
}

void Describer::write() {
    u_.blankLines(1);
    u_.line() << io::X{5} << " CROSS SECTION       : " << io::I(5, t_);
    text(" SECTION NAME        : ", name32(SECTIN.SECTNAME(t_)));
    u_.blankLines(1);
    const bool linear = SECTIN.NLFLAG(t_) == 0;
    text(" TYPE                : ", linear ? " ELASTIC" : " NONLINEAR");
    if (!linear)
        nonlinear();
    else if (SECTIN.STAPER(t_) != 0)
        elasticTapered();
    else
        elastic();
}

void Describer::elastic() {
    const int code = SECTIN.ESHAPE(t_);
    if (code == 5) {
        designatedShape();
    } else if (code >= 0 && code <= 4) {
        const Shape shape = elasticShape(code);
        typeLine(shape.type);
        for (const DimLine& d : shape.dims) value(d.caption, sr(d.item), Kind::Dim);
    } else {
        // An unknown shape code has no type of its own; the diameter is what the analysis uses.
        value(EQUIV, sr(1), Kind::Dim);
    }
    value(YOUNG, sr(17), Kind::Stress);
    if (CTLIN.ANTYPE == 3 && code != 0) value(SHEAR, sr(9), Kind::Stress);
}

// A standard steel shape by its designation: a pipe (family 12 and above) by its diameters and wall,
// a flanged shape by its width, depth and thicknesses.
void Describer::designatedShape() {
    const int family = SECTIN.AISCFAM(t_);
    std::string_view type = " AISC SECTION       ";
    switch (family) {
        case 0: type = " AISC SECTION (W) "; break;
        case 1: type = " AISC SECTION (M) "; break;
        case 2: type = " AISC SECTION (S) "; break;
        case 3: type = " AISC SECTION (HP)"; break;
        case 11: type = " AISC SECTION (HSS) "; break;
        case 12: type = " AISC SECTION (PIPE)"; break;
        default: break;
    }
    typeLine(type);
    u_.blankLines(1);
    text(" AISC SECTION NAME   : ", name32(SECTIN.AISCNAME(t_)));
    value(SECTIN.AISCEXT(t_) != 0 ? EXTDIAM : EQUIV, sr(1), Kind::Dim);
    if (family >= 12) {
        value(INTDIAM, sr(2), Kind::Dim);
        value(" THICKNESS           : ", sr(37), Kind::Dim);
    } else {
        value(EXTW, sr(3), Kind::Dim);
        value(EXTD, sr(4), Kind::Dim);
        value(FLANGE, sr(7), Kind::Dim);
        value(WEB, sr(8), Kind::Dim);
    }
}

void Describer::elasticTapered() {
    const int code = SECTIN.ESHAPE(t_);
    const Shape shape = elasticShape(code);
    typeLine(shape.type);
    text(" TAPERED SECTION       ", "         TOP                  BOTTOM");
    // The bottom value starts 23 columns after the top value, under BOTTOM.
    for (const DimLine& d : shape.dims) topBottom(d.caption, sr(d.item), sr(d.item + 18), Kind::Dim, 7);
    topBottom(YOUNG, sr(17), sr(35), Kind::Stress, 0);
    if (CTLIN.ANTYPE == 3 && code != 0) topBottom(SHEAR, sr(9), sr(27), Kind::Stress, 0);
}

void Describer::nonlinear() {
    const int type = ni(1);
    const int sub = ni(2);  // type 3: 1 steel pipe, 2 H or I shape, 3 designated shape inside
    switch (type) {
        case 1: typeLine(" RECTANGULAR CONCRETE PILE  "); break;
        case 2: typeLine(" ROUND CONCRETE SHAFT       "); break;
        case 3: typeLine(" ROUND CONC. SHAFT, CASING (AND STEEL SECTION)"); break;
        case 4: typeLine(" ROUND PRESTRESSED PILE     "); break;
        case 5: typeLine(" SQUARE PRESTRESSED PILE    "); break;
        case 6: typeLine(" OCTOGONAL PRESTRESSED PILE "); break;
        case 7: typeLine(" STEEL PIPE PILE            "); break;
        case 8: typeLine(ni(3) != 0 ? " STEEL H SECTION PILE       " : " STEEL I SECTION PILE       "); break;
        case 9: typeLine(" STEEL AISC SECTION PILE    "); break;
        case 10: typeLine(" USER DEFINED EI            "); break;
        default: break;
    }
    const bool concrete = type >= 1 && type <= 3;     // reinforced concrete
    const bool prestressed = type >= 4 && type <= 6;  // prestressed concrete
    const bool flangedInside = type == 8 || (type == 3 && sub == 2);
    const bool designatedInside = type == 9 || (type == 3 && sub == 3);

    // Concrete outline.
    switch (type) {
        case 1:
            value(EQUIV, sr(1), Kind::Dim);
            value(EXTW, nr(1), Kind::Dim);
            value(EXTD, nr(2), Kind::Dim);
            break;
        case 2: value(EXTDIAM, nr(3), Kind::Dim); break;
        case 3: value(" CONCRETE DIAMETER   : ", nr(3), Kind::Dim); break;
        case 4:
            value(EXTDIAM, nr(3), Kind::Dim);
            value(" VOID DIAMETER       : ", nr(4), Kind::Dim);
            break;
        case 5:
            value(EQUIV, sr(1), Kind::Dim);
            value(EXTW, nr(1), Kind::Dim);
            value(" CORNER CHAMFER      : ", nr(5), Kind::Dim);
            value(" VOID DIAMETER       : ", nr(4), Kind::Dim);
            break;
        case 6:
            value(EQUIV, sr(1), Kind::Dim);
            value(EXTW, nr(1), Kind::Dim);
            value(" VOID DIAMETER       : ", nr(4), Kind::Dim);
            break;
        default: break;
    }
    if (concrete || prestressed) value(" CONCRETE FC         : ", nr(12), Kind::Stress);

    // Steel: the casing of a shaft, a pipe, a flanged or a designated shape.
    if (type == 3 && nr(8) > 0.0 && nr(9) > 0.0) {
        value(" DIAMETER CASING     : ", nr(8), Kind::Dim);
        value(" THICKNESS CASING    : ", nr(9), Kind::Dim);
        value(" ES CASING           : ", nr(13), Kind::Stress);
        value(" FY CASING           : ", nr(14), Kind::Stress);
    }
    if (type == 7 || (type == 3 && sub == 1)) {
        value(STEELDIAM, nr(10), Kind::Dim);
        value(STEELTHK, nr(11), Kind::Dim);
    }
    if (type == 8) value(EQUIV, sr(1), Kind::Dim);
    if (flangedInside) {
        value(EXTW, nr(1), Kind::Dim);
        value(EXTD, nr(2), Kind::Dim);
        value(FLANGE, nr(7), Kind::Dim);
        value(WEB, nr(6), Kind::Dim);
    }
    if (designatedInside) {
        u_.blankLines(1);
        text(" AISC SECTION NAME   : ", name32(SECTIN.NLAISCNAME(t_)));
    }
    if (type == 9 && ni(30) == 0) value(EQUIV, sr(1), Kind::Dim);
    if (designatedInside) {
        if (ni(5) < 12) {
            value(EXTW, nr(1), Kind::Dim);
            value(EXTD, nr(2), Kind::Dim);
            value(FLANGE, nr(7), Kind::Dim);
            value(WEB, nr(6), Kind::Dim);
        } else {
            value(STEELDIAM, nr(10), Kind::Dim);
            value(STEELTHK, nr(11), Kind::Dim);
        }
    }
    if ((type >= 7 && type <= 9) || (type == 3 && sub > 0)) {
        value(" ES STEEL            : ", nr(13), Kind::Stress);
        value(" FY STEEL            : ", nr(14), Kind::Stress);
    }

    // Reinforcement and prestressing, then the equivalent modulus of the concrete section.
    if (concrete) {
        if (ni(10) >= 1) {
            count(" NUMBER REBARS       : ", ni(10));
            value(" DIAMETER REINF.     : ", nr(18), Kind::Dim);
            value(" AREA REINFORCEMENT  : ", nr(17), Kind::Area);
            value(" ES REINFORCEMENT    : ", nr(20), Kind::Stress);
            value(" FY REINFORCEMENT    : ", nr(21), Kind::Stress);
        }
        value(EQYOUNG, sr(17), Kind::Stress);
    }
    if (prestressed) {
        if (ni(22) >= 1) {
            count(" NUMBER STRANDS      : ", ni(22));
            value(" DIAMETER STRAND     : ", nr(26), Kind::Dim);
            value(" AREA STRAND         : ", nr(27), Kind::Area);
            value(" FU STRAND           : ", nr(29), Kind::Stress);
            value(" INITIAL PRESS. FORCE: ", nr(30), Kind::Force);
        }
        value(EQYOUNG, sr(17), Kind::Stress);
    }

    // A user-defined EI: the modulus stands for every bending direction without a moment-curvature
    // set (set 0), the first axis, or in three dimensions either axis.
    if (type == 10) {
        value(EQUIV, sr(1), Kind::Dim);
        const bool constantEI =
            SECTTAB.CSMPZ(t_) == 0 || (CTLIN.ANTYPE == 3 && SECTTAB.CSMPY(t_) == 0);
        if (constantEI) value(YOUNG, sr(17), Kind::Stress);
    }
}

}  // namespace

// Writes the description of cross section t on the echo report.
void echoCrossSection(int t) {
    Describer(io::unit(ECHO_UNIT), t).write();
}

}  // namespace kaldo
