// The run from the entry point to the completion report: the file list, the stop request at start, the
// report header, the reading trace, the completion messages and Kaldo's own faults.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/workdir.h"

namespace kaldo::test {
namespace {

const std::string kFrameEq = "     " + std::string(73, '=') + "\n";
const std::string kFrameDash = "     " + std::string(73, '-') + "\n";
const std::string kSummaryHeading =
    std::string(17, ' ') + "*****     SUMMARY FOR LOAD CASES AND COMBINATIONS      *****\n";

std::string pad(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

// Every section after the pile cap, each empty: no loads, no piles, no soil.
const std::string kEmptySections = R"(LOAD CASES
0 0 0 0 0
LOAD COMBINATIONS
0 0 0 0 0
DISTRIBUTED LOADS
0
PILE GROUPS
0
PILE PROPERTIES
0
CROSS SECTIONS
0
SOIL LAYERS
0
GENERATED AXIAL CURVES
0
GENERATED TORQUE CURVES
0
)";

// Title, control record, cap record and the empty sections: the smallest complete input.
std::string capInput(const std::string& control = "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                     const std::string& cap = "10.0 12.0 3.0 0.0 0.0 0", const std::string& rest = kEmptySections) {
    return "Four piles under a square cap\nsecond title line\nCONTROL\n" + control + "\nPILE CAP\n" + cap + "\n" +
           rest;
}

TEST(EntryPoint, CodesOtherThanEightReturnOneAndTouchNoFile) {
    WorkDir dir;
    dir.writeNames();
    void* lib = dlopen(KALDO_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto ikaldo = reinterpret_cast<int (*)(int)>(dlsym(lib, "IKALDO"));
    ASSERT_NE(ikaldo, nullptr);
    auto before = dir.files();
    auto back = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (int code : {7, 9, 0, -8}) EXPECT_EQ(ikaldo(code), 1) << "code " << code;
    std::filesystem::current_path(back);
    EXPECT_EQ(dir.files(), before);
    dlclose(lib);
}

// The names of the symbols a 64-bit ELF shared library defines in its dynamic symbol table and lets
// other modules bind to (global, weak or unique binding), as the dynamic linker sees them.
std::vector<std::string> exportedSymbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto read = [&]<class T>(T& out, std::size_t at) {
        if (at + sizeof(T) > bytes.size()) throw std::runtime_error("truncated ELF file " + path);
        std::memcpy(&out, bytes.data() + at, sizeof(T));
    };
    Elf64_Ehdr eh{};
    read(eh, 0);
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64)
        throw std::runtime_error("not a 64-bit ELF file: " + path);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh{};
        read(sh, eh.e_shoff + i * eh.e_shentsize);
        if (sh.sh_type != SHT_DYNSYM) continue;
        Elf64_Shdr str{};
        read(str, eh.e_shoff + sh.sh_link * eh.e_shentsize);
        for (std::size_t k = 1; k < sh.sh_size / sizeof(Elf64_Sym); ++k) {
            Elf64_Sym sym{};
            read(sym, sh.sh_offset + k * sizeof(Elf64_Sym));
            const unsigned bind = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK && bind != STB_GNU_UNIQUE))
                continue;
            names.emplace_back(bytes.c_str() + str.sh_offset + sym.st_name);
        }
    }
    return names;
}

