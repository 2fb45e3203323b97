// kaldo: the command-line host of the engine.
//
//   kaldo [--keep-scratch] INPUT_FILE
//   kaldo --version | --help
//
// Each run works in a folder of its own beside the input, .kaldo-STEM: the file list Names.dat (with
// full paths), the progress and stop-request files and the scratch files live there, while the reports,
// named after the input's stem, go beside the input. A lock on that folder refuses a second run of the
// same input while the first goes on; runs of other inputs in the same folder never share a file. The
// host shows the engine's progress messages, turns Ctrl-C into a stop request so the run ends cleanly,
// then shows the engine's completion message (with the error text of a failed run) and every load case
// or combination that did not converge fully, and removes the working folder unless asked to keep it.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "kaldo/kaldo.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* VERSION_TEXT = "0.1.0";

// The host's own exit codes; every other non-zero code is the engine's status.
constexpr int EXIT_USAGE = 2;        // a usage error, or a run that could not be prepared
constexpr int EXIT_NOT_CONVERGED = 5; // the run completed, but a case or combination did not converge fully
constexpr int EXIT_BUSY = 7;         // another run of the same input is going on

// Longest path a record of the file list takes.
constexpr std::size_t PATH_LIMIT = 256;

// Where a file of the run goes: a report beside the input, or the run's working folder.
enum class Place { Report, Work, ReadIfPresent };

// The files of Names.dat records 6 to 27, after the input file itself: the extension each gets.
struct OutputFile {
    const char* ext;
    const char* what;
    Place place;
};
const OutputFile OUTPUTS[] = {
    {".echo", "input echo report", Place::Report},
    {".out", "results report", Place::Report},
    {".sum", "summary report", Place::Report},
    {".plot", "plot listing of generated p-y curves", Place::Report},
    {".run", "runtime file: reading trace, warnings, completion message, times", Place::Report},
    {".cst", "case status file: one completion line per case or combination", Place::Report},
    {".pile", "pile results report", Place::Report},
    {".prog", "progress file (working folder)", Place::Work},
    {".axt", "axial-torsion listing", Place::Report},
    {".fx1", "flexibility scratch file (working folder)", Place::Work},
    {".fx2", "flexibility scratch file 2 (working folder)", Place::Work},
    {".prs", "pile result scratch file (working folder)", Place::Work},
    {".stop", "stop-request file (working folder)", Place::Work},
    {".eqs", "equivalent stiffness scratch file (working folder)", Place::Work},
    {".sel", "stiffness estimation log", Place::Report},
    {".wrn", "axial warning scratch file (working folder)", Place::Work},
    {".itl", "iteration log", Place::Report},
    {".ltc", "load-transfer curve file", Place::Report},
    {".crv", "curve data file", Place::Report},
    {".cpt", "cap stiffness trace file", Place::Report},
    {".smc", "summary collection file (working folder)", Place::Work},
    {".mph", "moment-curvature listing: read, not written; put it beside the input to have it copied "
             "into the echo",
     Place::ReadIfPresent},
};
// Reports that every run writes; the other listings stay only when the run wrote something in them.
const char* const MAIN_REPORTS[] = {".out", ".pile", ".sum", ".echo", ".cst", ".run"};

// The stop-request file's path, kept in a plain buffer for the signal handler.
char g_stopPath[4096];
std::atomic<int> g_interrupts{0};

void onInterrupt(int) {
    if (g_interrupts.fetch_add(1) >= 1) {
        // A second Ctrl-C: the user does not want to wait for the next stop poll.
        signal(SIGINT, SIG_DFL);
        raise(SIGINT);
        return;
    }
    int fd = open(g_stopPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        static const char one[] = "1\n";
        ssize_t written = write(fd, one, sizeof one - 1);
        (void)written;
        close(fd);
    }
}

void usage(std::ostream& os) {
    os << "usage: kaldo [--keep-scratch] INPUT_FILE\n"
          "       kaldo --version | --help\n"
          "\n"
          "Runs the Kaldo pile-group analysis of INPUT_FILE. Every file of the run is named after the\n"
          "input file's name without its extension (STEM). The reports go beside the input file; the file\n"
          "list Names.dat (with full paths), the progress and stop-request files and the scratch files go\n"
          "to the run's working folder .kaldo-STEM beside it, which is removed after the run unless\n"
          "--keep-scratch is given:\n\n";
    for (const OutputFile& o : OUTPUTS)
        os << "  STEM" << o.ext << std::string(8 - std::strlen(o.ext), ' ') << o.what << "\n";
    os << "\n"
          "The optional listings (.plot .axt .sel .itl .ltc .crv .cpt) are removed when the run left\n"
          "them empty. A second run of the same input while one goes on is refused; runs of different\n"
          "inputs in one folder do not meet.\n"
          "\n"
          "Progress messages are shown while the run goes on. Ctrl-C asks the engine to stop at its next\n"
          "check (the run then ends cleanly with status 4); a second Ctrl-C ends kaldo at once. After the\n"
          "run kaldo shows the engine's completion message, the error text of a failed run, and each load\n"
          "case or combination that did not converge fully with its case status line.\n"
          "\n"
          "Exit status: 0 analysis completed and every case and combination converged fully (or was\n"
          "not asked for); 5 analysis completed, but a case or combination did not converge fully; 4\n"
          "stopped on request; 2 a usage error or a run that could not be prepared; 7 another run of\n"
          "the same input is going on; other values are the engine's error status (see README.md).\n";
}

