// The input reference (docs/input.md) against the reader: the input pieces it shows put together are real
// input files that read without a fault, the concrete pile group they make is the example file line for
// line and runs, and the echo excerpts it shows stand in that run's echo. Every example file runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/model.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = KALDO_EXAMPLES_DIR;
const fs::path kDocs = kExamples.parent_path() / "docs" / "input.md";

// The fenced blocks of the page whose opening line is "```KIND NAME", put together per name in page order.
std::map<std::string, std::string> blocks(const std::string& kind) {
    std::map<std::string, std::string> out;
    std::istringstream page(WorkDir::readPath(kDocs));
    std::string line, name;
    bool inside = false;
    while (std::getline(page, line)) {
        if (!inside && line.rfind("```" + kind + " ", 0) == 0) {
            name = line.substr(kind.size() + 4);
            out[name];
            inside = true;
        } else if (inside && line.rfind("```", 0) == 0) {
            inside = false;
        } else if (inside) {
            out[name] += line + "\n";
        }
    }
    return out;
}

TEST(InputReference, ShowsTheTwoFilesItDescribes) {
    const auto inputs = blocks("input");
    EXPECT_EQ(inputs.size(), 2u);
    EXPECT_TRUE(inputs.count("concrete-pile-group"));
    EXPECT_TRUE(inputs.count("every-section"));
}

// The pieces of the concrete pile group are the example file, and it runs to completion without a
// warning from the reader.
TEST(InputReference, ConcretePileGroupIsTheExampleAndRuns) {
    const auto inputs = blocks("input");
    const std::string text = inputs.at("concrete-pile-group");
    EXPECT_EQ(text, WorkDir::readPath(kExamples / "concrete-pile-group.inp"));
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", text);
    ASSERT_EQ(dir.run(), 0) << dir.read("case.run");
    EXPECT_EQ(dir.read("case.run").find("WARNING"), std::string::npos) << dir.read("case.run");
    EXPECT_NE(dir.read("case.run").find("ANALYSIS COMPLETED"), std::string::npos);

    // Every line of every echo excerpt of the page stands in the echo, in the excerpt's order.
    const std::string echo = dir.read("case.echo");
    for (const auto& [name, excerpt] : blocks("echo")) {
        ASSERT_EQ(name, "concrete-pile-group");
        std::istringstream lines(excerpt);
        std::string line;
        size_t at = 0;
        while (std::getline(lines, line)) {
            const size_t found = echo.find("\n" + line + "\n", at);
            EXPECT_NE(found, std::string::npos) << "echo excerpt line not in the echo:\n[" << line << "]";
            if (found != std::string::npos) at = found + 1;
        }
    }
}

// The file that uses every optional section reads and converts without a fault or a warning (some of the
// analyses it asks for are not in this version, so it is read, not run).
TEST(InputReference, EverySectionFileReads) {
    const std::string text = blocks("input").at("every-section");
    WorkDir dir;
    EXPECT_EQ(readModel(dir, text), 0);
    closeModel();
    const std::string runtime = dir.read("case.run");
    EXPECT_EQ(runtime.find("WARNING"), std::string::npos) << runtime;
    EXPECT_NE(runtime.find("READING CURVE DATA FILE"), std::string::npos) << runtime;
}

TEST(Examples, EveryExampleRunsToCompletion) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        if (entry.path().extension() != ".inp") continue;
        ++count;
        WorkDir dir;
        dir.writeNames();
        dir.write("case.inp", WorkDir::readPath(entry.path()));
        // A flexible-cap example runs on the plate model that stands beside it.
        fs::path slab = entry.path();
        slab.replace_extension(".slab");
        if (fs::exists(slab)) dir.write("case.slab", WorkDir::readPath(slab));
        EXPECT_EQ(dir.run(), 0) << entry.path() << "\n" << dir.read("case.run");
        EXPECT_EQ(dir.read("case.run").find("WARNING"), std::string::npos) << entry.path();
        EXPECT_NE(dir.read("case.run").find("ANALYSIS COMPLETED"), std::string::npos) << entry.path();
    }
    EXPECT_GE(count, 5);
}

}  // namespace
}  // namespace kaldo::test
