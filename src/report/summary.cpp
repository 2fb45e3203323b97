// Summary tables of a three-dimensional writer call: the pile-top values of every pile with the
// minimum and maximum over all piles, and the along-pile extremes, read back from the pile result
// scratch file that the writer has just filled.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <omp.h>

#include "io/format.h"
#include "io/units.h"
#include "model/files.h"
#include "model/ctlpar.h"
#include "model/labels.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/status.h"
#include "services/threads.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// A real of a fixed-column field: blanks only read as 0; an exponent written without its letter
// (1.2345-100) is read as one. The number is read from its start as far as it goes (asterisks read as
// 0) by std::from_chars: the correctly rounded value the C library's reading gives, without a locale
// and without a copy on the heap.
double fieldReal(std::string_view line, std::size_t from, std::size_t width) {
    if (from >= line.size()) return 0.0;
    std::string_view f = line.substr(from, width);
    const std::size_t a = f.find_first_not_of(' ');
    if (a == std::string_view::npos) return 0.0;
    f = f.substr(a, f.find_last_not_of(' ') - a + 1);
    if (f.front() == '+') f.remove_prefix(1);  // from_chars takes a minus sign but not a plus
    char buf[96];
    if (f.size() + 1 > sizeof buf) f = f.substr(0, sizeof buf - 1);
    std::size_t n = 0;
    bool exponent = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (!exponent && i > 0 && (f[i] == '+' || f[i] == '-') && f[i - 1] != 'E' && f[i - 1] != 'e' &&
            f[i - 1] != 'D') {
            buf[n++] = 'E';
            exponent = true;
        }
        buf[n++] = f[i];
    }
    double x = 0.0;
    std::from_chars(buf, buf + n, x);
    return x;
}

int fieldInt(std::string_view line, std::size_t from, std::size_t width) {
    return static_cast<int>(fieldReal(line, from, width));
}

// First character (0-based) of quantity q's 14-character field on the extreme lines 5 to 8.
std::size_t quantityColumn(int q) { return 11 + 14 * static_cast<std::size_t>(q - 1); }

// The next line of the scratch file; a record cut short ends the run as an input/output failure.
std::string nextScratchLine(io::Unit& u) {
    std::string line;
    if (!u.nextLine(line))
        throw std::runtime_error("pile result scratch file " + u.path() + ": end of file at line " +
                                 std::to_string(u.lineNumber() + 1));
    return line;
}

std::string momentUnit() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }
std::string stressUnit() { return LABELS.LBLRFORCE + "/" + LABELS.LBLLEN + "**" + "2"; }

// The underline of a pile-top table: the pile column, then six value columns.
void underline(io::Unit& u, bool collection) {
    auto line = u.line();
    line << io::X{6} << (collection ? "          " : "**********");
    for (int j = 1; j <= 6; ++j) line << io::X{2} << "***********";
}

// The title line of the pile-top tables: the pile column (blank on the summary collection file) and
// the six value columns with their units.
void headingLine(io::Unit& u, int g, int t, bool coll, const std::string& m) {
    const UnitLabels& b = LABELS;
    auto line = u.line();
    line << io::X{5};
    if (t == 1) {
        line << (coll ? std::string(13, ' ') : std::string(" PILE GROUP  "));
        const char* ax = g == 1 ? "XYZ" : "xyz";
        line << " DISP. " << std::string(1, ax[0]) << "," << io::A{2, b.LBLLEN} << io::X{3} << "DISP. "
             << std::string(1, ax[1]) << "," << io::A{2, b.LBLLEN} << io::X{3} << "DISP. "
             << std::string(1, ax[2]) << "," << io::A{2, b.LBLLEN};
        for (int k = 0; k < 3; ++k)
            line << io::X{3} << "ROT. " << std::string(1, ax[k]) << "," << io::A{3, "RAD"};
    } else if (g == 1) {
        line << (coll ? std::string(13, ' ') : std::string(" PILE GROUP  "));
        line << " FOR. X," << io::A{3, b.LBLRFORCE} << io::X{3} << "FOR. Y," << io::A{3, b.LBLRFORCE}
             << io::X{3} << "FOR. Z," << io::A{3, b.LBLRFORCE};
        for (const char* mom : {"MOM X,", "MOM Y,", "MOM Z,"}) line << io::X{1} << mom << m;
    } else {
        line << (coll ? std::string(12, ' ') : std::string(" PILE GROUP "));
        line << "  AXIAL," << io::A{3, b.LBLRFORCE} << io::X{4} << "LAT. y," << io::A{3, b.LBLRFORCE}
             << io::X{3} << "LAT. z," << io::A{3, b.LBLRFORCE};
        for (const char* mom : {"MOM x,", "MOM y,", "MOM z,"}) line << io::X{1} << mom << m;
    }
}

