// The status codes of a run and their completion messages.
//
// Codes below 100 are the analysis' own (soil curves, node set-up, stop request...). Codes from 100 up
// are Kaldo's: faults of the file list, the input data file and the engine itself, which end the run
// cleanly with a message instead of reading or writing out of bounds.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "io/units.h"

namespace kaldo {

enum StatusCode : int {
    ST_OK = 0,                        // the analysis completed
    ST_WRONG_CALL = 1,                // the entry point was called with a code other than 8: nothing ran
    ST_NODE = 3,                      // pile below the deepest layer (three-dimensional node set-up)
    ST_STOPPED = 4,                   // the host asked to stop
    ST_NODE2D = 13,                   // pile below the deepest layer (plane node set-up)
    ST_SINGULAR_STIFFNESS = 14,       // a stiffness matrix whose determinant is zero
    ST_ROCK_NO_STRENGTH = 21,         // weak rock without compressive strength below its layer's first node
    ST_BEYOND_UNIT_WEIGHT = 22,       // a depth below the last row of the unit-weight profile
    ST_BEYOND_COHESION = 23,          // a depth below the last row of the cohesion (strength) profile
    ST_BEYOND_FRICTION = 24,          // a depth below the last row of the friction-angle profile
    ST_BEYOND_SIDE_FRICTION = 25,     // a depth below the user's profile of ultimate unit side friction
    ST_BEYOND_TIP_RESISTANCE = 26,    // a depth below the user's profile of ultimate unit tip resistance
    ST_BEYOND_FRICTION_SEGMENT = 27,  // a depth below the friction-angle profile read segment by segment
    ST_SILT_NO_FRICTION = 28,         // silt without friction angle below its layer's first node
    ST_SILT_SLOPE_OVER_FRICTION = 29, // silt under a ground slope steeper than its friction angle
    ST_SAND_NO_FRICTION = 30,         // sand without friction angle below its layer's first node
    ST_SAND_SLOPE_OVER_FRICTION = 31, // sand under a ground slope steeper than its friction angle
    ST_LSCURVE_NO_E50 = 32,           // load-settlement curve of a pile tip in clay without strain E50
    ST_LSCURVE_NO_COHESION = 33,      // load-settlement curve of a pile tip in clay without capacity
    ST_TQCURVE_NO_E50 = 34,           // torque-rotation curve of a pile tip in clay without strain E50
    ST_TQCURVE_NO_COHESION = 35,      // torque-rotation curve of a pile tip in clay without capacity
    ST_AXIAL_NOCONVERGE = 36,         // the axial forces along a pile did not converge

    ST_INTERNAL = 100,                // an unexpected fault inside the engine
    ST_NAMES = 101,                   // file list missing, unreadable or short
    ST_PATHLEN = 102,                 // a path in the file list longer than 256 characters
    ST_NOINPUT = 103,                 // input data file missing or unreadable
    ST_FILEOPEN = 104,                // a report or data file cannot be opened
    ST_WRITEFAIL = 105,               // a write to a report, scratch or runtime file failed (disk full...)
    ST_SCRATCHREAD = 106,             // a scratch file of the run does not hold what the run wrote in it
    ST_MALFORMED = 110,               // malformed value in the input data file
    ST_REALFORINT = 111,              // a real where an integer is due
    ST_EARLYEND = 112,                // the input data file ends inside a section
    ST_CAPACITY = 113,                // a count above the capacity of its table
    ST_INDEX = 114,                   // a number used as an index outside its range
    ST_BADVALUE = 115,                // a value that the analysis cannot work with
    ST_NOCONVERGE = 116,              // a fixed-point loop of a generated curve did not settle within its bound
    ST_ZEROGJ = 117,                  // a section without torsional rigidity under a generated torque-rotation curve
    ST_NOTBUILT = 120,                // an analysis capability this version does not have yet
};

// The lines that the completion report writes for a status code, each a free-form line's text.
std::vector<std::string> completionLines(int status);

// Writes a fault's detail to the runtime file (the standard error stream when that file is not open)
// and sets status to code, unless a status is already set.
void reportFault(int& status, int code, const std::string& detail);

// A fault of a file met deep inside an analysis (a scratch file that cannot be opened): it travels up
// to the guard around the run's phase, which reports it under its own code.
class FileFault : public std::runtime_error {
public:
    FileFault(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Opens a scratch or working file of the file list on its unit; one that cannot be opened throws
// FileFault with ST_FILEOPEN, naming the file and its record.
void openListedFile(int unit, int record, io::Mode mode, io::Form form = io::Form::Text, bool buffered = false);

// When a write to a file of the run has failed (io::firstWriteFailure), reports it with ST_WRITEFAIL,
// naming the file and the reason, and returns true; the run then ends. False while every write held.
bool writeFailureStops(int& status);

}  // namespace kaldo
