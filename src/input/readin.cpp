// Reading of the input data file: the title, the control record and the pile cap, after the report
// header. Values are stored as read; conversion to internal units comes later.
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>

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

namespace {

// A line of numbers only (and their separators): what a data record looks like, never a heading.
bool numbersOnly(const std::string& text) {
    bool any = false;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == ',')) ++i;
        if (i == text.size()) break;
        size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != '\t' && text[j] != ',') ++j;
        const std::string word = text.substr(i, j - i);
        char* end = nullptr;
        std::strtod(word.c_str(), &end);
        if (end != word.c_str() + word.size()) return false;
        any = true;
        i = j;
    }
    return any;
}

}  // namespace

void InputFile::heading() {
    raisePending();
    std::string text = io::readFixedText(u_, TITLELEN, section_.empty() ? "section heading" : section_);
    io::unit(RUNTIME_UNIT).line() << io::X{5} << "READING " << text;
    size_t end = text.find_last_not_of(' ');
    // A heading is free text, but a line of numbers where a heading is due means that the records before
    // it took fewer lines than the file gives them: a record holds more values than its type takes, or a
    // count is below the records that follow.
    if (numbersOnly(text))
        fail(io::InputError::Malformed, text.substr(0, end + 1),
             "a section heading is due after section \"" + section_ + "\" but the line holds numbers (\"" +
                 text.substr(0, end + 1) + "\"): the section before it gives more records than its counts and "
                 "switches call for (a count too small, or a switch of the control record off)");
    section_ = text.substr(0, end == std::string::npos ? 0 : end + 1);
    if (section_.empty()) section_ = "(blank heading)";
    spill_.reset();
    lastCount_.reset();
    countBeforeSpill_.reset();
}

void InputFile::recordEnded(const io::RecordTrace& t) noexcept {
    try {
        if (t.lastLine > t.firstLine && !spill_) {
            spill_ = Spill{section_, t.firstLine, t.items, t.itemsOnFirstLine};
            countBeforeSpill_ = lastCount_;
        }
        if (t.leftoverValues == 0) return;
        const std::string values = t.leftoverValues == 1 ? "1 value" : std::to_string(t.leftoverValues) + " values";
        if (!t.joined.empty()) {
            // A decimal comma splits one number into two values, so the line holds one value more than
            // its record takes: both signs together are refused, where either alone is legal.
            if (pending_) return;
            const size_t comma = t.joined.find(',');
            const std::string a = t.joined.substr(0, comma), b = t.joined.substr(comma + 1);
            pending_.emplace(io::InputError::Malformed, section_, t.joinedLine, t.joined,
                             "decimal comma in \"" + t.joined + "\": it reads as the two values " + a + " and " + b +
                                 ", and line " + std::to_string(t.lastLine) + " holds " + values +
                                 " more than its record takes (" + std::to_string(t.items) +
                                 "); write decimals with a point (" + a + "." + b + ") in section \"" + section_ +
                                 "\", line " + std::to_string(t.joinedLine));
            return;
        }
        io::unit(RUNTIME_UNIT).line() << io::X{5} << "** WARNING ** line " << std::to_string(t.lastLine)
                                      << " of section \"" << section_ << "\" holds " << values
                                      << " more than its record takes (" << std::to_string(t.items)
                                      << "); ignored: " << t.leftover;
    } catch (...) {
        // A trace that cannot be kept loses a diagnosis, never the reading.
    }
}

void InputFile::raisePending() {
    if (!pending_) return;
    io::InputError e = *pending_;
    pending_.reset();
    throw e;
}