// The column headings of the pile-top tables (1, 1), (2, 1), (1, 2) and (2, 2) on unit 18 and, with
// the pile column blank, on unit 30.
void pileTopHeading(int g, int t) {
    const std::string m = momentUnit();
    for (int unitNo : {SUMMARY_UNIT, SUMCOLL_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        const bool coll = unitNo == 30;
        if (!coll) u.blankLines(1);
        headingLine(u, g, t, coll, m);
        underline(u, coll);
    }
}

void tableHeading(int g, int t, const ColFlags& flags) {
    io::Unit& summary = io::unit(SUMMARY_UNIT);
    io::Unit& coll = io::unit(SUMCOLL_UNIT);
    const char* frame = g == 1 ? "GLOBAL" : "LOCAL";
    if (g == 3) {
        summary.blankLines(1);
        summary.line() << io::X{7} << (t == 1 ? "* MINIMUM VALUES AND LOCATIONS *" : "* MAXIMUM VALUES AND LOCATIONS *");
        COLHDWR(flags, 1);
        if (t == 1) COLHDWR(flags, 2);
        return;
    }
    if (t == 3) {
        summary.blankLines(1);
        summary.line() << io::X{5} << " PILE GROUP " << io::X{2} << "STRESS," << stressUnit();
        summary.line() << io::X{6} << "**********" << io::X{2} << "****************";
        return;
    }
    if (t == 1) {
        summary.line() << io::X{7} << "* PILE TOP DISPLACEMENTS *";
        coll.blankLines(1);
        coll.line() << io::X{7} << "* PILE TOP DISPLACEMENTS, " << frame << " *";
    } else {
        summary.blankLines(1);
        summary.line() << io::X{7} << "* PILE TOP REACTIONS *";
        coll.blankLines(1);
        coll.line() << io::X{7} << "* PILE TOP REACTIONS, " << frame << " *";
    }
    pileTopHeading(g, t);
}

// The "MINIMUM"/"MAXIMUM" rows of a pile-top table and the piles they come from.
void pileTopExtremes(io::Unit& u, int first, int last, const ExtremeSet& x) {
    for (int side = 0; side < 2; ++side) {
        u.part() << io::X{5} << (side == 0 ? "  MINIMUM  " : "  MAXIMUM  ");
        for (int j = first; j <= last; ++j) WCOLREAL(u, 13, 4, side == 0 ? x.vmin(j) : x.vmax(j));
        WCOLEOL(u);
        auto line = u.line();
        line << io::X{5} << "  Pile N. " << io::X{4};
        for (int j = first; j <= last; ++j) {
            const int pile = side == 0 ? x.pmin(j) : x.pmax(j);
            const int slot = j - first + 1;
            if (slot <= 6) {
                line << io::I{6, pile};
                if (j < last) line << io::X{7};
            } else {
                line << io::I{7, pile};
                break;
            }
        }
    }
}

// The "Min."/"Max." row of an along-pile extreme table and the piles it comes from.
void alongPileExtremes(io::Unit& u, int t, const ColFlags& flags, const ExtremeSet& x) {
    u.part() << io::X{6} << (t == 1 ? "Min." : "Max.");
    for (int q = 1; q <= NLLPQTY; ++q)
        if (flags(q) > 0) WCOLREAL(u, 12, 4, t == 1 ? x.vmin(q) : x.vmax(q));
    WCOLEOL(u);
    u.part() << io::X{3} << "Pile N.  ";
    for (int q = 1; q <= NLLPQTY; ++q)
        if (flags(q) > 0) {
            WCOLINT(u, 6, t == 1 ? x.pmin(q) : x.pmax(q));
            WCOLBLNK(u, 6);
        }
    WCOLEOL(u);
}

}  // namespace