TEST(EntryPoint, LibraryExportsOnlyTheEntryPoint) {
    void* lib = dlopen(KALDO_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    EXPECT_NE(dlsym(lib, "IKALDO"), nullptr);
    EXPECT_EQ(dlsym(lib, "_ZN5kaldo7RUNMAINERi"), nullptr) << "RUNMAIN must stay hidden";
    dlclose(lib);
    // Nothing else at all: no engine routine, and no weak instantiation of the standard library that a
    // host's own code could bind to instead of its own.
    std::string all;
    const std::vector<std::string> names = exportedSymbols(KALDO_LIB_PATH);
    for (const std::string& n : names) all += n + "\n";
    EXPECT_EQ(names, std::vector<std::string>{"IKALDO"}) << all;
}

TEST(StopRequest, AtStartEndsTheRunWithStatusFourAndTheStopTexts) {
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", capInput());
    dir.write("case.stop", "1\n");
    ASSERT_EQ(dir.run(), 4);

    EXPECT_EQ(maskVolatile(dir.read("case.run")),
              "     \n      *** ANALYSIS STOPPED BY USER ***\n<masked>\n<masked>\n");
    EXPECT_EQ(dir.read("case.out"), "      \n      *** ANALYSIS STOPPED BY USER ***\n");
    EXPECT_EQ(dir.read("case.sum"), "      \n      *** ANALYSIS STOPPED BY USER ***\n\n\n\n\n" + kSummaryHeading);
    // No input was read, so no echo was written.
    EXPECT_EQ(dir.read("case.echo"), "");
    EXPECT_EQ(dir.read("case.prog"), " - ANALYSIS STARTED\n\n");
}

TEST(StopRequest, OnlyTheValueOneStops) {
    struct Case {
        const char* stopFile;  // nullptr: no file at all
    };
    for (Case c : {Case{nullptr}, Case{""}, Case{"2\n"}, Case{"-1\n"}, Case{"stop\n"}, Case{"0\n"}}) {
        WorkDir dir;
        dir.writeNames();
        dir.write("case.inp", capInput());
        if (c.stopFile) dir.write("case.stop", c.stopFile);
        EXPECT_EQ(dir.run(), 0) << "stop file: " << (c.stopFile ? c.stopFile : "(missing)");
        EXPECT_TRUE(dir.exists("case.stop")) << "the poll creates a missing stop file";
    }
}

TEST(CompletedRun, WritesHeadersTraceAndCompletionMessage) {
    WorkDir dir;
    dir.writeNames("case", "TEST 1.0");
    dir.write("case.inp", capInput());
    ASSERT_EQ(dir.run(), 0) << dir.read("case.run");

    const std::string version = "Kaldo pile-group analysis, version TEST 1.0    \n";
    std::string sectionTrace;
    for (const char* h : {"LOAD CASES", "LOAD COMBINATIONS", "DISTRIBUTED LOADS", "PILE GROUPS", "PILE PROPERTIES",
                          "CROSS SECTIONS", "SOIL LAYERS", "GENERATED AXIAL CURVES", "GENERATED TORQUE CURVES"})
        sectionTrace += "     READING " + pad(h, 80) + "\n";
    const std::string dateBlock =
        kFrameDash + std::string(26, ' ') + "Time and Date of Analysis\n" + kFrameDash + "\n<masked>\n";
    const std::string banner = kFrameEq + "\n" + std::string(20, ' ') + version + "\n" + kFrameEq + "\n\n";
    const std::string fileNames =
        "     Path to file locations      : \n"
        "     Name of input data file     : case.inp\n"
        "     Name of output echo file    : case.echo\n"
        "     Name of output results file : case.out\n"
        "     Name of output summary file : case.sum\n"
        "     Name of plot output file    : case.plot\n"
        "     Name of runtime file        : case.run\n\n\n";

    EXPECT_EQ(maskVolatile(dir.read("case.run")),
              "\n" + std::string(10, ' ') + version + "\n" + dateBlock + "\n" + std::string(12, ' ') +
                  pad("Four piles under a square cap", 80) + "\n\n\n" + "     READING * TITLE AND VERSION\n" +
                  "     READING " + pad("CONTROL", 80) + "\n" + "     READING " + pad("PILE CAP", 80) + "\n" +
                  sectionTrace + "\n\n\n     COMPUTATION IS PROCEEDING......\n" +
                  "     \n     ANALYSIS COMPLETED\n<masked>\n<masked>\n");
    const std::string results = "\n\n\n\n" + std::string(17, ' ') + "*****     COMPUTATION RESULTS     *****\n\n\n\n" +
                                "     " + pad("Four piles under a square cap", 80) + "\n";
    EXPECT_EQ(maskVolatile(dir.read("case.sum")), banner + dateBlock + results + "\n\n\n\n" + kSummaryHeading);
    EXPECT_EQ(maskVolatile(dir.read("case.out")), banner + fileNames + dateBlock + results);
    const std::string echoHead = banner + fileNames + dateBlock;
    EXPECT_EQ(maskVolatile(dir.read("case.echo")).substr(0, echoHead.size()), echoHead);
    EXPECT_EQ(maskVolatile(dir.read("case.pile")), banner + fileNames + dateBlock + "\n** COMPUTATION RESULTS **\n" +
                                                      pad("Four piles under a square cap", 80) + "\n");
    EXPECT_EQ(dir.read("case.cst"), "COMPUTATION RESULTS\n" + pad("Four piles under a square cap", 80) + "\n");
    EXPECT_TRUE(dir.exists("case.crv")) << "the curve data file is created even when not requested";
    EXPECT_FALSE(dir.exists("case.inp~"));
}

TEST(CompletedRun, TwoRunsInOneProcessGiveIdenticalReports) {
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", WorkDir::readPath(std::string(KALDO_FIXTURES_DIR) + "/full3d.inp"));
    const int status = dir.run();
    std::vector<std::string> first;
    const char* reports[] = {"case.run", "case.out", "case.sum", "case.echo", "case.pile", "case.cst"};
    for (const char* r : reports) first.push_back(maskVolatile(dir.read(r)));
    ASSERT_EQ(dir.run(), status);
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(maskVolatile(dir.read(reports[i])), first[i]) << reports[i];
}

// A cap record with the block of values that are read past, an embedded-cap record and a flexible-cap
// record: the next line read is the heading of the load cases.
TEST(CompletedRun, CapRecordsOfEveryKindAreReadThrough) {
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", capInput("1 3 2 1 0 0 0 4 0 0 0 0 0 0 0 0 0 0 0 0 0\n0.5 0.25",
                                   "10 12 3 0 0 1\n2\n1\n5.0\n0\n1 0 4 100 200 0.5\n0 0 4 4 3.0e6 0.2"));
    EXPECT_EQ(dir.run(), 0) << dir.read("case.run");
}