std::string InputFile::misalignmentNote(bool afterWord) const {
    if (!spill_) {
        // No record ran over: a count above the records given makes the next record meet the heading of
        // the next section (or the end of the file) at once.
        if (!afterWord || !lastCount_ || lastCount_->n == 0) return {};
        return "the count " + std::to_string(lastCount_->n) + " of " + lastCount_->what + " at line " +
               std::to_string(lastCount_->line) + " of section \"" + lastCount_->section +
               "\" may be above the records given";
    }
    const Spill& s = *spill_;
    std::string note = "reading may have gone wrong at line " + std::to_string(s.line) + " of section \"" +
                       s.section + "\": the record there holds " + std::to_string(s.items) + " values, the line " +
                       (s.onFirstLine == 1 ? "gave 1" : "gave " + std::to_string(s.onFirstLine)) +
                       " and the record took the rest from the lines below";
    if (countBeforeSpill_)
        note += " (or the count " + std::to_string(countBeforeSpill_->n) + " of " + countBeforeSpill_->what +
                " at line " + std::to_string(countBeforeSpill_->line) + " is above the records given)";
    return note;
}

void InputFile::checkCode(int v, std::initializer_list<int> codes, const std::string& field,
                          const std::string& allowed) const {
    for (int c : codes)
        if (v == c) return;
    fail(io::InputError::BadValue, std::to_string(v), field + " is " + std::to_string(v) + "; allowed: " + allowed);
}

void InputFile::checkReal(double v, double lo, double hi, const std::string& field,
                          const std::string& allowed) const {
    if (!(v >= lo && v <= hi))
        fail(io::InputError::BadValue, num(v), field + " is " + num(v) + "; allowed: " + allowed);
}

void InputFile::checkInt(int v, int lo, int hi, const std::string& field, const std::string& allowed) const {
    if (v < lo || v > hi)
        fail(io::InputError::BadValue, std::to_string(v), field + " is " + std::to_string(v) + "; allowed: " + allowed);
}

// The shorthands check nearly every value of a large model (several per pile): the texts of their
// allowed ranges, which print the bounds, are formed once.
void InputFile::nonNegative(double v, const std::string& field) const {
    static const std::string allowed = "0 to " + real(MAXVALUE);
    checkReal(v, 0.0, MAXVALUE, field, allowed);
}

void InputFile::positive(double v, const std::string& field) const {
    if (!(v > 0.0 && v <= MAXVALUE))
        fail(io::InputError::BadValue, num(v),
             field + " is " + num(v) + "; allowed: above 0 (up to " + real(MAXVALUE) + ")");
}

void InputFile::finite(double v, const std::string& field) const {
    static const std::string allowed = "-" + real(MAXVALUE) + " to " + real(MAXVALUE);
    checkReal(v, -MAXVALUE, MAXVALUE, field, allowed);
}

void InputFile::coordinate(double v, const std::string& field) const {
    static const std::string allowed = "-" + real(MAXCOORD) + " to " + real(MAXCOORD);
    checkReal(v, -MAXCOORD, MAXCOORD, field, allowed);
}

void InputFile::dimension(double v, const std::string& field) const {
    static const std::string allowed = "0 to " + real(MAXCOORD);
    checkReal(v, 0.0, MAXCOORD, field, allowed);
}

void InputFile::zeroOrDivisor(double v, const std::string& field) const {
    static const std::string allowed = "0 (none) or " + real(MINDIVISOR) + " to " + real(MAXVALUE);
    if (v != 0.0) checkReal(v, MINDIVISOR, MAXVALUE, field, allowed);
}

void InputFile::warn(const std::string& text) const {
    io::unit(RUNTIME_UNIT).line() << io::X{5} << "** WARNING ** " << text << " (line " << std::to_string(line())
                                  << " of section \"" << section_ << "\")";
}

void InputFile::fail(io::InputError::Kind kind, const std::string& text, const std::string& what) const {
    failAt(here(), kind, text, what);
}

void InputFile::failAt(const Where& at, io::InputError::Kind kind, const std::string& text,
                       const std::string& what) {
    throw io::InputError(kind, at.section, at.line, text,
                         what + " in section \"" + at.section + "\", line " + std::to_string(at.line));
}

