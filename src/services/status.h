// The status codes of a run and their completion messages.
//
// Codes below 100 are the analysis' own (soil curves, node set-up, stop request...). Codes from 100 up
// are Kaldo's: faults of the file list, the input data file and the engine itself, which end the run
// cleanly with a message instead of reading or writing out of bounds.
#pragma once

#include <string>
#include <vector>

namespace kaldo {

enum StatusCode : int {
    ST_OK = 0,
    ST_NODE = 3,            // pile below the deepest layer (three-dimensional node set-up)
    ST_STOPPED = 4,         // the host asked to stop
    ST_NODE2D = 13,         // pile below the deepest layer (plane node set-up)

    ST_INTERNAL = 100,      // an unexpected fault inside the engine
    ST_NAMES = 101,         // file list missing, unreadable or short
    ST_PATHLEN = 102,       // a path in the file list longer than 256 characters
    ST_NOINPUT = 103,       // input data file missing or unreadable
    ST_FILEOPEN = 104,      // a report or data file cannot be opened
    ST_MALFORMED = 110,     // malformed value in the input data file
    ST_REALFORINT = 111,    // a real where an integer is due
    ST_EARLYEND = 112,      // the input data file ends inside a section
    ST_CAPACITY = 113,      // a count above the capacity of its table
    ST_INDEX = 114,         // a number used as an index outside its range
    ST_BADVALUE = 115,      // a value that the analysis cannot work with
    ST_NOCONVERGE = 116,    // a fixed-point loop of a generated curve did not settle within its bound
    ST_ZEROGJ = 117,        // a section without torsional rigidity under a generated torque-rotation curve
    ST_NOTBUILT = 120,      // an analysis capability this version does not have yet
};

// The lines that the completion report writes for a status code, each a free-form line's text.
std::vector<std::string> completionLines(int status);

// Writes a fault's detail to the runtime file (the standard error stream when that file is not open)
// and sets status to code, unless a status is already set.
void reportFault(int& status, int code, const std::string& detail);

}  // namespace kaldo
