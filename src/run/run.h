// Run control: the phases of a run from the entry point to the completion report, and the host
// protocol (progress messages and stop requests) that the later phases use as well.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kaldo {

// One whole analysis; always ends with ENDRUN.
void RUNMAIN(int& status);
// Completion message, execution time, summary assembly, closing of every file. Reads status only.
void ENDRUN(int& status);
// Execution time of the run and the processor line, on the runtime file.
void TIMEREP();
// Execution time of the case that finished last, its processor line and its serial, parallel and
// print times, on the runtime file; sets the serial time.
void TIMEREP2();

// Reads the file list, opens the run's files, tells the host the analysis started and looks once for
// a stop request (status 4).
void SETFILES(int& status);
// Replaces the progress file's contents by the given free-form lines. Failures are ignored: the host's
// display is never worth stopping an analysis for.
void progressMessage(std::initializer_list<std::string_view> lines);
// The same with formatted lines, written as they stand.
void progressText(std::initializer_list<std::string> lines);
// Reads the stop-request file: true when the host asks to stop (the file holds the integer 1).
bool stopRequested();

// The analysis over every load case and then every combination: headings, loads, analysis points,
// envelopes, the report of generated p-y curves and the curve data file. kpyop is the p-y print switch
// as read (the run-wide word is 0 while the cases run).
void RUNCASES(int kpyop, int& status);

// Report header of every report and the reading of the input data file.
void READIN(int& status);
// The report header written before the input is read: banners, file names, date block.
void reportHeader();
// The "Time and Date of Analysis" block on units 10, 14, 16, 18 and 32.
void ANLDATE();
// Converts the input as read to internal units (feet to inches, millimetres to metres, ...), in place.
void CONVIN();

}  // namespace kaldo