void InputFile::checkCount(int n, int capacity, const std::string& what) {
    lastCount_ = Count{section_, line(), n, what};
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
    raisePending();
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

// Every item of the control record is a code of a small table: a value outside it would pass for one
// of the table's meanings somewhere (a section present or not) and for another elsewhere.
void checkControl(const InputFile& in) {
    const std::string item = " (item ";
    const std::string of = " of the control record)";
    auto sw = [&](int v, int k, const std::string& name) {
        in.checkCode(v, {0, 1}, name + item + num(k) + of, "0 or 1");
    };
    in.checkCode(CTLIN.UNITS, {1, 2, 3}, "units system" + item + "1" + of, "1 English, 2 SI, 3 generic labels");
    in.checkCode(CTLIN.ANTYPE, {2, 3}, "analysis type" + item + "2" + of, "2 plane, 3 three-dimensional");
    in.checkCode(CTLIN.CAPOPT, {0, 1, 2}, "pile cap option" + item + "3" + of,
                 "0 cap not considered, 1 embedded cap, 2 embedded cap with its model record");
    in.checkCode(CTLIN.FLXCAP, {0, 1, 2}, "flexible cap switch" + item + "4" + of,
                 "0 rigid cap, 1 or 2 flexible cap");
    sw(CTLIN.KUSERPY, 5, "user p-y curves switch");
    sw(CTLIN.KUSERLS, 6, "user axial curves switch");
    sw(CTLIN.KUSERTQ, 7, "user torque-rotation curves switch");
    in.checkCode(CTLIN.KGRPRF, {0, 1, 2, 3, 4}, "group reduction factor option" + item + "8" + of,
                 "0 none, 1 or 2 from the load direction, 3 or 4 from a given movement");
    sw(CTLIN.KMPHI, 9, "user moment-curvature switch");
    sw(CTLIN.KAXFAC, 10, "axial load factor echo switch");
    in.checkCode(CTLIN.KPYOP, {-1, 0, 1}, "p-y print switch" + item + "11" + of,
                 "-1 p-y curves only, 0 none, 1 print requests follow");
    sw(CTLIN.KAVGDIA, 13, "average diameter switch");
    sw(CTLIN.KBATDEP, 14, "batter depth switch");
    sw(CTLIN.KGENLS, 15, "generated curve notes switch");
    sw(CTLIN.KAXLIM, 16, "axial limit switch");
    sw(CTLIN.KKIPS, 17, "kip switch");
    sw(CTLIN.KRFDEP, 18, "multipliers along depth switch");
    sw(CTLIN.KSMOV, 19, "soil movement switch");
    sw(CTLIN.KCRVOUT, 20, "curve data file switch");
    sw(CTLIN.KCRVBIN, 21, "curve data file form");
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
    checkControl(in);
    // The movement that sets the group reduction factors follows at once, without a heading.
    CTLIN.RFMOVY = 1.0;
    CTLIN.RFMOVZ = 1.0;
    if (CTLIN.KGRPRF == 3 || CTLIN.KGRPRF == 4) {
        {
            io::ListRecord r = in.record();
            r >> CTLIN.RFMOVY >> CTLIN.RFMOVZ;
        }
        in.finite(CTLIN.RFMOVY, "movement along Y for the group reduction factors");
        in.finite(CTLIN.RFMOVZ, "movement along Z for the group reduction factors");
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

// An embedded cap needs piles (its passive resistance is the mean of what the piles' soil gives at cap
// level), and its equivalent lateral spring needs soil layers: the pseudo-pile takes its springs from
// the layers, also when the piles stand on user p-y curves. Checked once the whole file is read, at the
// cap record, for a rigid cap (a flexible cap has no embedded resistance) with something to analyse.
void deferEmbeddedCapChecks(InputFile& in, const InputFile::Where& at) {
    // A flexible cap replaces the group solution, and with it the embedded cap's resistance.
    if (CTLIN.CAPOPT < 1 || CTLIN.FLXCAP > 0) return;
    in.defer([at] {
        // A model without load cases or combinations never evaluates the cap.
        if (LCDEF.NLC + LCBDEF.NCOMB < 1) return;
        if (arrangementPiles() < 1)
            InputFile::failAt(at, io::InputError::BadValue, std::to_string(CTLIN.CAPOPT),
                              "the embedded pile cap (pile cap option " + std::to_string(CTLIN.CAPOPT) +
                                  ") stands on no piles: the group arrangement has none");
        if (CTLIN.CAPOPT > 1 && CAPIN.KCAPSPR == 1 && SOILIN.NLAYIN < 1)
            InputFile::failAt(at, io::InputError::BadValue, std::to_string(CAPIN.KCAPSPR),
                              "the embedded cap's equivalent lateral spring takes its springs from the soil "
                              "layers, and the model has no soil layers");
    });
}

void readCap(InputFile& in) {
    in.heading();
    int unusedBlock = 0;
    {
        io::ListRecord r = in.record();
        double unusedValue = 0.0;
        r >> CAPIN.CAPLY >> CAPIN.CAPWZ >> CAPIN.CAPTX >> CAPIN.CAPDEQ >> unusedValue >> unusedBlock;
    }
    const InputFile::Where capRecord = in.here();
    for (auto [v, name] : {std::pair{CAPIN.CAPLY, "cap length along Y"}, std::pair{CAPIN.CAPWZ, "cap width along Z"},
                           std::pair{CAPIN.CAPTX, "cap thickness along X"},
                           std::pair{CAPIN.CAPDEQ, "cap equivalent diameter"}})
        in.dimension(v, name);
    in.checkCode(unusedBlock, {0, 1}, "switch of the block of unused values (item 6 of the cap record)", "0 or 1");
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
        r.finish();
        in.checkCode(CAPIN.KCAPSPR, {0, 1}, "embedded cap form",
                     "0 equivalent lateral load, 1 equivalent lateral spring");
        in.checkCode(CAPIN.KCAPSOIL, {0, 1, 2}, "embedded cap model",
                     "0 from the soil data, 1 from the soil parameters, 2 from K50, FULT and YMAX");
        // The cap's pseudo-pile has the nodes of a pile: at most MAXINC increments.
        if (CAPIN.KCAPSPR == 1)
            in.checkInt(CAPIN.INCREMENTS, 1, MAXINC, "increments of the equivalent lateral spring",
                        "1 to " + std::to_string(MAXINC));
        in.nonNegative(CAPIN.K50, "cap model K50");
        in.nonNegative(CAPIN.FULT, "cap model FULT");
        in.nonNegative(CAPIN.YMAX, "cap model YMAX");
    }
    deferEmbeddedCapChecks(in, capRecord);
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
        // A fault of shape (a word where a number is due, a heading of numbers, the end of the file) is
        // what a record or a count that does not match the file leads to later on.
        const bool shape = e.kind == io::InputError::Malformed || e.kind == io::InputError::RealForInteger ||
                           e.kind == io::InputError::EarlyEnd;
        // A word where a number is due (a heading met too early) or the end of the file is what a count
        // above the records given leads to.
        const bool word = e.kind == io::InputError::EarlyEnd ||
                          (e.kind == io::InputError::Malformed && !e.text.empty() &&
                           std::isalpha(static_cast<unsigned char>(e.text[0])));
        reportFault(status, statusOf(e.kind), std::string("input data file: ") + e.what());
        const std::string note = shape ? in.misalignmentNote(word) : std::string();
        if (!note.empty() && io::unit(RUNTIME_UNIT).isOpen()) {
            io::unit(RUNTIME_UNIT).free() << "    " << note;
            io::unit(RUNTIME_UNIT).flush();
        }
    }
}

}  // namespace kaldo
