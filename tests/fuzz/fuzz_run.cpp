// A seeded mutation fuzzer over the input reader and the whole run.
//
//   kaldo_fuzz --corpus DIR [--seconds N] [--inputs N] [--seed S] [--jobs J] [--timeout T] [--save DIR]
//              [--fail-on-timeout]
//   kaldo_fuzz --replay FILE
//
// Each input is a file of the corpus altered by a few mutations drawn from a seeded generator (numbers
// replaced by extreme, tiny, negative, huge or malformed values, tokens and lines dropped, doubled or
// swapped, the file cut short). It runs through the entry point in a child process of its own, in a
// scratch folder, and must end as a run of Kaldo ends: with a status of the table, the completion
// message exactly when the status is 0, no sanitizer report and no signal. An input that breaks one of
// these is a finding: it is saved under --save and the fuzzer exits with 1. A run still going after
// --timeout seconds is killed and saved as slow; it is a finding only with --fail-on-timeout, since
// the checked build runs an input of many iterations a hundred times slower than the release build
// (a slow input is then replayed on the release host to tell a long run from an endless one). The
// same seed gives the same inputs in the same order.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kaldo/kaldo.h"

namespace fs = std::filesystem;

namespace {

// The extensions of records 6 to 27 of the file list, in order.
const char* const EXTS[] = {".echo", ".out", ".sum", ".plot", ".run", ".cst", ".pile", ".prog",
                            ".axt",  ".fx1", ".fx2", ".prs",  ".stop", ".eqs", ".sel", ".wrn",
                            ".itl",  ".ltc", ".crv", ".cpt",  ".smc", ".mph"};

// Child exit codes.
enum ChildExit : int {
    CHILD_OK = 0,
    CHILD_INTERNAL = 40,    // status 100: a fault inside the engine (in the checked build an index outside a table)
    CHILD_UNKNOWN = 41,     // a status outside the table of codes
    CHILD_COMPLETION = 42,  // "ANALYSIS COMPLETED" with a status other than 0, or missing with 0
};

bool knownStatus(int s) {
    return s == 0 || s == 3 || s == 4 || s == 13 || s == 14 || (s >= 21 && s <= 36) || (s >= 101 && s <= 106) ||
           (s >= 110 && s <= 117) || s == 120;
}

// xorshift64*: small, fast and the same everywhere.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 2685821657736338717ULL + 0x9E3779B97F4A7C15ULL) {}
    uint64_t next() {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return s * 2685821657736338717ULL;
    }
    size_t below(size_t n) { return n ? static_cast<size_t>(next() % n) : 0; }
};

std::string readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << text;
}

// Values that reach the edges of what the reader and the analysis take.
const char* const EXTREMES[] = {
    "0",        "-1",          "1",         "2",           "1e308",      "-1e308",     "1.8e308", "4.9e-324",
    "1e-9",     "1e-300",      "2147483647", "-2147483648", "2147483648", "99",         "100",     "101",
    "2500",     "2501",        "1e6",       "0.5",         "-0.5",       "3.0",        "1D3",     "1,5",
    "nan",      "inf",         "-0",        "20",          "21",         "150",        "9",       "15",
    "1e-5",     "0.001",       "1000000000", "'text'",     "1*",         "2*0",        "/",       "x",
};

struct Token {
    size_t at, len;
};

std::vector<Token> tokens(const std::string& s) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == ','))
            ++i;
        const size_t a = i;
        while (i < s.size() && !(s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == ',')) ++i;
        if (i > a) out.push_back({a, i - a});
    }
    return out;
}

bool numeric(const std::string& t) {
    return !t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-' || t[0] == '.' || t[0] == '+');
}

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(s);
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

std::string joinLines(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& l : v) s += l + "\n";
    return s;
}

