// Test support: an input file read and converted into the blocks, with the report files open, so that a
// test can run one step of the echo or of the analysis on a real model and read what it wrote.
#pragma once

#include <string>

#include "support/workdir.h"

namespace kaldo::test {

// Writes Names.dat and case.inp (the text given) into dir, then runs the file set-up, the input reading
// and the unit conversion in dir. Returns the status; the report units stay open.
int readModel(const WorkDir& dir, const std::string& inputText);
// The text of a fixture file of tests/fixtures.
std::string fixture(const std::string& name);

// Collects what a unit writes from now on: mark() remembers the file's length, since() flushes the unit
// and returns the text written after the mark.
class Capture {
public:
    Capture(const WorkDir& dir, int unit, const std::string& file);
    void mark();
    std::string since();

private:
    const WorkDir& dir_;
    int unit_;
    std::string file_;
    size_t start_ = 0;
};

// Closes every unit and returns to the folder the test started in.
void closeModel();

}  // namespace kaldo::test
