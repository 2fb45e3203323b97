// Wall clock, local date and time, and the parts of a path: what the reports take from the machine.
#pragma once

#include <string>

namespace kaldo::io {

// Seconds of wall-clock time from an arbitrary fixed origin.
double wallClock();

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
DateTime localDateTime();

// A path split into drive, directory, file name and extension ("C:", "/data/run/", "pile", ".inp").
// There are no drive letters here, so the drive is empty unless the path starts with a letter and a
// colon. The extension starts at the last point of the file name and keeps that point; it is cut to
// six characters in all.
struct PathParts {
    std::string drive, dir, name, ext;
};
PathParts splitPath(const std::string& path);

}  // namespace kaldo::io
