#include "io/listread.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kaldo::io {
namespace {

constexpr const char* kSection = "LOAD CASES";

// Lines handed over exactly as given, a trailing CR included: the reader must cut it itself.
class RawLines : public LineSource {
public:
    explicit RawLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    bool nextLine(std::string& line) override {
        if (next_ == lines_.size()) return false;
        line = lines_[next_++];
        return true;
    }
    long lineNumber() const override { return static_cast<long>(next_); }

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// Reads n integers from one record of input, starting from -1 in every target.
std::vector<int> readInts(const std::string& input, int n, bool* ended = nullptr) {
    StringSource src(input);
    ListRecord r(src, kSection);
    std::vector<int> v(n, -1);
    for (int& x : v) r >> x;
    if (ended) *ended = r.ended();
    return v;
}

std::string readText(const std::string& input) {
    StringSource src(input);
    ListRecord r(src, kSection);
    std::string s = "unchanged";
    r >> s;
    return s;
}

TEST(ListRead, SeparatorsAreBlanksTabsAndCommasWithBlanksAround) {
    const struct {
        const char* input;
        std::vector<double> want;
    } cases[] = {
        {"1 2 3", {1, 2, 3}},
        {"1,2,3", {1, 2, 3}},
        {"  1 ,  2 ,3  ", {1, 2, 3}},
        {"1\t2\t\t3", {1, 2, 3}},
        {"1 ,\t2\t, 3", {1, 2, 3}},
        {"1.5,-2 , 3e1", {1.5, -2, 30}},
        {"1,\n2\n\n3", {1, 2, 3}},  // line ends and a blank line are blanks
        {"1\n,2,3", {1, 2, 3}},     // a comma opening a line parts the items across the line end
    };
    for (const auto& c : cases) {
        StringSource src(c.input);
        ListRecord r(src, kSection);
        std::vector<double> got(c.want.size(), -1.0);
        for (double& x : got) r >> x;
        EXPECT_EQ(got, c.want) << "input: \"" << c.input << '"';
    }
}

TEST(ListRead, RecordRunsOverLinesAndNextRecordStartsOnTheNextLine) {
    StringSource src("1 2\n3\n4 5 99 junk 'x\n6 7\n8");
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    {
        ListRecord r(src, kSection);
        r >> a >> b >> c >> d >> e;
    }
    EXPECT_EQ(src.lineNumber(), 3);
    int f = 0;
    ListRecord(src, kSection) >> f;
    {
        ListRecord unread(src, kSection);  // reads nothing, so takes no line
    }
    int g = 0;
    ListRecord r3(src, kSection);
    r3 >> g;
    r3.finish();
    EXPECT_EQ((std::vector<int>{a, b, c, d, e, f, g}), (std::vector<int>{1, 2, 3, 4, 5, 6, 8}));
}

TEST(ListRead, EmptyValuesAndSlashLeaveTargetsUnchanged) {
    const struct {
        const char* input;
        std::vector<int> want;
        bool ended;
    } cases[] = {
        {",2,3,4", {-1, 2, 3, 4}, false},
        {"1,,3,4", {1, -1, 3, 4}, false},
        {"1 , , 3 4", {1, -1, 3, 4}, false},
        {",,,4", {-1, -1, -1, 4}, false},
        {"1,\n,3 4", {1, -1, 3, 4}, false},
        {"1 2*, 4", {1, -1, -1, 4}, false},
        {"1 2* 4 5", {1, -1, -1, 4}, false},
        {"1 2/ 3 4", {1, 2, -1, -1}, true},
        {"1,2,/,3", {1, 2, -1, -1}, true},
        {"1,,/", {1, -1, -1, -1}, true},
        {"/ 1 2 3 4", {-1, -1, -1, -1}, true},
        {"1\n2 /\n3 4", {1, 2, -1, -1}, true},
        {"2*5/ 6", {5, 5, -1, -1}, true},
    };
    for (const auto& c : cases) {
        bool ended = false;
        EXPECT_EQ(readInts(c.input, 4, &ended), c.want) << "input: \"" << c.input << '"';
        EXPECT_EQ(ended, c.ended) << "input: \"" << c.input << '"';
    }
}

TEST(ListRead, SlashIgnoresTheRestOfItsLineAndLaterReads) {
    StringSource src("1 / 2 3\n4");
    int a = 0, b = 7;
    double x = 7.5;
    std::string s = "kept";
    {
        ListRecord r(src, kSection);
        r >> a >> b >> x >> s;
        r.skip(3);
        EXPECT_TRUE(r.ended());
    }
    int c = 0;
    ListRecord(src, kSection) >> c;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(x, 7.5);
    EXPECT_EQ(s, "kept");
    EXPECT_EQ(c, 4);
}

TEST(ListRead, RepeatsHandOutCopiesAcrossCallsAndTypes) {
    StringSource src("3*2 2*2.5 2*'ab cd' 2* 9\nnext");
    int i1 = 0, i2 = 0;
    double d1 = 0, d2 = 0, d3 = 0;
    std::string s1, s2;
    int n1 = -1, n2 = -1, last = 0;
    ListRecord r(src, kSection);
    r >> i1 >> i2 >> d1 >> d2 >> d3 >> s1 >> s2 >> n1 >> n2 >> last;
    EXPECT_EQ((std::vector<int>{i1, i2, n1, n2, last}), (std::vector<int>{2, 2, -1, -1, 9}));
    EXPECT_EQ((std::vector<double>{d1, d2, d3}), (std::vector<double>{2, 2.5, 2.5}));
    EXPECT_EQ(s1, "ab cd");
    EXPECT_EQ(s2, "ab cd");
}

TEST(ListRead, SkipDropsItemsCountingEmptyValuesAndRepeats) {
    const struct {
        const char* input;
        int skip;
        int want;
    } cases[] = {
        {"1 2 3 4", 2, 3},
        {",,5", 2, 5},
        {"3*1 9", 3, 9},
        {"2*1 9", 1, 1},
        {"'a b' x\n7", 2, 7},
        {"1 / 5", 3, -1},
    };
    for (const auto& c : cases) {
        StringSource src(c.input);
        ListRecord r(src, kSection);
        int v = -1;
        r.skip(c.skip) >> v;
        EXPECT_EQ(v, c.want) << "input: \"" << c.input << "\", skip " << c.skip;
    }
}

TEST(ListRead, RealsTakeAnyDecimalOrExponentForm) {
    const struct {
        const char* input;
        double want;
    } cases[] = {
        {"2.5", 2.5},     {".5", 0.5},          {"5.", 5.0},        {"-.5e-3", -0.5e-3},
        {"+3", 3.0},      {"7", 7.0},           {"1.0D3", 1000.0},  {"1.0d-2", 0.01},
        {"2E5", 2e5},     {"3.25e+02", 325.0},  {"-0.0", -0.0},     {"1.5,", 1.5},
        {"1.5/", 1.5},    {"1.7976931348623157e308", 1.7976931348623157e308},
        {"1e-400", 0.0},  {"0.00001e-320", 0.0},  // below the smallest double: read as zero
    };
    for (const auto& c : cases) {
        StringSource src(c.input);
        ListRecord r(src, kSection);
        double v = -99;
        r >> v;
        EXPECT_EQ(v, c.want) << "input: \"" << c.input << '"';
    }
}

TEST(ListRead, IntegersTakeOptionalSignAndDigits) {
    const struct {
        const char* input;
        int want;
    } cases[] = {{"42", 42},        {"+7", 7},
                 {"-13", -13},      {"007", 7},
                 {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(readInts(c.input, 1)[0], c.want) << "input: \"" << c.input << '"';
}

TEST(ListRead, TextsAreWordsOrQuotedWithDoubledQuotes) {
    const struct {
        const char* input;
        const char* want;
    } cases[] = {
        {"PILE", "PILE"},
        {"  A12 next", "A12"},
        {"abc,def", "abc"},
        {"abc/def", "abc"},
        {"don't", "don't"},
        {"12.5", "12.5"},
        {"'ab cd'", "ab cd"},
        {"\"x, y / z\" w", "x, y / z"},
        {"'it''s'", "it's"},
        {"\"say \"\"hi\"\"\"", "say \"hi\""},
        {"'a\"b'", "a\"b"},
        {"''", ""},
        {"'  padded  ',", "  padded  "},
        {",'skipped'", "unchanged"},
    };
    for (const auto& c : cases) EXPECT_EQ(readText(c.input), c.want) << "input: \"" << c.input << '"';
}

TEST(ListRead, MixedItemsInOneRecord) {
    StringSource src("'GROUP A' 3, 2.5D0 fixed");
    std::string name, mode;
    int n = 0;
    double h = 0;
    ListRecord(src, kSection) >> name >> n >> h >> mode;
    EXPECT_EQ(name, "GROUP A");
    EXPECT_EQ(n, 3);
    EXPECT_EQ(h, 2.5);
    EXPECT_EQ(mode, "fixed");
}

TEST(ListRead, CrLfLineEndsAreCut) {
    StringSource src("1 2\r\nword\r\n'q'\r\nTITLE\r\n");
    int a = 0, b = 0;
    std::string w, q;
    ListRecord(src, kSection) >> a >> b;
    ListRecord(src, kSection) >> w;
    ListRecord(src, kSection) >> q;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(w, "word");
    EXPECT_EQ(q, "q");
    EXPECT_EQ(readFixedText(src, 7, kSection), "TITLE  ");

    RawLines raw({"5\r", "'x'\r", "y\r", "T\r"});
    int c = 0;
    std::string x, y;
    ListRecord(raw, kSection) >> c;
    ListRecord(raw, kSection) >> x;
    ListRecord(raw, kSection) >> y;
    EXPECT_EQ(c, 5);
    EXPECT_EQ(x, "x");
    EXPECT_EQ(y, "y");
    EXPECT_EQ(readFixedText(raw, 2, kSection), "T ");
}

TEST(ListRead, StringSourceSplitsLinesAndCountsThem) {
    StringSource src("a\n\nb c\n");
    std::string line;
    std::vector<std::string> got;
    while (src.nextLine(line)) got.push_back(line);
    EXPECT_EQ(got, (std::vector<std::string>{"a", "", "b c"}));
    EXPECT_EQ(src.lineNumber(), 3);
}

TEST(ListRead, FixedTextIsCutOrPaddedAndSkipRecordTakesOneLine) {
    StringSource src("PILE GROUP TITLE\nshort\n1 2 3\n4");
    EXPECT_EQ(readFixedText(src, 10, kSection), "PILE GROUP");
    EXPECT_EQ(readFixedText(src, 8, kSection), "short   ");
    skipRecord(src, kSection);
    int v = 0;
    ListRecord(src, kSection) >> v;
    EXPECT_EQ(v, 4);
    EXPECT_EQ(src.lineNumber(), 4);
}

// What f threw, or nothing when it did not throw.
template <class F>
std::optional<InputError> thrownBy(F f) {
    try {
        f();
    } catch (const InputError& e) {
        return e;
    }
    return std::nullopt;
}

// Reads one record of input into targets named in order by reads: i integer, d real, s text.
void readRecord(const std::string& input, const std::string& reads) {
    StringSource src(input);
    ListRecord r(src, "LOAD CASES   ");
    int i = 0;
    double d = 0;
    std::string s;
    for (char t : reads) {
        if (t == 'i') r >> i;
        if (t == 'd') r >> d;
        if (t == 's') r >> s;
    }
}

TEST(ListRead, FaultsNameKindSectionLineAndText) {
    using K = InputError::Kind;
    const struct {
        const char* input;
        const char* reads;
        K kind;
        long line;
        const char* text;
        const char* what;
    } cases[] = {
        {"1.2.3", "d", K::Malformed, 1, "1.2.3",
         "malformed number \"1.2.3\" in section \"LOAD CASES\", line 1"},
        {"12abc", "d", K::Malformed, 1, "12abc",
         "malformed number \"12abc\" in section \"LOAD CASES\", line 1"},
        {"1e", "d", K::Malformed, 1, "1e",
         "malformed number \"1e\" in section \"LOAD CASES\", line 1"},
        {"Inf", "d", K::Malformed, 1, "Inf",
         "malformed number \"Inf\" in section \"LOAD CASES\", line 1"},
        {"nan", "d", K::Malformed, 1, "nan",
         "malformed number \"nan\" in section \"LOAD CASES\", line 1"},
        {"1e400", "d", K::Malformed, 1, "1e400",
         "number out of range \"1e400\" in section \"LOAD CASES\", line 1"},
        {"0.001e312", "d", K::Malformed, 1, "0.001e312",
         "number out of range \"0.001e312\" in section \"LOAD CASES\", line 1"},
        {"'2.5'", "d", K::Malformed, 1, "'2.5'",
         "malformed number \"'2.5'\" in section \"LOAD CASES\", line 1"},
        {"1 2\n3 x", "iiii", K::Malformed, 2, "x",
         "malformed number \"x\" in section \"LOAD CASES\", line 2"},
        {"abc", "i", K::Malformed, 1, "abc",
         "malformed number \"abc\" in section \"LOAD CASES\", line 1"},
        {"1-2", "i", K::Malformed, 1, "1-2",
         "malformed number \"1-2\" in section \"LOAD CASES\", line 1"},
        {"99999999999", "i", K::Malformed, 1, "99999999999",
         "integer out of range \"99999999999\" in section \"LOAD CASES\", line 1"},
        {"0*5", "i", K::Malformed, 1, "0*5",
         "malformed repeat count \"0*5\" in section \"LOAD CASES\", line 1"},
        {"7\n2.5", "ii", K::RealForInteger, 2, "2.5",
         "a real \"2.5\" where an integer is due in section \"LOAD CASES\", line 2"},
        {"1e5", "i", K::RealForInteger, 1, "1e5",
         "a real \"1e5\" where an integer is due in section \"LOAD CASES\", line 1"},
        {"2*1.5", "di", K::RealForInteger, 1, "2*1.5",
         "a real \"2*1.5\" where an integer is due in section \"LOAD CASES\", line 1"},
        {"1 2\n3\n", "iiii", K::EarlyEnd, 2, "",
         "early end of the input file in section \"LOAD CASES\", after line 2"},
        {"", "s", K::EarlyEnd, 0, "",
         "early end of the input file in section \"LOAD CASES\", after line 0"},
        {"1 'abc", "is", K::Malformed, 1, "'abc",
         "unterminated quoted text \"'abc\" in section \"LOAD CASES\", line 1"},
        {"1\n\"ab\ncd\"", "is", K::Malformed, 2, "\"ab",
         "unterminated quoted text \"\"ab\" in section \"LOAD CASES\", line 2"},
        {"'ab'cd", "s", K::Malformed, 1, "'ab'cd",
         "malformed quoted text \"'ab'cd\" in section \"LOAD CASES\", line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("input: \"") + c.input + "\", reads " + c.reads);
        const std::optional<InputError> e = thrownBy([&] { readRecord(c.input, c.reads); });
        if (!e) {
            ADD_FAILURE() << "no InputError thrown";
            continue;
        }
        EXPECT_EQ(e->kind, c.kind);
        EXPECT_EQ(e->section, "LOAD CASES");
        EXPECT_EQ(e->line, c.line);
        EXPECT_EQ(e->text, c.text);
        EXPECT_STREQ(e->what(), c.what);
    }
}

TEST(ListRead, FixedTextAndSkipRecordFaultAtEndOfFile) {
    StringSource src("only\n");
    skipRecord(src, "TITLE ");
    const std::optional<InputError> faults[] = {
        thrownBy([&] { skipRecord(src, "TITLE "); }),
        thrownBy([&] { readFixedText(src, 5, "TITLE "); }),
    };
    for (const auto& e : faults) {
        ASSERT_TRUE(e.has_value()) << "no InputError thrown";
        EXPECT_EQ(e->kind, InputError::EarlyEnd);
        EXPECT_EQ(e->line, 1);
        EXPECT_STREQ(e->what(), "early end of the input file in section \"TITLE\", after line 1");
    }
}

// What a record tells its observer when it ends: the lines it took its items from, the values left on
// its last line, and a bare comma joining two digits next to what it read.
struct Traces : RecordObserver {
    std::vector<RecordTrace> seen;
    void recordEnded(const RecordTrace& t) noexcept override { seen.push_back(t); }
};

TEST(ListRead, RecordTraceTellsLinesLeftoverAndJoinedDigits) {
    struct Case {
        const char* name;
        std::string text;
        int items;
        long first, last;
        int onFirst, leftover;
        std::string rest, joined;
    };
    const Case cases[] = {
        {"exact", "1 2 3\n", 3, 1, 1, 3, 0, "", ""},
        {"one short, spills", "1 2\n3 4\n", 3, 1, 2, 2, 1, "4", ""},
        {"one long", "1 2 3 4.5\n", 3, 1, 1, 3, 1, "4.5", ""},
        {"a quoted note counts as one", "1 2 3 'a, b' c\n", 3, 1, 1, 3, 2, "'a, b' c", ""},
        {"bare commas between exact values", "1,2,3\n", 3, 1, 1, 3, 0, "", "1,2"},
        {"decimal comma next to the leftover", "1 2 3,5\n", 3, 1, 1, 3, 1, "5", "3,5"},
        {"joined digits inside the leftover only", "1 2 3 4,5\n", 3, 1, 1, 3, 2, "4,5", ""},
        {"slash ends the record, the rest is no leftover", "1 / 7 8\n", 1, 1, 1, 1, 0, "", ""},
    };
    for (const Case& c : cases) {
        StringSource src(c.text);
        Traces obs;
        {
            ListRecord r(src, kSection, &obs);
            int a = 0, b = 0, d = 0;
            r >> a >> b >> d;
        }
        ASSERT_EQ(obs.seen.size(), 1u) << c.name;
        const RecordTrace& t = obs.seen[0];
        EXPECT_EQ(t.items, c.items) << c.name;
        EXPECT_EQ(t.firstLine, c.first) << c.name;
        EXPECT_EQ(t.lastLine, c.last) << c.name;
        EXPECT_EQ(t.itemsOnFirstLine, c.onFirst) << c.name;
        EXPECT_EQ(t.leftoverValues, c.leftover) << c.name;
        EXPECT_EQ(t.leftover, c.rest) << c.name;
        EXPECT_EQ(t.joined, c.joined) << c.name;
    }
}

// A record that a fault leaves tells nothing (its item count is not its type's), and a record of which
// nothing was read tells nothing either.
TEST(ListRead, RecordTraceIsSilentAfterAFaultAndForAnUnreadRecord) {
    StringSource src("1 x 3\n4 5 6\n");
    Traces obs;
    try {
        ListRecord r(src, kSection, &obs);
        int a = 0, b = 0;
        r >> a >> b;
        ADD_FAILURE() << "x read as an integer";
    } catch (const InputError&) {
    }
    { ListRecord r(src, kSection, &obs); }
    EXPECT_TRUE(obs.seen.empty());
}

}  // namespace
}  // namespace kaldo::io