std::string readWhole(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

// Tells the progress watcher that the run is over, waking it at once rather than at its next look.
struct RunEnd {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    void signal() {
        {
            std::lock_guard<std::mutex> lock(m);
            done = true;
        }
        cv.notify_all();
    }
};

// Shows each new progress message, one line per non-empty line of the progress file, looking ten
// times a second until the run ends.
void watchProgress(const fs::path& progress, RunEnd& end) {
    std::string last;
    auto show = [&] {
        std::string now = readWhole(progress);
        if (now.empty() || now == last) return;
        last = now;
        for (const std::string& line : linesOf(now)) {
            const std::string t = trimmed(line);
            if (!t.empty()) std::cout << t << "\n";
        }
        std::cout.flush();
    };
    std::unique_lock<std::mutex> lock(end.m);
    while (!end.done) {
        lock.unlock();
        show();
        lock.lock();
        end.cv.wait_for(lock, std::chrono::milliseconds(100), [&end] { return end.done; });
    }
    lock.unlock();
    show();
}

// The run's working folder, held under an exclusive lock for as long as the object lives.
class WorkFolder {
public:
    enum class Outcome { Ready, Busy, Failed };

    Outcome take(const fs::path& dir, std::string& why) {
        dir_ = dir;
        // The folder of a run that ended may vanish between our open and our lock: take it again then.
        for (int attempt = 0; attempt < 20; ++attempt) {
            std::error_code ec;
            fs::create_directories(dir_, ec);
            if (ec && !fs::is_directory(dir_)) {
                why = "cannot make the working folder " + dir_.string() + ": " + ec.message();
                return Outcome::Failed;
            }
            const fs::path lock = dir_ / "lock";
            fd_ = open(lock.c_str(), O_RDWR | O_CREAT, 0644);
            if (fd_ < 0) {
                why = "cannot make the lock file " + lock.string() + ": " + std::strerror(errno);
                return Outcome::Failed;
            }
            if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
                close(fd_);
                fd_ = -1;
                if (errno == EWOULDBLOCK) return Outcome::Busy;
                why = "cannot lock " + lock.string() + ": " + std::strerror(errno);
                return Outcome::Failed;
            }
            struct stat held {}, named {};
            if (fstat(fd_, &held) == 0 && stat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
                held.st_dev == named.st_dev)
                break;
            close(fd_);
            fd_ = -1;
        }
        if (fd_ < 0) {
            why = "the working folder " + dir_.string() + " keeps changing under another run";
            return Outcome::Failed;
        }
        // What a run that was killed left behind goes; only the lock stays.
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir_, ec))
            if (e.path().filename() != "lock") fs::remove_all(e.path(), ec);
        return Outcome::Ready;
    }

    // Removes the folder with everything in it while still holding the lock.
    void remove() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    ~WorkFolder() {
        if (fd_ >= 0) close(fd_);
    }

private:
    fs::path dir_;
    int fd_ = -1;
};

// A path for the file list: the full path when it fits a record, else the path from the working
// folder, where the engine runs.
std::string listedPath(const fs::path& full, const fs::path& fromWork) {
    const std::string f = full.string();
    return f.size() <= PATH_LIMIT ? f : fromWork.string();
}

// The engine's completion message on the runtime file, and the fault records before it: each
// "KALDO ERROR" record with its text, then the completion lines up to the execution time.
std::vector<std::string> completionMessage(const std::string& runtime) {
    const std::vector<std::string> lines = linesOf(runtime);
    std::vector<std::string> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("**** KALDO ERROR") == std::string::npos) continue;
        out.push_back(trimmed(lines[i]));
        if (i + 1 < lines.size()) out.push_back(trimmed(lines[i + 1]));
    }
    size_t start = lines.size();
    for (size_t i = lines.size(); i-- > 0;) {
        const std::string t = trimmed(lines[i]);
        if (t == "ANALYSIS COMPLETED" || t == "*** ANALYSIS STOPPED BY USER ***" || t == "* ERROR IN ANALYSIS *") {
            start = i;
            break;
        }
    }
    for (size_t i = start; i < lines.size(); ++i) {
        const std::string t = trimmed(lines[i]);
        if (t.rfind("Execution Time", 0) == 0) break;
        if (!t.empty()) out.push_back(t);
    }
    return out;
}