// One mutation of the text.
void mutate(std::string& s, Rng& r) {
    const std::vector<Token> toks = tokens(s);
    std::vector<size_t> nums;
    for (size_t i = 0; i < toks.size(); ++i)
        if (numeric(s.substr(toks[i].at, toks[i].len))) nums.push_back(i);
    const size_t kind = r.below(12);
    if (kind <= 4 && !nums.empty()) {
        // A number replaced: an extreme value, a scaled or negated one.
        const Token t = toks[nums[r.below(nums.size())]];
        const std::string old = s.substr(t.at, t.len);
        std::string repl;
        if (kind <= 2) {
            repl = EXTREMES[r.below(sizeof EXTREMES / sizeof *EXTREMES)];
        } else if (kind == 3) {
            repl = old[0] == '-' ? old.substr(1) : "-" + old;
        } else {
            const double v = std::strtod(old.c_str(), nullptr);
            const int e = static_cast<int>(r.below(41)) - 20;
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.6g", v * std::pow(10.0, e));
            repl = buf;
        }
        s.replace(t.at, t.len, repl);
        return;
    }
    if (kind == 5 && !toks.empty()) {  // a token dropped
        const Token t = toks[r.below(toks.size())];
        s.erase(t.at, t.len);
        return;
    }
    if (kind == 6 && !toks.empty()) {  // a token doubled
        const Token t = toks[r.below(toks.size())];
        s.insert(t.at, s.substr(t.at, t.len) + " ");
        return;
    }
    std::vector<std::string> lines = splitLines(s);
    if (lines.empty()) return;
    const size_t i = r.below(lines.size());
    switch (kind) {
        case 7:
            lines.erase(lines.begin() + static_cast<long>(i));
            break;
        case 8:
            lines.insert(lines.begin() + static_cast<long>(i), lines[i]);
            break;
        case 9:
            std::swap(lines[i], lines[r.below(lines.size())]);
            break;
        case 10:
            // Cut short: at a line, or in the middle of one.
            if (r.below(2) == 0)
                lines.resize(i);
            else {
                s = s.substr(0, r.below(s.size()));
                return;
            }
            break;
        default:
            // A byte of the file changed.
            if (!s.empty()) s[r.below(s.size())] = "0123456789.-eE*/ ,'\t\n"[r.below(21)];
            return;
    }
    s = joinLines(lines);
}

void writeNames(const fs::path& dir) {
    std::string text = "FUZZ        \nheader one\nheader two\nheader three\ncase.inp\n";
    for (const char* e : EXTS) text += std::string("case") + e + "\n";
    writeFile(dir / "Names.dat", text);
}

// Runs the engine once in the current folder and checks how it ended; the exit code of the child.
int runHere() {
    const int status = IKALDO(8);
    const std::string rt = readFile("case.run");
    if (status == 100) return CHILD_INTERNAL;
    if (!knownStatus(status)) return CHILD_UNKNOWN;
    const bool completed = rt.find("ANALYSIS COMPLETED") != std::string::npos;
    if (completed != (status == 0)) return CHILD_COMPLETION;
    return CHILD_OK;
}

struct Running {
    pid_t pid;
    std::string text;
    fs::path dir;
    std::chrono::steady_clock::time_point started;
    long serial;
};

std::string outcomeName(int rc, bool timedOut) {
    if (timedOut) return "timeout";
    if (WIFSIGNALED(rc)) return "signal-" + std::to_string(WTERMSIG(rc));
    switch (WEXITSTATUS(rc)) {
        case CHILD_OK:
            return "";
        case CHILD_INTERNAL:
            return "internal-error";
        case CHILD_UNKNOWN:
            return "unknown-status";
        case CHILD_COMPLETION:
            return "completion-mismatch";
        default:
            return "exit-" + std::to_string(WEXITSTATUS(rc)) + "-sanitizer";
    }
}

void rmTree(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
}