void ENVVEC(int k, int m, const Arr<double, 1, NLLPQTY>& values, ExtremeSet& x) {
    for (int j = 1; j <= m; ++j) {
        const double v = values(j);
        if (k == 1) {
            x.vmin(j) = x.vmax(j) = v;
            x.pmin(j) = x.pmax(j) = 1;
            continue;
        }
        if (v > x.vmax(j)) {
            x.vmax(j) = v;
            x.pmax(j) = k;
        }
        if (v < x.vmin(j)) {
            x.vmin(j) = v;
            x.pmin(j) = k;
        }
    }
}

namespace {

// The lines of the pile result scratch file, read once for all the tables of a writer call: eight per
// pile, each a view into the file's text read in one piece. Empty when the file holds fewer (a table
// then reads the file itself and stops where it ends).
struct ScratchLines {
    std::string text;
    std::vector<std::string_view> lines;
};

// What one pile puts into an extremes table: its values, and how many of them (0: none).
struct PileValues {
    Arr<double, 1, NLLPQTY> v;
    int m = 0;
};

// Pile k's row (or rows) of table (g, t) from its eight lines of the scratch file, on the summary unit
// u; the values the extremes take in x. lineOf(ln) gives line ln of the pile's record, called for lines
// 1 to 8 in turn and returning a view that stays valid until the next call.
template <class Lines>
void pileRows(int g, int t, const ColFlags& flags, Lines lineOf, io::Unit& u, PileValues& x) {
    const bool pileTop = g != 3;
    // Lines of the pile's record that this table reads.
    const int topLine = g == 1 ? t : 2 + (t == 1 ? 1 : 2);
    const int m = t == 3 ? 7 : 6;
    Arr<double, 1, NLLPQTY>& v = x.v;
    x.m = 0;
    for (int ln = 1; ln <= 8; ++ln) {
        const std::string_view line = lineOf(ln);
        if (pileTop && ln == topLine) {
            v.fill(0.0);
            const int pile = fieldInt(line, 5, 6);
            for (int j = 1; j <= m; ++j) v(j) = fieldReal(line, 15 + 14 * static_cast<std::size_t>(j - 1), 14);
            WCOLBLNK(u, 5);
            WCOLINT(u, 6, pile);
            WCOLBLNK(u, 5);
            for (int j = (t == 3 ? 7 : 1); j <= m; ++j) WCOLREAL(u, 13, 4, v(j));
            WCOLEOL(u);
            x.m = m;
        } else if (!pileTop && ln == (t == 1 ? 5 : 7)) {
            const int pile = fieldInt(line, 0, 9);
            for (int q = 1; q <= NLLPQTY; ++q) v(q) = fieldReal(line, quantityColumn(q), 14);
            WCOLBLNK(u, 1);
            WCOLINT(u, 8, pile);
            WCOLBLNK(u, 1);
            for (int q = 1; q <= NLLPQTY; ++q)
                if (flags(q) > 0) WCOLREAL(u, 12, 4, v(q));
            WCOLEOL(u);
            x.m = NLLPQTY;
        } else if (!pileTop && ln == (t == 1 ? 6 : 8)) {
            const std::string label = line.size() >= 10 ? std::string(line.substr(5, 5)) : std::string(5, ' ');
            u.part() << io::X{5} << io::A{5, label};
            for (int q = 1; q <= NLLPQTY; ++q)
                if (flags(q) > 0) WCOLREAL(u, 12, 4, fieldReal(line, quantityColumn(q), 14));
            WCOLEOL(u);
        }
    }
}

// The seven tables of a writer call in the order they are written: the group (1: pile-top values in
// the global frame, 2: in the pile frame, 3: along-pile extremes) and the table within it.
constexpr std::array<std::pair<int, int>, 7> kTables{{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 2}}};
constexpr std::size_t kTableCount = kTables.size();

