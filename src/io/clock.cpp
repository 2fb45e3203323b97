#include "io/clock.h"

#include <omp.h>

#include <ctime>

namespace kaldo::io {

double wallClock() { return omp_get_wtime(); }

DateTime localDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

PathParts splitPath(const std::string& path) {
    PathParts p;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':' &&
        ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
        p.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    size_t slash = rest.find_last_of("/\\");
    if (slash != std::string::npos) {
        p.dir = rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
    }
    size_t dot = rest.find_last_of('.');
    if (dot != std::string::npos) {
        p.ext = rest.substr(dot, 6);
        rest.erase(dot);
    }
    p.name = rest;
    return p;
}

}  // namespace kaldo::io
