// The input data file as the reader walks it: section headings, free-form records and fixed-text
// lines, with every fault naming the section, the line and the text.
#pragma once

#include <string>
#include <string_view>

#include "io/listread.h"
#include "io/units.h"

namespace kaldo {

class InputFile {
public:
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

    // Stops the reading with a fault of the given kind at the current line.
    [[noreturn]] void fail(io::InputError::Kind kind, const std::string& text, const std::string& what) const;

private:
    io::Unit& u_;
    std::string section_;
};

}  // namespace kaldo
