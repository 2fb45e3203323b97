// The file list of the run: the version text and the paths bound to the numbered units.
#pragma once

#include <string>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct FileNames {
    std::string VERSION;                        // 12 characters, blank-padded, as the file list gives it
    Arr<std::string, 1, NAMESRECS> RECORD;      // records 5..27: paths as read, trailing blanks cut
};
inline FileNames FILENAMES;

// File-list record of each unit's path.
inline constexpr int REC_INPUT = 5, REC_ECHO = 6, REC_RESULTS = 7, REC_SUMMARY = 8, REC_PLOT = 9,
                     REC_RUNTIME = 10, REC_CASESTATUS = 11, REC_PILERES = 12, REC_PROGRESS = 13,
                     REC_AXTORS = 14, REC_FLEX1 = 15, REC_FLEX2 = 16, REC_PILESCR = 17, REC_STOP = 18,
                     REC_EQSTIFF = 19, REC_STIFFLOG = 20, REC_AXWARN = 21, REC_ITERLOG = 22,
                     REC_LTCURVE = 23, REC_CURVEDATA = 24, REC_CAPTRACE = 25, REC_SUMCOLL = 26,
                     REC_MPHILIST = 27;

// The path of file-list record rec.
inline const std::string& namesPath(int rec) { return FILENAMES.RECORD(rec); }

}  // namespace kaldo