// The rows of all seven tables, formed from lines already read on every thread of one region: each
// thread forms the rows of a run of neighbouring piles for each table in turn, into a text of its own
// per table. The tables are then written one after the other, each with its run texts in pile order
// and its extremes folded in pile order, so every table is the one a single thread gives. One region
// for the seven tables: a region's start and end cost about as much as the rows of a table.
// Kept from call to call (the summary is written on the run's own thread), as the lines are.
struct FormedRows {
    bool tried = false;   // forming was considered for this writer call
    bool formed = false;  // the rows were formed
    int team = 1;
    int npiles = 0;
    std::array<std::vector<std::vector<io::Capture::Text>>, kTableCount> texts;  // [table][member]
    std::vector<PileValues> values;          // table i, pile k at i * npiles + k - 1
    std::vector<std::exception_ptr> fault;   // [member]: the fault that stopped it, if any
    std::vector<std::size_t> faultTable;     // [member]: the table it was forming then
    std::vector<int> faultAt;                // [member]: and the pile (beyond its run: the hand-over)

    PileValues& value(std::size_t i, int k) {
        return values[i * static_cast<std::size_t>(npiles) + static_cast<std::size_t>(k - 1)];
    }
};

// Piles from..to of member m of a team of n.
std::pair<int, int> pileRun(int npiles, int m, int n) {
    const long long p = npiles;
    return {static_cast<int>(1 + p * m / n), static_cast<int>(p * (m + 1) / n)};
}

// Pile k's rows of table i, from the lines of the writer call, on unit u.
void rowsOf(std::size_t i, int k, const ColFlags& flags, const ScratchLines& lines, io::Unit& u, PileValues& v) {
    const std::size_t first = 8 * static_cast<std::size_t>(k - 1);
    pileRows(kTables[i].first, kTables[i].second, flags,
             [&](int ln) { return lines.lines[first + static_cast<std::size_t>(ln - 1)]; }, u, v);
}

void formRows(int npiles, const ColFlags& flags, const ScratchLines& lines, int threads, FormedRows& f) {
    const std::size_t members = static_cast<std::size_t>(threads);
    f.team = 1;
    f.npiles = npiles;
    f.values.resize(kTableCount * static_cast<std::size_t>(npiles));
    for (auto& t : f.texts) {
        t.clear();
        t.resize(members);
    }
    f.fault.assign(members, nullptr);
    f.faultTable.assign(members, 0);
    f.faultAt.assign(members, 0);
#pragma omp parallel num_threads(threads)
    {
        const int m = omp_get_thread_num();
        const std::size_t j = static_cast<std::size_t>(m);
#pragma omp single
        f.team = omp_get_num_threads();
        const auto [from, to] = pileRun(npiles, m, omp_get_num_threads());
        try {
            for (std::size_t i = 0; i < kTableCount; ++i) {
                f.faultTable[j] = i;
                io::Capture capture;
                for (int k = from; k <= to; ++k) {
                    f.faultAt[j] = k;
                    rowsOf(i, k, flags, lines, io::unit(SUMMARY_UNIT), f.value(i, k));
                }
                // Past the run: the rows are formed, only their hand-over failed.
                f.faultAt[j] = to + 1;
                f.texts[i][j] = capture.finish();
            }
        } catch (...) {
            f.fault[j] = std::current_exception();
        }
    }
    f.formed = true;
}

// Writes table i's rows formed by the region and folds their extremes, in pile order. A member that
// failed in this table: the rows of its run before the pile that failed are formed again here, so
// the table holds exactly the rows of the piles before the failure, and the fault is raised. (A member
// that failed in an earlier table raised its fault there.)
void writeFormedRows(std::size_t i, const ColFlags& flags, const ScratchLines& lines, FormedRows& f, ExtremeSet& x) {
    for (int m = 0; m < f.team; ++m) {
        const std::size_t j = static_cast<std::size_t>(m);
        const auto [from, to] = pileRun(f.npiles, m, f.team);
        if (f.fault[j] && f.faultTable[j] == i) {
            PileValues v;
            for (int k = from; k < f.faultAt[j]; ++k) {
                rowsOf(i, k, flags, lines, io::unit(SUMMARY_UNIT), v);
                if (v.m > 0) ENVVEC(k, v.m, v.v, x);
            }
            std::rethrow_exception(f.fault[j]);
        }
        io::replay(f.texts[i][j]);
        f.texts[i][j].clear();
        for (int k = from; k <= to; ++k) {
            const PileValues& v = f.value(i, k);
            if (v.m > 0) ENVVEC(k, v.m, v.v, x);
        }
    }
}

