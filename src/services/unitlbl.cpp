#include <string>
#include <string_view>

#include "model/labels.h"
#include "services/unitlbl.h"

namespace kaldo {

namespace {

// A text padded with blanks to the 10 columns of a heading cell.
std::string cell(std::string_view s) {
    std::string c(s);
    c.resize(10, ' ');
    return c;
}

struct Title {
    int column;
    const char* line1;
    const char* line2;
    char unit;  // composition of the unit line: L M F Q S E, or blank
};

// Three-dimensional columns: displacements in the pile's local (x, y, z) and the global (X, Y, Z)
// axes, bending moments, shears, soil reactions, axial force, stress, flexural rigidities, distributed
// loads and the demand/capacity ratios.
constexpr Title kTitles3D[] = {
    {1, "  DISPL.  ", "   x-DIR  ", 'L'},   {2, "  DISPL.  ", "   y-DIR  ", 'L'},
    {3, "  DISPL.  ", "   z-DIR  ", 'L'},   {4, "  DISPL.  ", "  y-z-DIR ", 'L'},
    {5, "  DISPL.  ", "   X-DIR  ", 'L'},   {6, "  DISPL.  ", "   Y-DIR  ", 'L'},
    {7, "  DISPL.  ", "   Z-DIR  ", 'L'},   {8, "  DISPL.  ", "  Y-Z-DIR ", 'L'},
    {9, "  MOMENT  ", "   z-DIR  ", 'M'},   {10, "  MOMENT  ", "   y-DIR  ", 'M'},
    {11, "  MOMENT  ", "  y-z-DIR ", 'M'},  {12, "   SHEAR  ", "   y-DIR  ", 'F'},
    {13, "   SHEAR  ", "   z-DIR  ", 'F'},  {14, "   SHEAR  ", "  y-z-DIR ", 'F'},
    {15, "SOIL REACT", "   y-DIR  ", 'Q'},  {16, "SOIL REACT", "   z-DIR  ", 'Q'},
    {17, "SOIL REACT", "  y-z-DIR ", 'Q'},  {18, " AXIAL F. ", "   x-DIR  ", 'F'},
    {19, "   TOTAL  ", "  STRESS  ", 'S'},  {20, "FLEX. RIG.", "   z-DIR  ", 'E'},
    {21, "FLEX. RIG.", "   y-DIR  ", 'E'},  {22, "DIST. LOAD", "   y-DIR  ", 'Q'},
    {23, "DIST. LOAD", "   z-DIR  ", 'Q'},  {24, " DEM./CAP.", "  MOMENT  ", ' '},
    {25, " DEM./CAP.", "   SHEAR  ", ' '},
};

// Plane columns: the plane analysis fills only these; the others stay blank.
constexpr Title kTitlesPlane[] = {
    {1, "  DISPL.  ", "   x-DIR  ", 'L'},   {2, "  DISPL.  ", "   y-DIR  ", 'L'},
    {5, "  DISPL.  ", "   X-DIR  ", 'L'},   {6, "  DISPL.  ", "   Y-DIR  ", 'L'},
    {9, "  BENDING ", "  MOMENT  ", 'M'},   {12, "   SHEAR  ", "   FORCE  ", 'F'},
    {15, "   SOIL   ", " REACTION ", 'Q'},  {18, "   AXIAL  ", "   FORCE  ", 'F'},
    {19, "   TOTAL  ", "  STRESS  ", 'S'},  {20, " FLEXURAL ", " RIGIDITY ", 'E'},
    {22, "DISTRIBUT.", "   LOAD   ", 'Q'},  {24, " DEM./CAP.", "  MOMENT  ", ' '},
    {25, " DEM./CAP.", "   SHEAR  ", ' '},
};

// The unit line of a column: length, moment (force-length), force, load per length, stress (force per
// length squared) and flexural rigidity (force-length squared), in report forces.
std::string unitLine(char kind) {
    const UnitLabels& b = LABELS;
    switch (kind) {
        case 'L': return cell("    " + b.LBLLEN);
        case 'M': return cell("  " + b.LBLRFORCE + "-" + b.LBLLEN);
        case 'F': return cell("    " + b.LBLRFORCE);
        case 'Q': return cell("  " + b.LBLRFORCE + "/" + b.LBLLEN);
        case 'S': return cell(" " + b.LBLRFORCE + "/" + b.LBLLEN + "**" + "2");
        case 'E': return cell(" " + b.LBLRFORCE + "-" + b.LBLLEN + "**" + "2");
        default: return cell("");
    }
}

}  // namespace

void UNITLBL(int code, int kip) {
    UnitLabels& b = LABELS;
    if (code == 1) {
        // English: internal inches and pounds, coordinates reported in feet; report forces in kips
        // with the kip option.
        const bool kips = kip == 1;
        b.LBLTOL = " IN";
        b.LBLFORCE4 = " LBS";
        b.LBLLEN = "IN";
        b.LBLFORCE = "LBS";
        b.LBLSTRESS = " PSI ";
        b.LBLCOORDL = " FT";
        b.LBLSECTL = " IN";
        b.LBLCOORD = "FT";
        b.LBLSECT = "IN";
        b.LBLRFORCE4 = kips ? "KIPS" : " LBS";
        b.LBLRFORCE = kips ? "KIP" : "LBS";
    } else if (code == -1) {
        // SI: metres and kilonewtons, cross sections in millimetres.
        b.LBLTOL = "  M";
        b.LBLFORCE4 = "  KN";
        b.LBLLEN = " M";
        b.LBLFORCE = " KN";
        b.LBLSTRESS = " KPA ";
        b.LBLCOORDL = "  M";
        b.LBLSECTL = " MM";
        b.LBLCOORD = " M";
        b.LBLSECT = "MM";
        b.LBLRFORCE4 = "  KN";
        b.LBLRFORCE = " KN";
    } else {
        // Generic system: lengths L and forces F whatever the user's units are. The force labels
        // show "F" right-aligned to their width, like the force label of four characters; the kip
        // option has no meaning here.
        b.LBLTOL = "  L";
        b.LBLFORCE4 = "   F";
        b.LBLLEN = " L";
        b.LBLFORCE = "  F";
        b.LBLSTRESS = "F/L^2";
        b.LBLCOORDL = "  L";
        b.LBLSECTL = "  L";
        b.LBLCOORD = " L";
        b.LBLSECT = " L";
        b.LBLRFORCE4 = "   F";
        b.LBLRFORCE = "  F";
    }
}

void COLHEAD(int antype) {
    UnitLabels& b = LABELS;
    const std::string blank = cell("");
    b.COLTTL1.fill(blank);
    b.COLTTL2.fill(blank);
    b.COLUNIT.fill(blank);
    auto apply = [&b](const auto& titles) {
        for (const Title& t : titles) {
            b.COLTTL1(t.column) = t.line1;
            b.COLTTL2(t.column) = t.line2;
            b.COLUNIT(t.column) = unitLine(t.unit);
        }
    };
    if (antype == 3)
        apply(kTitles3D);
    else
        apply(kTitlesPlane);

    b.DEPHDR(1) = "     x    ";
    b.DEPHDR(2) = blank;
    b.DEPHDR(3) = "    " + b.LBLCOORD + "    ";
    b.PILEHDR(1) = "**********";
    b.PILEHDR(2) = " PILE ";
    b.PILEHDR(3) = "      ";
    b.PILEHDR(4) = " x(" + b.LBLLEN + ")";
    b.PILEHDR(5) = "******";
}

}  // namespace kaldo
