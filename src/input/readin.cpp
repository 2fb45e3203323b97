// Reading of the input data file: the title, the control record and the pile cap, after the report
// header. Values are stored as read; conversion to internal units comes later.
#include <cstdio>
#include <string>

#include "input/inputfile.h"
#include "input/readin.h"
#include "input/readsections.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/header.h"
#include "services/status.h"
#include "services/unitlbl.h"
#include "services/unitno.h"

namespace kaldo {

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string real(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

void InputFile::heading() {
    std::string text = io::readFixedText(u_, TITLELEN, section_.empty() ? "section heading" : section_);
    io::unit(RUNTIME_UNIT).line() << io::X{5} << "READING " << text;
    size_t end = text.find_last_not_of(' ');
    section_ = text.substr(0, end == std::string::npos ? 0 : end + 1);
    if (section_.empty()) section_ = "(blank heading)";
}

void InputFile::fail(io::InputError::Kind kind, const std::string& text, const std::string& what) const {
    failAt(here(), kind, text, what);
}

void InputFile::failAt(const Where& at, io::InputError::Kind kind, const std::string& text,
                       const std::string& what) {
    throw io::InputError(kind, at.section, at.line, text,
                         what + " in section \"" + at.section + "\", line " + std::to_string(at.line));
}

void InputFile::checkCount(int n, int capacity, const std::string& what) const {
    if (n < 0 || n > capacity)
        fail(io::InputError::Capacity, std::to_string(n),
             "count " + std::to_string(n) + " of " + what + " outside 0.." + std::to_string(capacity));
}

int InputFile::readCount(int capacity, const std::string& what, int previous) {
    int n = previous;
    record() >> n;
    checkCount(n, capacity, what);
    return n;
}

void InputFile::checkRange(int v, int lo, int hi, const std::string& what) const {
    checkRangeAt(here(), v, lo, hi, what);
}

void InputFile::checkRangeAt(const Where& at, int v, int lo, int hi, const std::string& what) {
    if (v < lo || v > hi)
        failAt(at, io::InputError::Index, std::to_string(v),
               what + " " + std::to_string(v) + " outside " + std::to_string(lo) + ".." + std::to_string(hi));
}

void InputFile::runDeferred() {
    for (const auto& check : deferred_) check();
    deferred_.clear();
}

namespace {

// Values that every run starts from, before any data line is read.
void setDefaults() {
    RUNCONST.PIWORD = 3.141590118408203;  // 3.14159 in single precision, as the curve routines expect
    RUNCONST.YMIN = 1e-14;
    RUNCONST.DEPTOL = 1e-6;
    RUNCONST.DLTOL = 1e-5;
    CTLIN.TITLEEND = "END ";
    PILEFAC.PMUL.fill(1.0);
    PILEFAC.YMUL.fill(1.0);
    PILEFAC.PMULZ.fill(1.0);
    PILEFAC.YMULZ.fill(1.0);
    PILEFAC.PMULY.fill(1.0);
    PILEFAC.YMULY.fill(1.0);
}

void readTitle(InputFile& in) {
    in.setSection("title");
    CTLIN.TITLE = in.fixedText(TITLELEN);
    in.fixedText(TITLELEN);
    io::Unit& rt = io::unit(RUNTIME_UNIT);
    rt.endLine();
    rt.line() << io::X{12} << CTLIN.TITLE;
    rt.blankLines(2);
    rt.line() << io::X{5} << "READING * TITLE AND VERSION";
}

void readControl(InputFile& in) {
    in.heading();
    {
        io::ListRecord r = in.record();
        int unusedItem = 0;
        r >> CTLIN.UNITS >> CTLIN.ANTYPE >> CTLIN.CAPOPT >> CTLIN.FLXCAP >> CTLIN.KUSERPY >> CTLIN.KUSERLS >>
            CTLIN.KUSERTQ >> CTLIN.KGRPRF >> CTLIN.KMPHI >> CTLIN.KAXFAC >> CTLIN.KPYOP >> unusedItem >>
            CTLIN.KAVGDIA >> CTLIN.KBATDEP >> CTLIN.KGENLS >> CTLIN.KAXLIM >> CTLIN.KKIPS >> CTLIN.KRFDEP >>
            CTLIN.KSMOV >> CTLIN.KCRVOUT >> CTLIN.KCRVBIN;
    }
    // The movement that sets the group reduction factors follows at once, without a heading.
    CTLIN.RFMOVY = 1.0;
    CTLIN.RFMOVZ = 1.0;
    if (CTLIN.KGRPRF == 3 || CTLIN.KGRPRF == 4) {
        io::ListRecord r = in.record();
        r >> CTLIN.RFMOVY >> CTLIN.RFMOVZ;
    }
}

// The curve data file is created whether or not curves are requested, text or unformatted as asked.
void openCurveDataFile(int& status) {
    io::Form form = CTLIN.KCRVBIN == 0 ? io::Form::Text : io::Form::Unformatted;
    const std::string& path = namesPath(REC_CURVEDATA);
    if (!io::unit(CURVEDATA_UNIT).open(path, io::Mode::Write, form))
        reportFault(status, ST_FILEOPEN,
                    "the curve data file \"" + path + "\" (record 24 of Names.dat) cannot be opened");
}

void readCap(InputFile& in) {
    in.heading();
    int unusedBlock = 0;
    {
        io::ListRecord r = in.record();
        double unusedValue = 0.0;
        r >> CAPIN.CAPLY >> CAPIN.CAPWZ >> CAPIN.CAPTX >> CAPIN.CAPDEQ >> unusedValue >> unusedBlock;
    }
    // An optional block of groups of values that the analysis does not use: read past it.
    if (unusedBlock == 1) {
        int groups = 0;
        in.record() >> groups;
        for (int g = 1; g <= groups; ++g) {
            int values = 0;
            in.record() >> values;
            for (int v = 1; v <= values; ++v) in.skipRecord();
        }
    }
    CAPIN.KCAPSPR = 0;
    if (CTLIN.CAPOPT > 1) {
        io::ListRecord r = in.record();
        r >> CAPIN.KCAPSPR >> CAPIN.KCAPSOIL >> CAPIN.INCREMENTS >> CAPIN.K50 >> CAPIN.FULT >> CAPIN.YMAX;
    }
    if (CTLIN.FLXCAP > 0) {
        io::ListRecord r = in.record();
        r >> CAPFLX.CENTY >> CAPFLX.CENTZ >> CAPFLX.NDIVY >> CAPFLX.NDIVZ >> CAPFLX.MAT1 >> CAPFLX.MAT2;
    }
}

int statusOf(io::InputError::Kind kind) {
    switch (kind) {
        case io::InputError::Malformed: return ST_MALFORMED;
        case io::InputError::RealForInteger: return ST_REALFORINT;
        case io::InputError::EarlyEnd: return ST_EARLYEND;
        case io::InputError::Capacity: return ST_CAPACITY;
        case io::InputError::Index: return ST_INDEX;
        case io::InputError::BadValue: return ST_BADVALUE;
    }
    return ST_MALFORMED;
}

}  // namespace

void READIN(int& status) {
    reportHeader();
    setDefaults();
    InputFile in(io::unit(INPUT_UNIT));
    try {
        readTitle(in);
        readControl(in);
        openCurveDataFile(status);
        if (status != ST_OK) return;
        UNITLBL(CTLIN.UNITS == 1 ? 1 : CTLIN.UNITS == 2 ? -1 : 0, CTLIN.KKIPS);
        COLHEAD(CTLIN.ANTYPE);
        readCap(in);
        readLoadSections(in);
        readModelSections(in);
        in.runDeferred();
    } catch (const io::InputError& e) {
        reportFault(status, statusOf(e.kind), std::string("input data file: ") + e.what());
    }
}

}  // namespace kaldo