TEST(CompletedRun, ReportFilesAreEmptiedWhenOpened) {
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", capInput());
    dir.write("case.cst", "    1 ANALYSIS COMPLETED  (stale line of an earlier run)\n");
    dir.write("case.plot", "stale plot listing\n");
    ASSERT_EQ(dir.run(), 0);
    EXPECT_EQ(dir.read("case.cst").find("stale"), std::string::npos) << dir.read("case.cst");
    EXPECT_EQ(dir.read("case.plot"), "");
}

// Faults of the file list and of the files it names end the run with Kaldo's own status and say why.
TEST(FileFaults, EndTheRunWithTheirOwnStatus) {
    struct Case {
        const char* name;
        int status;
        std::string names;  // empty: no Names.dat at all
        bool input;
    };
    std::string good;
    for (int rec = 5; rec <= 27; ++rec) good += WorkDir::recordName("case", rec) + "\n";
    const std::string head = "V1\nh\nh\nh\n";
    std::string shortList = head + good.substr(0, good.find("case.run"));
    std::string longPath = head + good;
    longPath.replace(longPath.find("case.out"), 8, std::string(257, 'x'));
    std::string badReport = head + good;
    badReport.replace(badReport.find("case.out"), 8, "no-such-folder/case.out");

    const Case cases[] = {
        {"no file list", 101, "", true},
        {"short file list", 101, shortList, true},
        {"path over 256 characters", 102, longPath, true},
        {"input data file missing", 103, head + good, false},
        {"report file cannot be opened", 104, badReport, true},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        if (!c.names.empty()) dir.write("Names.dat", c.names);
        if (c.input) dir.write("case.inp", capInput());
        EXPECT_EQ(dir.run(), c.status) << c.name;
        EXPECT_FALSE(!c.input && dir.exists("case.inp")) << c.name << ": the input file must never be created";
        if (c.status >= 103) {
            std::string rt = dir.read("case.run");
            EXPECT_NE(rt.find("* ERROR IN ANALYSIS *"), std::string::npos) << c.name << "\n" << rt;
            EXPECT_NE(rt.find(std::to_string(c.status) + ", "), std::string::npos) << c.name << "\n" << rt;
        }
    }
}

// A bad input data file ends the run with a status and a message naming the section, line and text.
TEST(InputFaults, NameTheSectionLineAndText) {
    struct Case {
        const char* name;
        std::string input;
        int status;
        const char* expect;  // a piece of the message on the runtime file
    };
    const Case cases[] = {
        {"malformed number", capInput("1 3 0 0 0 0 0 0 0 0 x7 0 0 0 0 0 0 0 0 0 0"), 110, "\"x7\""},
        {"real for an integer", capInput("1 3.5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"), 111, "\"3.5\""},
        {"file ends in the control record", "title\ntitle 2\nCONTROL\n1 3 0 0 0\n", 112, "CONTROL"},
        {"file ends before the cap", capInput().substr(0, capInput().find("PILE CAP")), 112, "end"},
        {"embedded-cap record missing", capInput("1 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "10 12 3 0 0 0", ""),
         112, "PILE CAP"},
        {"heading read as the embedded-cap record", capInput("1 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"), 110,
         "\"LOAD\""},
        {"malformed cap value", capInput(), 110, "\"1O.0\""},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        dir.writeNames();
        std::string input = c.input;
        if (std::string(c.name) == "malformed cap value") input.replace(input.find("10.0 12.0"), 4, "1O.0");
        dir.write("case.inp", input);
        EXPECT_EQ(dir.run(), c.status) << c.name;
        std::string rt = dir.read("case.run");
        EXPECT_NE(rt.find(c.expect), std::string::npos) << c.name << "\n" << rt;
        EXPECT_NE(rt.find("line "), std::string::npos) << c.name << "\n" << rt;
        EXPECT_EQ(rt.find("ANALYSIS COMPLETED"), std::string::npos) << c.name;
    }
}

}  // namespace
}  // namespace kaldo::test