// The case status lines of the cases and combinations that did not converge fully, each after its
// heading (and the point of a stiffness series or of a flexibility loop). Code 1 and 10 say the analysis
// completed, 9 that the input asked for none and 5 that a flexibility loop had no load to apply; every
// other code (a partial load, no convergence, a singular stiffness) is listed.
std::vector<std::string> unconverged(const std::string& caseStatus) {
    const std::vector<std::string> lines = linesOf(caseStatus);
    std::vector<std::string> out;
    std::string heading, point;
    for (size_t i = 2; i < lines.size(); ++i) {
        const std::string t = trimmed(lines[i]);
        if (t.rfind("LOAD CASE :", 0) == 0 || t.rfind("LOAD COMB. :", 0) == 0) {
            heading = t;
            point.clear();
            continue;
        }
        if (t.rfind("DOF :", 0) == 0 || t.rfind("STIFFNESS ESTIMATION,", 0) == 0) {
            point = t;
            continue;
        }
        if (t == "ANALYSIS DUE TO TOTAL LOAD") {
            point.clear();
            continue;
        }
        if (t.empty() || t[0] < '0' || t[0] > '9') continue;
        const int code = std::atoi(t.c_str());
        if (code == 1 || code == 5 || code == 9 || code == 10) continue;
        std::string entry = heading.empty() ? "" : heading + "  ";
        if (!point.empty()) entry += point + "  ";
        out.push_back(entry + t);
    }
    return out;
}


// The engine's idle threads sleep while they wait for work instead of spinning: on a machine shared
// with other work, spinning threads take the processors that the busy threads of this run and other
// programs need. The thread runtime reads its wait policy from the environment once, when it is loaded,
// so the host sets the policy first (a policy the user set stands) and only then loads the engine
// library, and with it the thread runtime. The library beside the host is taken first, so that a copy
// of a build (both files) runs its own engine; else the system's search for libkaldo.so.
using EntryPoint = decltype(&IKALDO);

EntryPoint loadEngine(std::string& why) {
    if (std::getenv("OMP_WAIT_POLICY") == nullptr && std::getenv("GOMP_SPINCOUNT") == nullptr)
        setenv("OMP_WAIT_POLICY", "PASSIVE", 1);
    std::string path = "libkaldo.so";
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(self.parent_path() / path, ec)) path = (self.parent_path() / path).string();
    void* engine = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (engine == nullptr) {
        const char* text = dlerror();
        why = text != nullptr ? text : "libkaldo.so cannot be loaded";
        return nullptr;
    }
    void* entry = dlsym(engine, "IKALDO");
    if (entry == nullptr) {
        why = "libkaldo.so has no entry point IKALDO";
        return nullptr;
    }
    return reinterpret_cast<EntryPoint>(entry);
}

}  // namespace

