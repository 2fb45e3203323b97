// kaldo: the command-line host of the engine.
//
//   kaldo INPUT_FILE
//
// Writes the file list Names.dat next to the input file, naming every output after the input's stem,
// clears the stop request, runs the engine in that folder while it shows the engine's progress
// messages, turns Ctrl-C into a stop request so the run ends cleanly, and exits with the engine's
// status.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
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

// The files of Names.dat records 5 to 27, after the input file itself: the extension each gets.
struct OutputFile {
    const char* ext;
    const char* what;
};
const OutputFile OUTPUTS[] = {
    {".echo", "input echo report"},
    {".out", "results report"},
    {".sum", "summary report"},
    {".plot", "plot listing of generated p-y curves"},
    {".run", "runtime file: reading trace, warnings, completion message, times"},
    {".cst", "case status file"},
    {".pile", "pile results report"},
    {".prog", "progress file"},
    {".axt", "axial-torsion listing"},
    {".fx1", "flexibility scratch file"},
    {".fx2", "flexibility scratch file 2"},
    {".prs", "pile result scratch file"},
    {".stop", "stop-request file"},
    {".eqs", "equivalent stiffness scratch file"},
    {".sel", "stiffness estimation log"},
    {".wrn", "axial warning scratch file"},
    {".itl", "iteration log"},
    {".ltc", "load-transfer curve file"},
    {".crv", "curve data file"},
    {".cpt", "cap stiffness trace file"},
    {".smc", "summary collection file"},
    {".mph", "moment-curvature listing (read: provide it to have it copied into the echo)"},
};

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
    os << "usage: kaldo INPUT_FILE\n"
          "\n"
          "Runs the Kaldo pile-group analysis of INPUT_FILE. The file list Names.dat is written in the\n"
          "input file's folder and the engine runs there; every report is named after the input file's\n"
          "name without its extension (STEM):\n\n";
    for (const OutputFile& o : OUTPUTS) os << "  STEM" << o.ext << std::string(8 - std::strlen(o.ext), ' ') << o.what << "\n";
    os << "\n"
          "Progress messages are shown while the run goes on. Ctrl-C asks the engine to stop at its next\n"
          "check (the run then ends cleanly with status 4); a second Ctrl-C ends kaldo at once.\n"
          "\n"
          "Exit status: the engine's status. 0 analysis completed; 4 stopped on request; other values\n"
          "are errors, whose message is at the end of STEM.run (see README.md for the codes).\n"
          "2 is a usage error of kaldo itself.\n";
}

std::string readWhole(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
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
        std::istringstream lines(now);
        std::string line;
        while (std::getline(lines, line)) {
            size_t a = line.find_first_not_of(' ');
            if (a != std::string::npos) std::cout << line.substr(a) << "\n";
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage(std::cout);
        return 0;
    }
    if (argc != 2) {
        usage(std::cerr);
        return 2;
    }

    fs::path input = argv[1];
    {
        std::ifstream probe(input);
        std::error_code ec;
        if (!probe || fs::is_directory(input, ec)) {
            std::cerr << "kaldo: cannot read the input file " << input << ": "
                      << (fs::is_directory(input, ec) ? "it is a folder" : std::strerror(errno)) << "\n";
            return 103;
        }
    }
    fs::path folder = fs::absolute(input).parent_path();
    std::string name = input.filename().string();
    std::string stem = input.stem().string();

    std::vector<std::string> outputs;
    for (const OutputFile& o : OUTPUTS) {
        outputs.push_back(stem + o.ext);
        if (outputs.back() == name) {
            std::cerr << "kaldo: the input file's name " << name
                      << " is one of the names of the reports; rename the input file\n";
            return 2;
        }
    }
    if (name.size() > 256 || outputs.front().size() > 256) {
        std::cerr << "kaldo: the input file's name is longer than 256 characters\n";
        return 2;
    }

    {
        std::ofstream names(folder / "Names.dat", std::ios::trunc);
        std::string version = VERSION_TEXT;
        version.resize(12, ' ');
        names << version << "\n"
              << "Kaldo file list, written by the kaldo host\n"
              << "Records 5 to 27 name the files of the run\n"
              << "Input data file first, then the reports\n"
              << name << "\n";
        for (const std::string& o : outputs) names << o << "\n";
        if (!names) {
            std::cerr << "kaldo: cannot write " << (folder / "Names.dat") << "\n";
            return 101;
        }
    }
    fs::path stopFile = folder / (stem + ".stop");
    {
        std::ofstream stop(stopFile, std::ios::trunc);
        stop << "0\n";
    }
    std::snprintf(g_stopPath, sizeof g_stopPath, "%s", stopFile.c_str());

    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec) {
        std::cerr << "kaldo: cannot enter the folder " << folder << ": " << ec.message() << "\n";
        return 2;
    }

    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);

    RunEnd end;
    std::thread watcher(watchProgress, folder / (stem + ".prog"), std::ref(end));
    int status = IKALDO(8);
    end.signal();
    watcher.join();

    std::cout << "\nReports in " << folder.string() << "/:\n"
              << "  " << stem << ".out   results\n"
              << "  " << stem << ".pile  pile results\n"
              << "  " << stem << ".sum   summary\n"
              << "  " << stem << ".echo  input echo\n"
              << "  " << stem << ".cst   case status\n"
              << "  " << stem << ".run   runtime trace and completion message\n";
    if (status == 0)
        std::cout << "Analysis completed.\n";
    else if (status == 4)
        std::cout << "Analysis stopped on request (status 4).\n";
    else
        std::cout << "Analysis ended with status " << status << ": see " << stem << ".run.\n";
    return status;
}
