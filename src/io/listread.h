// The free-form (list-directed) record reader of the input data file and the scratch files.
//
// A record starts on a fresh line. Items are separated by blanks, commas or tabs (blanks around a comma
// belong to the separator); a record runs over as many lines as its items need and whatever is left on
// its last line is ignored. Items:
//   numbers     integers, or reals in any decimal or exponent form (E, e, D or d exponent letter);
//               a real where an integer is due is an error, an integer where a real is due is fine
//   texts       one word, or a text in apostrophes or double quotes (a doubled quote stands for itself;
//               a quoted text may hold blanks, commas and slashes)
//   r*value     r copies of the value;  r*  r empty values
//   empty value two commas with nothing between them (or a comma first on the record): the target keeps
//               its previous value
//   /           ends the record: the target and every later target of the record keep their values
// Reading goes straight into the destination, so targets that an empty value or a slash skips keep
// whatever they held. Lines may end in CR LF.
//
// Every failure (malformed number, real for an integer, end of file inside a record) throws InputError,
// which names the section heading, the line number and the offending text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kaldo::io {

// Where the reader takes its lines from: the input data file's unit, or a string in tests.
class LineSource {
public:
    virtual ~LineSource() = default;
    // Next line without its line end; false at the end of the file.
    virtual bool nextLine(std::string& line) = 0;
    // 1-based number of the line last returned (0 before the first).
    virtual long lineNumber() const = 0;
};

// A fault in the input file. kind tells the status code the run ends with.
struct InputError : std::runtime_error {
    enum Kind { Malformed, RealForInteger, EarlyEnd, Capacity, Index, BadValue };
    Kind kind;
    std::string section;  // heading of the section being read (as in the file, trailing blanks cut)
    long line;            // 1-based line number in the file, 0 when not known
    std::string text;     // the offending text or value
    InputError(Kind k, std::string sect, long ln, std::string txt, const std::string& what);
};

// What one record took from the file, told to an observer when the record ends: the lines its items
// came from, how many items it took and how many of them stood on its first line, what was left on its
// last line, and the first place where two numbers stood joined by a bare comma ("105,0"), which a
// decimal comma would also give.
struct RecordTrace {
    long firstLine = 0, lastLine = 0;
    int items = 0;             // items taken, empty values included
    int itemsOnFirstLine = 0;  // of these, how many stood on the first line
    std::string leftover;      // the rest of the last line, blanks and commas trimmed ("" when none)
    int leftoverValues = 0;    // the values in it
    std::string joined;        // e.g. "105,0"; empty when the record met none
    long joinedLine = 0;
};

// Receives the trace of each record that took at least one item. Called from the record's end, which
// may be a destructor: it must not throw.
class RecordObserver {
public:
    virtual ~RecordObserver() = default;
    virtual void recordEnded(const RecordTrace& trace) noexcept = 0;
};

// One free-form record. Items are read with >> in order; the record ends when the object is finished
// (finish() or destruction), which skips the rest of the last line read. A record of which no item was
// read consumes no line: use skipRecord() for a record that is read past.
class ListRecord {
public:
    ListRecord(LineSource& src, std::string_view section, RecordObserver* observer = nullptr);
    ~ListRecord();
    ListRecord(const ListRecord&) = delete;
    ListRecord& operator=(const ListRecord&) = delete;

    ListRecord& operator>>(int& v);
    ListRecord& operator>>(double& v);
    // A text item: a word or a quoted text, without its quotes.
    ListRecord& operator>>(std::string& v);
    // Reads one item and drops it (an item "read and not kept").
    ListRecord& skip(int n = 1);

    // True once a slash has ended the record.
    bool ended() const;
    // Ends the record: the rest of the current line is skipped.
    void finish();

private:
    struct Item;  // one item as met in the file: a value, an empty value, or the end of the record
    Item nextItem();
    Item scanItem();
    void takeLine();
    // Notes an item taken from the current line, and a comma joining two numbers at position at.
    void noteItem();
    void noteComma(size_t at);
    void tellObserver();

    LineSource& src_;
    std::string section_;
    std::string line_;          // the current line, its CR cut
    size_t pos_ = 0;            // next character of the current line
    bool commaFree_ = false;    // the last item's separator has not taken its comma yet
    bool ended_ = false;        // a slash ended the record
    bool finished_ = false;     // finish() was called
    int repeatLeft_ = 0;        // copies of an r*value or r* still to hand out
    bool repeatNull_ = false;   // the repeat is r* (empty values)
    size_t repeatItem_ = 0, repeatItemLen_ = 0;    // the whole r*value item in line_
    size_t repeatValue_ = 0, repeatValueLen_ = 0;  // its value part in line_
    RecordObserver* observer_ = nullptr;
    int uncaught_ = 0;  // exceptions in flight when the record started
    RecordTrace trace_;
};

// Reads past one record: one line is consumed. An end of file throws InputError (EarlyEnd).
void skipRecord(LineSource& src, std::string_view section);

// Reads one line as fixed text of n characters: a longer line is cut, a shorter one padded with blanks.
// An end of file throws InputError (EarlyEnd).
std::string readFixedText(LineSource& src, int n, std::string_view section);

// A LineSource over a string, for tests and for scratch lines held in memory.
class StringSource : public LineSource {
public:
    explicit StringSource(std::string text);
    bool nextLine(std::string& line) override;
    long lineNumber() const override { return line_; }

private:
    std::string text_;
    size_t pos_ = 0;
    long line_ = 0;
};

}  // namespace kaldo::io
