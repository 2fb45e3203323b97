// The input data file as the reader walks it: section headings, free-form records and fixed-text
// lines, with every fault naming the section, the line and the text.
#pragma once

#include <functional>
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

class InputFile {
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
    io::ListRecord record() { return io::ListRecord(u_, section_); }
    // Reads one line as fixed text of n characters.
    std::string fixedText(int n) { return io::readFixedText(u_, n, section_); }
    // Reads past one record.
    void skipRecord() { io::skipRecord(u_, section_); }
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
    void checkCount(int n, int capacity, const std::string& what) const;
    // Reads a count, a record of its own, and holds it against its table. An empty value keeps previous.
    int readCount(int capacity, const std::string& what, int previous = 0);
    // A number read at the current line must lie in lo..hi; what names it ("property set of pile 3").
    void checkRange(int v, int lo, int hi, const std::string& what) const;
    // The same check made once the whole file is read, for a number read at a remembered place.
    static void checkRangeAt(const Where& at, int v, int lo, int hi, const std::string& what);

    // Checks that need the whole model (an index into a later section) are kept here while the file is
    // read and run once reading is done.
    void defer(std::function<void()> check) { deferred_.push_back(std::move(check)); }
    void runDeferred();

private:
    io::Unit& u_;
    std::string section_;
    std::vector<std::function<void()>> deferred_;
};

}  // namespace kaldo
