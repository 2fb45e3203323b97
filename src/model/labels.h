// Unit labels and along-pile column titles of the reports, built once per run for the units system.
// Every text has a fixed width and is copied into report lines as it stands, blanks included.
#pragma once

#include <string>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct UnitLabels {
    std::string LBLTOL;      // 3: length of a tolerance
    std::string LBLFORCE4;   // 4: force (never in kips)
    std::string LBLLEN;      // 2: internal length (inch, metre)
    std::string LBLFORCE;    // 3: force (never in kips)
    std::string LBLSTRESS;   // 5: stress
    std::string LBLCOORDL;   // 3: coordinate length (foot, metre)
    std::string LBLSECTL;    // 3: cross-section dimension (inch, millimetre)
    std::string LBLCOORD;    // 2: coordinate length
    std::string LBLSECT;     // 2: cross-section dimension
    std::string LBLRFORCE4;  // 4: report force, in kips with the kip option
    std::string LBLRFORCE;   // 3: report force, in kips with the kip option

    // Three heading lines of 10 characters above each of the along-pile result columns, in the order
    // of the result quantities.
    Arr<std::string, 1, NCOLSEL> COLTTL1, COLTTL2, COLUNIT;
    // The depth column: title, blank line, unit line.
    Arr<std::string, 1, 3> DEPHDR;
    // The pile column of the extreme tables: "**********", then the 6-character cells " PILE ", six
    // blanks, " x(" length label ")", "******".
    Arr<std::string, 1, 5> PILEHDR;
};
inline UnitLabels LABELS;

}  // namespace kaldo
