#include "support/workdir.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "kaldo/kaldo.h"

namespace fs = std::filesystem;

namespace kaldo::test {

namespace {

const char* const EXTS[] = {".echo", ".out", ".sum", ".plot", ".run", ".cst", ".pile", ".prog",
                            ".axt",  ".fx1", ".fx2", ".prs",  ".stop", ".eqs", ".sel", ".wrn",
                            ".itl",  ".ltc", ".crv", ".cpt",  ".smc", ".mph"};

}  // namespace

WorkDir::WorkDir() {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("kaldo-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
    fs::create_directories(dir_);
}

WorkDir::~WorkDir() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void WorkDir::write(const std::string& name, const std::string& text) const {
    std::ofstream f(dir_ / name, std::ios::binary | std::ios::trunc);
    f << text;
}

std::string WorkDir::read(const std::string& name) const { return readPath(dir_ / name); }

std::string WorkDir::readPath(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) return "<missing " + p.filename().string() + ">";
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool WorkDir::exists(const std::string& name) const { return fs::exists(dir_ / name); }

std::vector<std::string> WorkDir::files() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
    return out;
}

std::string WorkDir::recordName(const std::string& stem, int rec) {
    if (rec == 5) return stem + ".inp";
    return stem + EXTS[rec - 6];
}

void WorkDir::writeNames(const std::string& stem, const std::string& version) const {
    std::string text = version + "\nheader one\nheader two\nheader three\n";
    for (int rec = 5; rec <= 27; ++rec) text += recordName(stem, rec) + "\n";
    write("Names.dat", text);
}

int WorkDir::run() const {
    fs::path back = fs::current_path();
    fs::current_path(dir_);
    int status = IKALDO(8);
    fs::current_path(back);
    return status;
}

std::string maskVolatile(const std::string& report) {
    std::istringstream in(report);
    std::string line, out;
    while (std::getline(in, line)) {
        bool hide = line.find("Date:  ") != std::string::npos || line.find("Execution Time") != std::string::npos ||
                    line.find("Number Processors") != std::string::npos ||
                    line.find(" processing :") != std::string::npos;
        // The folder of the run's files is dropped: each test runs in a folder of its own.
        const size_t folder = line.find("Path to file locations      : ");
        if (folder != std::string::npos) line = line.substr(0, folder + 30);
        out += hide ? "<masked>" : line;
        out += "\n";
    }
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

}  // namespace kaldo::test
