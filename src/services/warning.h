// Warning records of the routines that run inside the parallel pile loops.
//
// A warning record is an empty line, 29 blanks and "**** WARNING ****", then each line of its text
// after 5 blanks. It goes first to the output results file (unit 16), then to the runtime file
// (unit 10). Many piles may warn at once: each record is written whole under one lock, so records of
// different threads never interleave (their order is whatever the threads make it).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace kaldo {

enum class WarnUnits { ResultsAndRuntime, ResultsOnly };

// Writes the warning record with the given text lines. resultsLead, when not empty, is a line written
// as it stands to the results file just ahead of the record, inside the same lock (a diagnostic line
// that belongs with the warning).
void writeWarning(const std::vector<std::string>& lines, WarnUnits to = WarnUnits::ResultsAndRuntime,
                  const std::string& resultsLead = {});

// Writes a record of other lines, as they stand, to the results file and then the runtime file, under
// the same lock as the warnings.
void writeRecordWhole(const std::vector<std::string>& lines);
// The same to the given units in turn (the echo report, the runtime file...).
void writeRecordTo(std::initializer_list<int> units, const std::vector<std::string>& lines);

}  // namespace kaldo
