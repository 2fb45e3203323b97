#include "support/model.h"

#include <filesystem>
#include <fstream>

#include "input/readin.h"
#include "io/units.h"
#include "model/blocks.h"
#include "run/run.h"
#include "services/status.h"

namespace fs = std::filesystem;

namespace kaldo::test {

namespace {
fs::path g_back;
}

int readModel(const WorkDir& dir, const std::string& inputText) {
    dir.writeNames();
    dir.write("case.inp", inputText);
    g_back = fs::current_path();
    fs::current_path(dir.path());
    io::closeAllUnits();
    resetAllBlocks();
    int status = 0;
    SETFILES(status);
    if (status == 0) READIN(status);
    if (status == 0) CONVIN();
    return status;
}

std::string fixture(const std::string& name) {
    return WorkDir::readPath(std::string(KALDO_FIXTURES_DIR) + "/" + name);
}

Capture::Capture(const WorkDir& dir, int unit, const std::string& file) : dir_(dir), unit_(unit), file_(file) {
    mark();
}

void Capture::mark() {
    io::unit(unit_).flush();
    std::error_code ec;
    start_ = static_cast<size_t>(fs::file_size(dir_ / file_, ec));
    if (ec) start_ = 0;
}

std::string Capture::since() {
    io::unit(unit_).flush();
    std::string all = dir_.read(file_);
    return start_ <= all.size() ? all.substr(start_) : std::string();
}

void closeModel() {
    io::closeAllUnits();
    if (!g_back.empty()) fs::current_path(g_back);
    g_back.clear();
}

}  // namespace kaldo::test
