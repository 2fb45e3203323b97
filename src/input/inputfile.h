// The input data file as the reader walks it: section headings, free-form records and fixed-text
// lines, with every fault naming the section, the line and the text.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/listread.h"
#include "io/units.h"

namespace kaldo {

// Numbers as the reader's fault messages quote them: an integer, a real to 10 significant digits (num)
// or to 6 (real).
inline std::string num(int v) { return std::to_string(v); }
std::string num(double v);
std::string real(double v);

// Bounds of the values that the analysis uses as lengths, coordinates and magnitudes. A coordinate or
// length of the input (feet or metres, inches or millimetres for a section) beyond MAXCOORD has no
// engineering meaning, and any value beyond MAXVALUE would overflow the conversion to internal units or
// the products of the analysis. A quantity that the analysis divides by is 0 (where 0 means "none") or
// at least MINDIVISOR.
constexpr double MAXCOORD = 1.0e5;
constexpr double MAXVALUE = 1.0e30;
constexpr double MINDIVISOR = 1.0e-10;
// Iteration limits: a bound of more iterations than this is refused (it would also overflow the
// counters that run one past it).
constexpr int MAXITERATIONS = 10000;
// The load steps of a case: a first load factor below MINLOADSTEP would take more than 10000 steps to
// reach the full load, a smallest step below MINHALFSTEP lets the halving run 100000 steps.
constexpr double MINLOADSTEP = 1.0e-4;
constexpr double MINHALFSTEP = 1.0e-5;

class InputFile : private io::RecordObserver {
public:
    // A place in the file: the section heading and the line last read there.
    struct Where {
        std::string section;
        long line = 0;
    };

    explicit InputFile(io::Unit& u) : u_(u) {}

    // Reads a section's heading line (80 characters), traces it on the runtime file and makes it the
    // section that later faults name.
    void heading();
    // Starts the next free-form record of the current section.
    io::ListRecord record() {
        raisePending();
        return io::ListRecord(u_, section_, this);
    }
    // Reads one line as fixed text of n characters.
    std::string fixedText(int n) {
        raisePending();
        return io::readFixedText(u_, n, section_);
    }
    // Reads past one record.
    void skipRecord() {
        raisePending();
        io::skipRecord(u_, section_);
    }
    // Names the section for faults found before any heading (the title lines).
    void setSection(std::string_view name) { section_ = name; }
    const std::string& section() const { return section_; }
    long line() const { return u_.lineNumber(); }
    Where here() const { return {section_, u_.lineNumber()}; }

    // Stops the reading with a fault of the given kind at the current line, or at a remembered place.
    [[noreturn]] void fail(io::InputError::Kind kind, const std::string& text, const std::string& what) const;
    [[noreturn]] static void failAt(const Where& at, io::InputError::Kind kind, const std::string& text,
                                    const std::string& what);

    // A count read at the current line must lie in 0..capacity; what names the table ("load cases").
    void checkCount(int n, int capacity, const std::string& what);
    // Reads a count, a record of its own, and holds it against its table. An empty value keeps previous.
    int readCount(int capacity, const std::string& what, int previous = 0);
    // A number read at the current line must lie in lo..hi; what names it ("property set of pile 3").
    void checkRange(int v, int lo, int hi, const std::string& what) const;
    // The same check made once the whole file is read, for a number read at a remembered place.
    static void checkRangeAt(const Where& at, int v, int lo, int hi, const std::string& what);

    // A code read at the current line must be one of its table (status 115). field names it with its
    // owner ("pile type of property set 2"), allowed lists the codes with their meaning.
    void checkCode(int v, std::initializer_list<int> codes, const std::string& field,
                   const std::string& allowed) const;
    // A value read at the current line must lie in lo..hi (status 115); allowed says the range in words.
    void checkReal(double v, double lo, double hi, const std::string& field, const std::string& allowed) const;
    void checkInt(int v, int lo, int hi, const std::string& field, const std::string& allowed) const;
    // Shorthands: 0 up to MAXVALUE; above 0 up to MAXVALUE; finite with |v| <= MAXVALUE; a coordinate or
    // length with |v| <= MAXCOORD; a dimension or depth, 0 up to MAXCOORD; 0 (none) or MINDIVISOR up to
    // MAXVALUE.
    void nonNegative(double v, const std::string& field) const;
    void positive(double v, const std::string& field) const;
    void finite(double v, const std::string& field) const;
    void coordinate(double v, const std::string& field) const;
    void dimension(double v, const std::string& field) const;
    void zeroOrDivisor(double v, const std::string& field) const;
    // A value that the analysis can use but that lies far outside what engineering values are (a unit
    // mistake, most often): a warning on the runtime file naming the line, the reading goes on.
    void warn(const std::string& text) const;

    // Checks that need the whole model (an index into a later section) are kept here while the file is
    // read and run once reading is done.
    void defer(std::function<void()> check) { deferred_.push_back(std::move(check)); }
    void runDeferred();

    // Where reading may have gone wrong before a fault: the first record since the last section heading
    // that took values from more than one line, with the count read last before it; without such a
    // record and when the fault met a word or the end of the file (afterWord), the count read last in
    // the section. Empty when none.
    std::string misalignmentNote(bool afterWord) const;

private:
    void recordEnded(const io::RecordTrace& trace) noexcept override;
    // A fault found when a record ended (a decimal comma) stops the reading at the next step.
    void raisePending();

    struct Spill {
        std::string section;
        long line;
        int items, onFirstLine;
    };
    struct Count {
        std::string section;
        long line;
        int n;
        std::string what;
    };

    io::Unit& u_;
    std::string section_;
    std::vector<std::function<void()>> deferred_;
    std::optional<io::InputError> pending_;
    std::optional<Spill> spill_;
    std::optional<Count> lastCount_;
    std::optional<Count> countBeforeSpill_;
};

}  // namespace kaldo