// The lines of the scratch file for the tables of a writer call, read at the first table that wants
// them: all of them when the file holds the eight of every pile (complete), else none.
struct ScratchCache {
    bool read = false, complete = false;
    ScratchLines lines;
};

void readScratch(int npiles, ScratchCache& cache) {
    cache.read = true;
    io::Unit& scratch = io::unit(PILESCR_UNIT);
    openListedFile(PILESCR_UNIT, REC_PILESCR, io::Mode::Read);
    const std::size_t want = 8 * static_cast<std::size_t>(std::max(npiles, 0));
    ScratchLines& s = cache.lines;
    scratch.readRest(s.text);
    scratch.close();
    // Lines as the line reader gives them: up to an LF, a CR before it dropped, a last line without LF.
    s.lines.reserve(want);
    const std::string_view text(s.text);
    std::size_t at = 0;
    while (s.lines.size() < want && at < text.size()) {
        std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(at, end - at);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        s.lines.push_back(l);
        at = next;
    }
    cache.complete = s.lines.size() == want;
    if (!cache.complete) {
        s.lines.clear();
        s.text.clear();
    }
}

// Table i from the rows formed for the writer call (formed), else from its lines (cache), or, without
// them, from the scratch file itself, which then stops the table where it ends. The rows of all the
// tables are formed at the first table that can take them (several threads, the lines all read).
void summaryTable(std::size_t i, int npiles, const ColFlags& flags, ScratchCache* cache, FormedRows* formed) {
    const auto [g, t] = kTables[i];
    tableHeading(g, t, flags);
    io::Unit& summary = io::unit(SUMMARY_UNIT);
    if (cache != nullptr && !cache->read) readScratch(npiles, *cache);
    const bool inMemory = cache != nullptr && cache->complete;
    ExtremeSet x;
    if (inMemory && formed != nullptr && !formed->tried) {
        formed->tried = true;
        const int threads = regionThreads(CTLPAR.NTHRUSR, npiles, false);
        if (threads > 1 && !summary.hasOpenLine()) formRows(npiles, flags, cache->lines, threads, *formed);
    }
    if (inMemory && formed != nullptr && formed->formed && !summary.hasOpenLine()) {
        writeFormedRows(i, flags, cache->lines, *formed, x);
    } else if (inMemory) {
        PileValues v;
        for (int k = 1; k <= npiles; ++k) {
            rowsOf(i, k, flags, cache->lines, summary, v);
            if (v.m > 0) ENVVEC(k, v.m, v.v, x);
        }
    } else {
        io::Unit& scratch = io::unit(PILESCR_UNIT);
        openListedFile(PILESCR_UNIT, REC_PILESCR, io::Mode::Read);
        std::string line;
        PileValues v;
        for (int k = 1; k <= npiles; ++k) {
            pileRows(
                g, t, flags,
                [&](int) -> std::string_view {
                    line = nextScratchLine(scratch);
                    return line;
                },
                summary, v);
            if (v.m > 0) ENVVEC(k, v.m, v.v, x);
        }
        scratch.close();
    }
    summary.blankLines(1);

    if (npiles < 1) return;  // no pile: no extremes to show
    if (g != 3) {
        const int first = t == 3 ? 7 : 1;
        const int m = t == 3 ? 7 : 6;
        pileTopExtremes(summary, first, m, x);
        if (t != 3) pileTopExtremes(io::unit(SUMCOLL_UNIT), first, m, x);
    } else {
        alongPileExtremes(summary, t, flags, x);
        alongPileExtremes(io::unit(SUMCOLL_UNIT), t, flags, x);
    }
}

}  // namespace

