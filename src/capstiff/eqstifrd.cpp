// The read-back of the equivalent stiffness scratch file: every pile's head stiffnesses and, per node,
// the lateral spring (the node's secant stiffness times its tributary length).
//
// The read-back takes what the same run wrote. A file that ends early or holds a value that is not a
// number has been changed or damaged since: the run ends with its own status rather than rebuilding the
// piles from whatever the read left behind.
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "capstiff/capstiff.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/status.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// Reads the scratch file line by line; a missing line or a field that is not a number ends the run.
class ScratchReader {
public:
    explicit ScratchReader(io::Unit& u) : u_(u) {}

    void skip(int lines) {
        std::string line;
        for (int k = 0; k < lines; ++k) next(line);
    }
    // The reals of the next line; at least count of them.
    std::vector<double> values(std::size_t count) {
        std::string line;
        next(line);
        std::vector<double> out;
        std::istringstream in(line);
        std::string item;
        while (in >> item) {
            char* end = nullptr;
            const double v = std::strtod(item.c_str(), &end);
            if (end == item.c_str() || *end != '\0') fault("a value that is not a number (\"" + item + "\")");
            out.push_back(v);
        }
        if (out.size() < count) fault("fewer values than written");
        return out;
    }

private:
    void next(std::string& line) {
        if (!u_.nextLine(line)) fault("an early end");
    }
    [[noreturn]] void fault(const std::string& what) {
        throw FileFault(ST_SCRATCHREAD, "equivalent stiffness scratch file \"" + u_.path() + "\": " + what +
                                            " at line " + std::to_string(u_.lineNumber() + 1));
    }
    io::Unit& u_;
};

}  // namespace

void EQSTIFRD() {
    io::Unit& u = io::unit(EQSTIFF_UNIT);
    if (!u.isOpen()) openListedFile(EQSTIFF_UNIT, REC_EQSTIFF, io::Mode::Read);
    const bool solid = CTLIN.ANTYPE != 2;
    ScratchReader r(u);
    // The case line, the matrix heading and its rows.
    r.skip(2 + (solid ? 6 : 3));
    for (int p = 1; p <= PILE.NPILES; ++p) {
        const int n = PILESET.NINC(PILE.PSETNO(p));
        r.skip(2);
        const std::vector<double> head = r.values(solid ? 3 : 2);
        EQSRD.EQSPHEAD(p) = head[0];
        EQSRD.EQSKAX(p) = head[1];
        EQSRD.EQSKT(p) = solid ? head[2] : 0.0;
        r.skip(1);
        const double h = r.values(1)[0];
        for (int j = 0; j <= n; ++j) {
            const std::vector<double> node = r.values(solid ? 3 : 2);
            // A node's spring is the stiffer of its two lateral planes.
            const double k = solid && node[2] > node[1] ? node[2] : node[1];
            const double tributary = j == 0 || j == n ? 0.5 * h : h;
            EQSRD.EQSSPRING(j + 1, p) = k * tributary;
        }
    }
    u.close();
}

}  // namespace kaldo