int usage() {
    std::cerr << "usage: kaldo_fuzz --corpus DIR [--seconds N] [--inputs N] [--seed S] [--jobs J] [--timeout T]"
                 " [--save DIR] [--fail-on-timeout]\n       kaldo_fuzz --replay FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path corpus, save = "fuzz-findings", replay;
    double seconds = 60.0, timeout = 60.0;
    long maxInputs = -1;
    uint64_t seed = 1;
    int jobs = 1;
    bool failOnTimeout = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--corpus") corpus = value();
        else if (a == "--seconds") seconds = std::atof(value().c_str());
        else if (a == "--inputs") maxInputs = std::atol(value().c_str());
        else if (a == "--seed") seed = std::strtoull(value().c_str(), nullptr, 10);
        else if (a == "--jobs") jobs = std::max(1, std::atoi(value().c_str()));
        else if (a == "--timeout") timeout = std::atof(value().c_str());
        else if (a == "--save") save = value();
        else if (a == "--replay") replay = value();
        else if (a == "--fail-on-timeout") failOnTimeout = true;
        else return usage();
    }

    const fs::path scratch = fs::temp_directory_path() / ("kaldo-fuzz-" + std::to_string(getpid()));
    fs::create_directories(scratch);

    if (!replay.empty()) {
        const fs::path dir = scratch / "replay";
        fs::create_directories(dir);
        fs::copy_file(replay, dir / "case.inp");
        writeNames(dir);
        if (chdir(dir.c_str()) != 0) return 2;
        const int rc = runHere();
        std::cout << "outcome: " << (rc == 0 ? "clean" : outcomeName(rc << 8, false)) << "; files in " << dir << "\n";
        return rc == 0 ? 0 : 1;
    }

    std::vector<std::string> seeds;
    std::vector<std::string> seedNames;
    if (!corpus.empty() && fs::is_directory(corpus)) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(corpus))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& f : files) {
            seeds.push_back(readFile(f));
            seedNames.push_back(f.filename().string());
        }
    }
    if (seeds.empty()) return usage();

    Rng rng(seed);
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    std::vector<Running> running;
    std::map<std::string, long> statusCount;
    long made = 0, done = 0, findings = 0, slow = 0;

    while (true) {
        const bool moreToStart = elapsed() < seconds && (maxInputs < 0 || made < maxInputs);
        while (moreToStart && static_cast<int>(running.size()) < jobs && elapsed() < seconds &&
               (maxInputs < 0 || made < maxInputs)) {
            const size_t which = rng.below(seeds.size());
            std::string text = seeds[which];
            const size_t n = 1 + rng.below(4);
            for (size_t k = 0; k < n; ++k) mutate(text, rng);
            const fs::path dir = scratch / std::to_string(made);
            fs::create_directories(dir);
            writeFile(dir / "case.inp", text);
            writeNames(dir);
            const pid_t pid = fork();
            if (pid == 0) {
                if (chdir(dir.c_str()) != 0) _exit(2);
                // Nothing of the run on the fuzzer's terminal: the engine's own faults go to the runtime file.
                if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(2);
                _exit(runHere());
            }
            running.push_back({pid, text, dir, std::chrono::steady_clock::now(), made});
            ++made;
        }
        if (running.empty()) break;
        bool reaped = false;
        for (size_t i = 0; i < running.size();) {
            Running& r = running[i];
            int rc = 0;
            const bool late = std::chrono::duration<double>(std::chrono::steady_clock::now() - r.started).count() > timeout;
            pid_t got = waitpid(r.pid, &rc, WNOHANG);
            if (got == 0 && !late) {
                ++i;
                continue;
            }
            if (got == 0) {
                kill(r.pid, SIGKILL);
                waitpid(r.pid, &rc, 0);
            }
            const std::string outcome = outcomeName(rc, got == 0);
            ++done;
            if (!outcome.empty()) {
                if (outcome == "timeout" && !failOnTimeout)
                    ++slow;
                else
                    ++findings;
                fs::create_directories(save);
                const fs::path kept = save / ("finding-" + outcome + "-" + std::to_string(seed) + "-" +
                                              std::to_string(r.serial) + ".inp");
                writeFile(kept, r.text);
                std::cerr << (outcome == "timeout" && !failOnTimeout ? "SLOW " : "FINDING ") << outcome << ": "
                          << fs::absolute(kept).string() << "\n";
            } else {
                // The status of the run, for the summary.
                const std::string rt = readFile(r.dir / "case.run");
                std::string key = rt.find("ANALYSIS COMPLETED") != std::string::npos ? "0" : "error";
                const size_t at = rt.rfind("**** KALDO ERROR ");
                if (at != std::string::npos) key = rt.substr(at + 17, 3);
                ++statusCount[key];
            }
            rmTree(r.dir);
            running.erase(running.begin() + static_cast<long>(i));
            reaped = true;
        }
        if (!reaped) usleep(5000);
    }
    rmTree(scratch);

    std::cout << "kaldo_fuzz: seed " << seed << ", " << done << " inputs in " << static_cast<long>(elapsed())
              << " s, " << findings << " findings, " << slow << " slow\n  runs by outcome:";
    for (const auto& [k, v] : statusCount) std::cout << " " << k << ":" << v;
    std::cout << "\n";
    return findings == 0 ? 0 : 1;
}