void SUMTAB(int g, int t, int npiles, const ColFlags& flags) {
    for (std::size_t i = 0; i < kTableCount; ++i)
        if (kTables[i] == std::pair<int, int>{g, t}) return summaryTable(i, npiles, flags, nullptr, nullptr);
    throw std::invalid_argument("summary table " + std::to_string(g) + "." + std::to_string(t) + " does not exist");
}

namespace {

// The column headings of a plane pile-top table on unit 18 and, with the pile column blank, unit 30:
// three displacements, or two forces, the moment and the stress.
void planeHeading(int g, int t) {
    const UnitLabels& b = LABELS;
    const std::string m = momentUnit(), st = stressUnit();
    for (int unitNo : {SUMMARY_UNIT, SUMCOLL_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        const bool coll = unitNo == SUMCOLL_UNIT;
        if (!coll) u.blankLines(1);
        {
            auto line = u.line();
            line << io::X{6} << (coll ? std::string(12, ' ') : std::string(" PILE GROUP "));
            if (t == 1) {
                const char* ax = g == 1 ? "XYZ" : "xyz";
                line << " DISP. " << std::string(1, ax[0]) << "," << io::A{2, b.LBLLEN} << io::X{3} << "DISP. "
                     << std::string(1, ax[1]) << "," << io::A{2, b.LBLLEN} << io::X{3} << "ROT. "
                     << std::string(1, ax[2]) << "," << io::A{3, "RAD"} << io::X{2};
            } else {
                line << (g == 1 ? " FOR. X," : "  AXIAL,") << io::A{3, b.LBLRFORCE} << io::X{3}
                     << (g == 1 ? "FOR. Y," : "LAT. y,") << io::A{3, b.LBLRFORCE} << io::X{3}
                     << (g == 1 ? "MOM Z," : "MOM z,") << m << io::X{2} << "STRESS," << st;
            }
        }
        auto line = u.line();
        line << io::X{7} << (coll ? "          " : "**********");
        if (t == 1)
            for (int j = 1; j <= 3; ++j) line << io::X{2} << "***********";
        else
            line << io::X{2} << "***********" << io::X{2} << "***********" << io::X{2} << "************"
                 << io::X{2} << "****************";
    }
}

// The "MINIMUM"/"MAXIMUM" rows of a plane pile-top table and the piles they come from.
void planeExtremes(io::Unit& u, int m, const ExtremeSet& x) {
    for (int side = 0; side < 2; ++side) {
        u.part() << io::X{7} << (side == 0 ? "  MINIMUM " : "  MAXIMUM ");
        WCOLBLNK(u, 2);
        for (int j = 1; j <= m; ++j) {
            WCOLREAL(u, 11, 4, side == 0 ? x.vmin(j) : x.vmax(j));
            WCOLBLNK(u, 2);
        }
        WCOLEOL(u);
        auto line = u.line();
        line << io::X{7} << "  Pile G. " << io::X{2};
        for (int j = 1; j <= m; ++j) {
            line << io::I{6, side == 0 ? x.pmin(j) : x.pmax(j)};
            if (j < m) line << io::X{7};
        }
    }
}

}  // namespace

void PTTAB2D(int g, int t, int npiles, const ColFlags& flags) {
    if (g == 3) {
        SUMTAB(3, t, npiles, flags);
        return;
    }
    io::Unit& summary = io::unit(SUMMARY_UNIT);
    io::Unit& coll = io::unit(SUMCOLL_UNIT);
    const char* frame = g == 1 ? "GLOBAL" : "LOCAL";
    if (t == 1) {
        summary.line() << io::X{7} << "* PILE TOP DISPLACEMENTS *";
        coll.blankLines(1);
        coll.line() << io::X{7} << "* PILE TOP DISPLACEMENTS, " << frame << " *";
    } else {
        summary.blankLines(1);
        summary.line() << io::X{7} << "* PILE TOP REACTIONS *";
        coll.blankLines(1);
        coll.line() << io::X{7} << "* PILE TOP REACTIONS, " << frame << " *";
    }
    planeHeading(g, t);

    io::Unit& scratch = io::unit(PILESCR_UNIT);
    if (!scratch.open(namesPath(REC_PILESCR), io::Mode::Read))
        throw std::runtime_error("pile result scratch file " + namesPath(REC_PILESCR) + " cannot be opened");
    ExtremeSet x;
    const int topLine = g == 1 ? t : 2 + t;
    const int m = t == 1 ? 3 : 4;
    Arr<double, 1, NLLPQTY> v;
    for (int k = 1; k <= npiles; ++k) {
        for (int ln = 1; ln <= 8; ++ln) {
            const std::string line = nextScratchLine(scratch);
            if (ln != topLine) continue;
            v.fill(0.0);
            const int pile = fieldInt(line, 5, 6);
            for (int j = 1; j <= m; ++j) v(j) = fieldReal(line, 17 + 14 * static_cast<std::size_t>(j - 1), 12);
            WCOLBLNK(summary, 7);
            WCOLINT(summary, 6, pile);
            WCOLBLNK(summary, 6);
            for (int j = 1; j <= m; ++j) {
                WCOLREAL(summary, 11, 4, v(j));
                WCOLBLNK(summary, 2);
            }
            WCOLEOL(summary);
            ENVVEC(k, m, v, x);
        }
    }
    summary.blankLines(1);
    if (npiles >= 1) {
        planeExtremes(summary, m, x);
        planeExtremes(coll, m, x);
    }
    scratch.close();
}

void PTSUM2D(int e, int npiles, int lcbcur, int allPiles, int antype, const ColFlags& flags) {
    (void)e, (void)lcbcur, (void)allPiles, (void)antype;
    io::Unit& summary = io::unit(SUMMARY_UNIT);
    summary.blankLines(2);
    summary.line() << io::X{7} << "THE GLOBAL STRUCTURAL COORDINATE SYSTEM";
    summary.line() << io::X{7} << "---------------------------------------";
    summary.blankLines(1);
    PTTAB2D(1, 1, npiles, flags);
    PTTAB2D(1, 2, npiles, flags);
    summary.blankLines(2);
    summary.line() << io::X{7} << "THE PILE COORDINATE SYSTEM (LOCAL AXES)";
    summary.line() << io::X{7} << "---------------------------------------";
    summary.blankLines(1);
    PTTAB2D(2, 1, npiles, flags);
    PTTAB2D(2, 2, npiles, flags);
    for (int unitNo : {SUMMARY_UNIT, SUMCOLL_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        u.blankLines(1);
        u.line() << io::X{7} << "* EFFECTS FOR LATERALLY LOADED PILE *   ";
    }
    PTTAB2D(3, 1, npiles, flags);
    PTTAB2D(3, 2, npiles, flags);
}

void SUMTABS(int e, int npiles, int lcbcur, int allPiles, int antype, const ColFlags& flags) {
    (void)e, (void)lcbcur, (void)allPiles, (void)antype;
    io::Unit& summary = io::unit(SUMMARY_UNIT);
    // Kept from call to call (the summary is written on the run's own thread): the text of a large
    // scratch file is read into memory already there instead of fresh pages each time.
    static ScratchCache cache;
    static FormedRows formed;
    cache.read = cache.complete = false;
    cache.lines.lines.clear();
    formed.tried = formed.formed = false;
    std::size_t next = 0;
    auto table = [&] { summaryTable(next++, npiles, flags, &cache, &formed); };
    summary.blankLines(2);
    summary.line() << io::X{7} << "THE GLOBAL STRUCTURAL COORDINATE SYSTEM";
    summary.line() << io::X{7} << "---------------------------------------";
    summary.blankLines(1);
    table();  // 1.1
    table();  // 1.2
    summary.blankLines(2);
    summary.line() << io::X{7} << "THE PILE COORDINATE SYSTEM (LOCAL AXES)";
    summary.line() << io::X{7} << "---------------------------------------";
    summary.blankLines(1);
    table();  // 2.1
    table();  // 2.2
    table();  // 2.3
    for (int unitNo : {SUMMARY_UNIT, SUMCOLL_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        u.blankLines(1);
        u.line() << io::X{7} << "* EFFECTS FOR LATERALLY LOADED PILE *   ";
    }
    table();  // 3.1
    table();  // 3.2
}

}  // namespace kaldo
