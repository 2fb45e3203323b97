// Numbered units: sequential file rules (writing ends the file, rewind, backspace), open modes,
// free-form lines and unformatted record framing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "io/units.h"
#include "support/workdir.h"

namespace kaldo::io {
namespace {

using test::WorkDir;

TEST(Units, WritingAfterRewindEndsTheFileThere) {
    WorkDir dir;
    dir.write("f.txt", "old one\nold two\nold three\n");
    Unit& u = unit(40);
    ASSERT_TRUE(u.open((dir / "f.txt").string(), Mode::Update));
    std::string line;
    ASSERT_TRUE(u.nextLine(line));
    EXPECT_EQ(line, "old one");
    u.line() << "new two";
    u.close();
    EXPECT_EQ(dir.read("f.txt"), "old one\nnew two\n");

    ASSERT_TRUE(u.open((dir / "f.txt").string(), Mode::Update));
    u.close();
    EXPECT_EQ(dir.read("f.txt"), "old one\nnew two\n") << "a file opened and never written keeps its contents";
}

// An overwritten file holds the new text alone once closed: a longer old text loses its tail, a shorter
// one is written over, a missing file is made; the old text stays until the close cuts it.
TEST(Units, OverwriteCutsTheOldTailAtTheClose) {
    WorkDir dir;
    struct Case {
        const char* name;
        std::string before;  // empty: no file
        std::string text;
    };
    const Case cases[] = {
        {"longer old text", "stale line one\nstale line two\nstale line three\n", "new\n"},
        {"shorter old text", "old\n", "new line one\nnew line two\n"},
        {"as long", "old line\n", "new line\n"},
        {"no file", "", "made\n"},
    };
    Unit& u = unit(40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.before.empty()) dir.write("p.txt", c.before);
        ASSERT_TRUE(u.open((dir / "p.txt").string(), Mode::Overwrite));
        u.line() << c.text.substr(0, c.text.find('\n'));
        const std::size_t rest = c.text.find('\n') + 1;
        if (rest < c.text.size()) u.line() << c.text.substr(rest, c.text.size() - rest - 1);
        u.flush();
        if (c.before.size() > c.text.size()) {
            EXPECT_EQ(dir.read("p.txt").size(), c.before.size()) << "cut before the close";
        }
        u.close();
        EXPECT_EQ(dir.read("p.txt"), c.text);
        EXPECT_FALSE(u.writeFailed());
        std::filesystem::remove(dir / "p.txt");
    }
}

TEST(Units, WriteModeEmptiesTheFileAtOpen) {
    for (bool buffered : {false, true}) {
        SCOPED_TRACE(buffered ? "buffered (writes behind)" : "unbuffered");
        WorkDir dir;
        dir.write("r.txt", "stale line one\nstale line two\n");
        dir.write("w.txt", "stale line one\nstale line two\n");
        Unit& u = unit(41);
        ASSERT_TRUE(u.open((dir / "r.txt").string(), Mode::Write, Form::Text, buffered));
        u.close();
        EXPECT_EQ(dir.read("r.txt"), "");
        ASSERT_TRUE(u.open((dir / "w.txt").string(), Mode::Write, Form::Text, buffered));
        u.line() << "new";
        u.close();
        EXPECT_EQ(dir.read("w.txt"), "new\n");
        ASSERT_TRUE(u.open((dir / "made.txt").string(), Mode::Write, Form::Text, buffered));
        u.close();
        EXPECT_TRUE(dir.exists("made.txt"));
    }
}

// A unit that writes behind replaces a plain existing file by a new one (so that the old contents are
// dropped on its thread and the file is not written out in full when closed): the new file has the old
// one's permissions, and a reader that had the old file open keeps reading the old contents. A file
// with a second name, or reached through a symbolic link, is emptied in place instead, so that every
// name shows the new report.
TEST(Units, WritingBehindReplacesAPlainFileAndEmptiesALinkedOne) {
    WorkDir dir;
    const std::string plain = (dir / "plain.txt").string();
    dir.write("plain.txt", "old report\n");
    ASSERT_EQ(chmod(plain.c_str(), 0640), 0);
    std::FILE* reader = std::fopen(plain.c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    Unit& u = unit(47);
    ASSERT_TRUE(u.open(plain, Mode::Write, Form::Text, true));
    u.line() << "new report";
    u.close();
    EXPECT_EQ(dir.read("plain.txt"), "new report\n");
    struct stat st {};
    ASSERT_EQ(stat(plain.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    char held[32] = {};
    EXPECT_EQ(std::fread(held, 1, sizeof held - 1, reader), 11u);
    EXPECT_STREQ(held, "old report\n");
    std::fclose(reader);

    // Two names of one file, and a symbolic link to a third.
    dir.write("linked.txt", "old linked\n");
    ASSERT_EQ(link((dir / "linked.txt").string().c_str(), (dir / "other-name.txt").string().c_str()), 0);
    dir.write("target.txt", "old target\n");
    ASSERT_EQ(symlink((dir / "target.txt").string().c_str(), (dir / "via-link.txt").string().c_str()), 0);
    for (const char* name : {"linked.txt", "via-link.txt"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(u.open((dir / name).string(), Mode::Write, Form::Text, true));
        u.line() << "new " << name;
        u.close();
    }
    EXPECT_EQ(dir.read("other-name.txt"), "new linked.txt\n");
    EXPECT_EQ(dir.read("target.txt"), "new via-link.txt\n");
    struct stat ls {};
    ASSERT_EQ(lstat((dir / "via-link.txt").string().c_str(), &ls), 0);
    EXPECT_TRUE(S_ISLNK(ls.st_mode));
}

TEST(Units, ReadModeNeverCreatesAFile) {
    WorkDir dir;
    EXPECT_FALSE(unit(42).open((dir / "missing.inp").string(), Mode::Read));
    EXPECT_FALSE(dir.exists("missing.inp"));
    EXPECT_TRUE(unit(42).open((dir / "made.txt").string(), Mode::ReadCreate));
    unit(42).close();
    EXPECT_TRUE(dir.exists("made.txt"));
}

TEST(Units, RewindAndBackspaceReadRecordsAgain) {
    WorkDir dir;
    Unit& u = unit(43);
    ASSERT_TRUE(u.open((dir / "s.txt").string(), Mode::Write));
    u.line() << "first";
    u.line() << "second";
    u.line() << "third";
    u.rewind();
    std::string a, b;
    ASSERT_TRUE(u.nextLine(a));
    ASSERT_TRUE(u.nextLine(a));
    EXPECT_EQ(a, "second");
    EXPECT_EQ(u.lineNumber(), 2);
    u.backspace();
    ASSERT_TRUE(u.nextLine(b));
    EXPECT_EQ(b, "second");
    // Backspace after a write goes back over the record just written, and a write there replaces it.
    u.line() << "replaced third";
    u.backspace();
    u.line() << "new third";
    u.rewind();
    std::vector<std::string> all;
    while (u.nextLine(a)) all.push_back(a);
    EXPECT_EQ(all, (std::vector<std::string>{"first", "second", "new third"}));
    u.close();
}

TEST(Units, LinesEndingInCrLfReadWithoutTheCr) {
    WorkDir dir;
    dir.write("w.txt", "one\r\ntwo\r\n\r\nlast-without-end");
    Unit& u = unit(44);
    ASSERT_TRUE(u.open((dir / "w.txt").string(), Mode::Read));
    std::vector<std::string> got;
    std::string line;
    while (u.nextLine(line)) got.push_back(line);
    EXPECT_EQ(got, (std::vector<std::string>{"one", "two", "", "last-without-end"}));
    u.close();
}

TEST(Units, TheRestOfAFileReadsInOnePieceFromThePosition) {
    WorkDir dir;
    std::string big;
    for (int k = 0; k < 30000; ++k) big += "line " + std::to_string(k) + "\r\n";
    dir.write("r.txt", "head\n" + big + "tail-without-end");
    Unit& u = unit(44);
    ASSERT_TRUE(u.open((dir / "r.txt").string(), Mode::Read));
    std::string line, rest;
    ASSERT_TRUE(u.nextLine(line));
    EXPECT_EQ(line, "head");
    ASSERT_TRUE(u.readRest(rest));
    EXPECT_EQ(rest, big + "tail-without-end");
    EXPECT_EQ(u.lineNumber(), 1 + 30000 + 1);
    // At the end: nothing more, and still a successful read.
    ASSERT_TRUE(u.readRest(rest));
    EXPECT_EQ(rest, "");
    u.close();
    EXPECT_FALSE(u.readRest(rest));
}

TEST(Units, PartsContinueTheCurrentLine) {
    WorkDir dir;
    Unit& u = unit(45);
    ASSERT_TRUE(u.open((dir / "p.txt").string(), Mode::Write));
    u.part() << "A" << X{2};
    u.part() << I(3, 7);
    u.line() << "|" << F{6, 2, -1.005};
    u.blankLines(1);
    u.free() << "    ANALYSIS COMPLETED";
    u.free() << "    " << 40 << ", UNKNOWN CODE";
    u.free() << "N=" << 3 << 4 << "x" << 2.5;
    u.free();
    u.close();
    EXPECT_EQ(dir.read("p.txt"),
              "A    7| -1.00\n\n     ANALYSIS COMPLETED\n     40, UNKNOWN CODE\n N=3 4x2.5\n\n");
}

TEST(Units, UnformattedRecordsCarryTheirLengthBeforeAndAfter) {
    WorkDir dir;
    Unit& u = unit(46);
    ASSERT_TRUE(u.open((dir / "c.bin").string(), Mode::Write, Form::Unformatted));
    Record r1;
    r1 << int32_t(3) << int32_t(2) << int32_t(1);
    r1.writeTo(u);
    Record r2;
    r2 << 1.5;
    r2.writeTo(u);
    u.close();

    std::string bytes = dir.read("c.bin");
    ASSERT_EQ(bytes.size(), size_t(4 + 12 + 4 + 4 + 8 + 4));
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x0c\0\0\0\x03\0\0\0", 8));
    EXPECT_EQ(bytes.substr(16, 4), std::string("\x0c\0\0\0", 4));
    EXPECT_EQ(bytes.substr(20, 4), std::string("\x08\0\0\0", 4));

    ASSERT_TRUE(u.open((dir / "c.bin").string(), Mode::Read, Form::Unformatted));
    std::vector<unsigned char> rec;
    ASSERT_TRUE(u.readRecord(rec));
    ASSERT_TRUE(u.readRecord(rec));
    u.backspace();
    ASSERT_TRUE(u.readRecord(rec));
    RecordReader rd(rec);
    double v = 0;
    ASSERT_TRUE(rd.get(v));
    EXPECT_EQ(v, 1.5);
    EXPECT_FALSE(u.readRecord(rec));
    u.close();
}

TEST(Units, WritesToAClosedUnitAreDropped) {
    Unit& u = unit(47);
    u.close();
    u.line() << "nowhere";
    EXPECT_FALSE(u.isOpen());
    EXPECT_THROW(unit(100), std::out_of_range);
}

// Texts written on other threads under a Capture and replayed in a chosen order give the bytes that
// writing directly in that order gives: lines and records, a line left open by the file before and one
// left open by the text, several units at once, and nothing for a unit that is not open.
TEST(Units, CapturedTextsReplayAsDirectWrites) {
    WorkDir dir;
    auto write = [](int first, int second, int third) {
        unit(42).line() << "first of " << std::to_string(first);
        unit(43).part() << "open " << std::to_string(second);
        unit(42).blankLines(1);
        Record rec;
        rec << third << 2.5;
        rec.writeTo(unit(44));
        unit(45).line() << "nowhere";
        unit(42).part() << "left open";
    };
    auto openAll = [&dir](const char* tag) {
        for (int n : {42, 43, 44})
            ASSERT_TRUE(unit(n).open((dir / (tag + std::to_string(n))).string(), Mode::Write,
                                     n == 44 ? Form::Unformatted : Form::Text));
        unit(43).part() << "before ";
    };
    auto closeAll = [] {
        for (int n : {42, 43, 44}) unit(n).close();
    };

    openAll("direct");
    for (int k = 1; k <= 3; ++k) write(k, 10 * k, 100 * k);
    closeAll();

    openAll("replayed");
    std::vector<std::vector<Capture::Text>> texts(4);
    // Captured in the reverse order on other threads, replayed in order.
    for (int k = 3; k >= 1; --k) {
        std::thread([&texts, &write, k] {
            Capture capture;
            write(k, 10 * k, 100 * k);
            texts[static_cast<std::size_t>(k)] = capture.finish();
        }).join();
    }
    for (int k = 1; k <= 3; ++k) replay(texts[static_cast<std::size_t>(k)]);
    closeAll();

    for (int n : {42, 43, 44})
        EXPECT_EQ(dir.read("replayed" + std::to_string(n)), dir.read("direct" + std::to_string(n))) << n;
    EXPECT_NE(dir.read("direct42").find("first of 2\n\nleft openfirst of 3\n"), std::string::npos)
        << dir.read("direct42");
    EXPECT_EQ(dir.read("direct43"), "before open 10open 20open 30\n");
    EXPECT_FALSE(unit(45).isOpen());
}

// A buffered unit writes behind, on a thread of its own, in pieces of a megabyte: the file holds the
// lines in the order written, and positioning, reading back and writing after a rewind wait for the
// writes before them. 200,000 lines of 12 bytes are 2.4 MB, several pieces.
TEST(Units, BufferedUnitsWriteBehindInOrder) {
    WorkDir dir;
    Unit& u = unit(48);
    ASSERT_TRUE(u.open((dir / "big.txt").string(), Mode::Write, Form::Text, true));
    auto lineOf = [](int k) {
        char text[32];
        std::snprintf(text, sizeof text, "line %06d", k);
        return std::string(text);
    };
    std::string expected;
    for (int k = 1; k <= 100000; ++k) {
        u.line() << lineOf(k);
        expected += lineOf(k) + "\n";
    }
    EXPECT_EQ(u.position(), 100000L * 12);
    for (int k = 100001; k <= 200000; ++k) {
        u.line() << lineOf(k);
        expected += lineOf(k) + "\n";
    }
    u.rewind();
    std::string line;
    ASSERT_TRUE(u.nextLine(line));
    EXPECT_EQ(line, lineOf(1));
    u.close();
    EXPECT_EQ(dir.read("big.txt"), expected);

    // Written after a rewind and a read, the file ends at the new line.
    ASSERT_TRUE(u.open((dir / "big.txt").string(), Mode::Update, Form::Text, true));
    ASSERT_TRUE(u.nextLine(line));
    for (int k = 0; k < 200000; ++k) u.line() << "new";
    u.close();
    std::string updated = lineOf(1) + "\n";
    for (int k = 0; k < 200000; ++k) updated += "new\n";
    EXPECT_EQ(dir.read("big.txt"), updated);
}

// A write that fails on the writing thread (a full device) is the unit's own once it settles, and the
// run's first failure as soon as anyone asks for it.
TEST(Units, AFailureWritingBehindIsTheUnitsOwn) {
    clearWriteFailure();
    Unit& u = unit(49);
    if (!u.open("/dev/full", Mode::Write, Form::Text, true)) GTEST_SKIP() << "no /dev/full here";
    const std::string text(1000, 'x');
    for (int k = 0; k < 3000; ++k) u.line() << text;
    const WriteFailure f = firstWriteFailure();
    EXPECT_TRUE(f.any);
    EXPECT_EQ(f.unit, 49);
    EXPECT_EQ(f.path, "/dev/full");
    EXPECT_TRUE(u.writeFailed());
    u.close();
    clearWriteFailure();
}

}  // namespace
}  // namespace kaldo::io