int main(int argc, char** argv) {
    bool keepScratch = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        }
        if (a == "--version") {
            std::cout << "kaldo " << VERSION_TEXT << "\n";
            return 0;
        }
        if (a == "--keep-scratch")
            keepScratch = true;
        else if (a.size() > 1 && a[0] == '-' && a.rfind("--", 0) == 0 && a != "--") {
            std::cerr << "kaldo: unknown option " << a << "\n";
            usage(std::cerr);
            return EXIT_USAGE;
        } else
            args.push_back(a);
    }
    if (args.size() != 1) {
        usage(std::cerr);
        return EXIT_USAGE;
    }

    fs::path input = args[0];
    {
        std::ifstream probe(input);
        std::error_code ec;
        if (!probe || fs::is_directory(input, ec)) {
            std::cerr << "kaldo: cannot read the input file " << input << ": "
                      << (fs::is_directory(input, ec) ? "it is a folder" : std::strerror(errno)) << "\n";
            return 103;
        }
    }
    const fs::path folder = fs::absolute(input).lexically_normal().parent_path();
    const std::string name = input.filename().string();
    const std::string stem = input.stem().string();
    const fs::path work = folder / (".kaldo-" + stem);

    for (const OutputFile& o : OUTPUTS) {
        if (stem + o.ext == name) {
            std::cerr << "kaldo: the input file's name " << name
                      << " is one of the names of the reports; rename the input file\n";
            return EXIT_USAGE;
        }
    }
    if (name.size() + 3 > PATH_LIMIT || stem.size() + 5 > PATH_LIMIT) {
        std::cerr << "kaldo: the input file's name is longer than 256 characters\n";
        return EXIT_USAGE;
    }

    std::string why;
    const EntryPoint ikaldo = loadEngine(why);
    if (ikaldo == nullptr) {
        std::cerr << "kaldo: cannot load the engine: " << why << "\n";
        return EXIT_USAGE;
    }

    WorkFolder lock;
    switch (lock.take(work, why)) {
        case WorkFolder::Outcome::Busy:
            std::cerr << "kaldo: another run of " << name << " is going on in " << folder.string()
                      << " (its working folder .kaldo-" << stem
                      << " is locked); wait for it to end or stop it first\n";
            return EXIT_BUSY;
        case WorkFolder::Outcome::Failed:
            std::cerr << "kaldo: " << why << "\n";
            return EXIT_USAGE;
        case WorkFolder::Outcome::Ready:
            break;
    }

    // The file list: the input, the reports beside it, the host's and the scratch files in the working
    // folder. A moment-curvature listing is read from beside the input when it is there; otherwise the
    // engine's empty one stays in the working folder.
    {
        std::ofstream names(work / "Names.dat", std::ios::trunc);
        std::string version = VERSION_TEXT;
        version.resize(12, ' ');
        names << version << "\n"
              << "Kaldo file list, written by the kaldo host\n"
              << "Records 5 to 27 name the files of the run\n"
              << "Input data file first, then the reports\n"
              << listedPath(folder / name, fs::path("..") / name) << "\n";
        for (const OutputFile& o : OUTPUTS) {
            const std::string file = stem + o.ext;
            const bool beside = o.place == Place::Report ||
                                (o.place == Place::ReadIfPresent && fs::exists(folder / file));
            names << (beside ? listedPath(folder / file, fs::path("..") / file) : listedPath(work / file, file))
                  << "\n";
        }
        if (!names) {
            std::cerr << "kaldo: cannot write " << (work / "Names.dat") << "\n";
            lock.remove();
            return 101;
        }
    }
    const fs::path stopFile = work / (stem + ".stop");
    {
        std::ofstream stop(stopFile, std::ios::trunc);
        stop << "0\n";
    }
    std::snprintf(g_stopPath, sizeof g_stopPath, "%s", stopFile.c_str());

    std::error_code ec;
    fs::current_path(work, ec);
    if (ec) {
        std::cerr << "kaldo: cannot enter the working folder " << work << ": " << ec.message() << "\n";
        lock.remove();
        return EXIT_USAGE;
    }

    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);

    RunEnd end;
    std::thread watcher(watchProgress, work / (stem + ".prog"), std::ref(end));
    const int status = ikaldo(8);
    end.signal();
    watcher.join();
    fs::current_path(folder, ec);

    // Listings the run left empty go; the main reports stay whatever they hold.
    for (const OutputFile& o : OUTPUTS) {
        if (o.place != Place::Report) continue;
        bool main = false;
        for (const char* m : MAIN_REPORTS) main = main || std::strcmp(m, o.ext) == 0;
        const fs::path p = folder / (stem + o.ext);
        if (!main && fs::exists(p, ec) && fs::is_regular_file(p, ec) && fs::file_size(p, ec) == 0) fs::remove(p, ec);
    }

    std::cout << "\nReports in " << folder.string() << "/:\n";
    for (const OutputFile& o : OUTPUTS) {
        if (o.place != Place::Report) continue;
        const std::string file = stem + o.ext;
        if (fs::exists(folder / file, ec))
            std::cout << "  " << file << std::string(stem.size() + 7 - file.size(), ' ') << o.what << "\n";
    }
    if (keepScratch)
        std::cout << "Working folder with the file list and the scratch files kept: " << work.string() << "/\n";
    else
        lock.remove();

    std::cout << "\n";
    const std::vector<std::string> message = completionMessage(readWhole(folder / (stem + ".run")));
    for (const std::string& line : message) std::cout << line << "\n";

    if (status == 0) {
        const std::vector<std::string> partial = unconverged(readWhole(folder / (stem + ".cst")));
        if (partial.empty()) {
            std::cout << "Analysis completed.\n";
            return 0;
        }
        std::cout << "\nLoad cases and combinations that did not converge fully (" << stem << ".cst):\n";
        for (const std::string& line : partial) std::cout << "  " << line << "\n";
        std::cout << "Analysis completed, but " << partial.size()
                  << (partial.size() == 1 ? " load case or combination" : " load cases or combinations")
                  << " did not converge fully (exit status " << EXIT_NOT_CONVERGED << ").\n";
        return EXIT_NOT_CONVERGED;
    }
    if (status == 4) {
        std::cout << "Analysis stopped on request (status 4).\n";
        return status;
    }
    if (message.empty())
        std::cout << "The runtime file " << stem << ".run holds no message (it could not be written).\n";
    std::cout << "Analysis ended with status " << status << " (see README.md for the codes).\n";
    return status;
}
