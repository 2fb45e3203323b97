// Test support: a scratch folder holding a run's files, the file list, and reports with the lines
// that change from run to run (date, time, execution times, processor counts) masked.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kaldo::test {

// A fresh folder under the system's temporary folder, removed at the end of the test.
class WorkDir {
public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    const std::filesystem::path& path() const { return dir_; }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

    void write(const std::string& name, const std::string& text) const;
    std::string read(const std::string& name) const;
    static std::string readPath(const std::filesystem::path& p);
    bool exists(const std::string& name) const;
    std::vector<std::string> files() const;

    // Names.dat for the stem: the input data file is stem.inp, the outputs stem.<ext> as the kaldo host
    // names them. version is the 12-character version text.
    void writeNames(const std::string& stem = "case", const std::string& version = "TEST 1.0") const;
    // The path the file list gives for record rec (5 to 27) with the default naming.
    static std::string recordName(const std::string& stem, int rec);

    // Runs IKALDO(8) with this folder as the current directory and returns its status.
    int run() const;

private:
    std::filesystem::path dir_;
};

// Replaces the lines that differ between runs by a fixed mark, and drops the folder from the report
// header's file locations line.
std::string maskVolatile(const std::string& report);

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);

}  // namespace kaldo::test
