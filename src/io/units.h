// Numbered sequential files: the unit table through which every report, scratch and data file is
// written and read.
//
// A unit is bound to a path by open() and keeps it until close(). Files are sequential: reading and
// writing go forward from the beginning, rewind() goes back to the start, backspace() one record back.
// Writing a record ends the file there: whatever followed the current position is discarded (so a file
// that is reopened and written anew never keeps a tail of its old contents). Text lines are written
// through line() (one whole line) or part() (a piece of the current line, which stays open for the
// writes that follow); unformatted records carry a 4-byte little-endian length before and after their
// bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "io/format.h"
#include "io/listread.h"

namespace kaldo::io {

enum class Mode {
    Read,       // an existing file, read only; a missing file is an error and is never created
    ReadCreate, // create-or-open for reading: a missing file is created empty
    Write,      // create-or-open, emptied at the open
    Update,     // create-or-open at its beginning, contents kept until the first write ends the file there
    Overwrite,  // create-or-open, written over from its beginning and cut at the end of the text at close
};

// Text files hold lines; unformatted files hold length-framed binary records.
enum class Form { Text, Unformatted };

class Unit;

// Writes one piece of text to a unit's current line; ends the line when it goes out of scope when
// made by Unit::line().
class LineOut {
public:
    LineOut(Unit& u, bool endAtClose) : u_(&u), end_(endAtClose) {}
    LineOut(const LineOut&) = delete;
    LineOut(LineOut&& o) noexcept : u_(o.u_), end_(o.end_) { o.u_ = nullptr; }
    ~LineOut();

    LineOut& operator<<(std::string_view s);
    LineOut& operator<<(const char* s) { return *this << std::string_view(s); }
    LineOut& operator<<(const std::string& s) { return *this << std::string_view(s); }
    // A field descriptor of format.h, written straight into the unit's line.
    template <class Field>
        requires requires(std::string& out, const Field& f) { renderTo(out, f); }
    LineOut& operator<<(const Field& f);

private:
    Unit* u_;
    bool end_;
};

// A free-form line: one blank, then the items; texts as they stand, numbers in compact form, two
// numbers in a row parted by one blank; with no items, an empty line. The line ends when the object
// goes out of scope.
class FreeLine {
public:
    explicit FreeLine(Unit& u);
    FreeLine(const FreeLine&) = delete;
    ~FreeLine();
    FreeLine& operator<<(std::string_view s);
    FreeLine& operator<<(const char* s) { return *this << std::string_view(s); }
    FreeLine& operator<<(const std::string& s) { return *this << std::string_view(s); }
    FreeLine& operator<<(int v);
    FreeLine& operator<<(long long v);
    FreeLine& operator<<(double v);

private:
    Unit* u_;
    std::string text_;
    bool lastNumber_ = false;
};

class Unit : public LineSource {
public:
    explicit Unit(int number);
    ~Unit() override;
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    int number() const { return number_; }
    const std::string& path() const { return path_; }
    bool isOpen() const { return fp_ != nullptr || memory_ != nullptr; }

    // Binds the unit to a path (closing it first when it is open). Returns false when the file cannot be
    // opened; the unit then stays closed. buffered gives the unit a large output buffer; one that is
    // opened for writing then writes behind: what is written goes to the file on a thread of the unit's own in
    // large pieces while the caller goes on, and every other use of the file (reading, positioning,
    // flushing, closing) first waits for those writes to land.
    bool open(const std::string& path, Mode mode, Form form = Form::Text, bool buffered = false);
    void close();
    // Waits until everything written so far is in the file (a unit that writes behind; for any other
    // a no-op), and takes over a failure of those writes as the unit's own.
    void settle();
    void rewind();
    // Back to the start of the record before the current position (text line or unformatted record).
    void backspace();
    // Pushes written text to the file so that another process sees it at once.
    void flush();
    // True when a write to the unit failed since it was opened.
    bool writeFailed() const { return writeFailed_; }
    // The byte offset up to which the file holds what was written (pending text pushed out first).
    long position();
    // Goes to byte offset pos (one that position() gave); the next write ends the file there first.
    void seekTo(long pos);

    // Text output.
    LineOut line() { return LineOut(*this, true); }  // one line, ended at the end of the statement
    LineOut part() { return LineOut(*this, false); } // continues the current line, leaves it open
    FreeLine free() { return FreeLine(*this); }
    void put(std::string_view s);                     // appends to the current line
    template <class Field>
    void putField(const Field& f) {  // appends a field of format.h to the current line
        renderTo(pending_, f);
        hasPending_ = true;
    }
    void endLine();                                   // ends the current line (an empty one when none)
    void blankLines(int n);

    // Text input: the next line without its line end (CR LF or LF); false at the end of the file.
    bool nextLine(std::string& line) override;
    long lineNumber() const override { return lineNo_; }
    // The rest of the file, from the current position to its end, in one piece (lines and their ends as
    // they stand); the line count goes on by the lines it holds. False when the unit is not open.
    bool readRest(std::string& text);

    // Unformatted records.
    void writeRecord(const void* data, uint32_t bytes);

    // Writes into sink instead of a file (a unit of a Capture): every line and record appended to it.
    void writeInto(std::string* sink);
    // The text of another unit's writes (sink bytes, then the line that unit left open) as if they had
    // been written here: an open line here continues with the first line of the text.
    void putWritten(const std::string& bytes, bool leftOpen, const std::string& openLine);
    // The line left open, and whether there is one (a Capture's units at their end).
    bool hasOpenLine() const { return hasPending_; }
    const std::string& openLine() const { return pending_; }
    // Reads the next record into bytes; false at the end of the file or on a damaged record.
    bool readRecord(std::vector<unsigned char>& bytes);

private:
    struct Behind;
    void prepareWrite();
    void prepareRead();
    void handOff();
    void writeBytes(const void* data, size_t n);
    void noteWriteFailure(int error);
    long previousRecordStart(long pos);

    int number_;
    std::FILE* fp_ = nullptr;
    std::string* memory_ = nullptr;  // a Capture's unit writes here
    bool borrowed_ = false;   // the standard error stream: never closed here
    Form form_ = Form::Text;
    std::string path_;
    std::string pending_;     // the open line that later writes continue
    bool hasPending_ = false;
    bool tailCut_ = false;    // the file already ends at the current position
    bool cutAtClose_ = false; // the file is cut at the current position when it is closed (Overwrite)
    bool lastWasWrite_ = false;
    bool writeFailed_ = false;
    long long bytesWritten_ = 0;  // since the open, for an injected failure
    long lineNo_ = 0;
    // The large output buffer of a buffered unit; left unwritten when made, so that only the part a
    // run's output reaches is ever touched.
    std::unique_ptr<char[]> buffer_;
    char* readBuf_ = nullptr;  // nextLine's read buffer (getdelim's, freed with the unit)
    size_t readCap_ = 0;
    // A unit that writes behind: its writing thread and queue, and the piece being filled here.
    std::unique_ptr<Behind> behind_;
    std::string chunk_;
};

template <class Field>
    requires requires(std::string& out, const Field& f) { renderTo(out, f); }
LineOut& LineOut::operator<<(const Field& f) {
    if (u_) u_->putField(f);
    return *this;
}

// Builds an unformatted record item by item: 32-bit integers and 64-bit reals, little-endian.
class Record {
public:
    Record& operator<<(int32_t v);
    Record& operator<<(double v);
    const std::vector<unsigned char>& bytes() const { return bytes_; }
    void writeTo(Unit& u) const { u.writeRecord(bytes_.data(), static_cast<uint32_t>(bytes_.size())); }

private:
    std::vector<unsigned char> bytes_;
};

// Reads the items of an unformatted record back in order.
class RecordReader {
public:
    explicit RecordReader(const std::vector<unsigned char>& bytes) : b_(bytes) {}
    bool get(int32_t& v);
    bool get(double& v);

private:
    const std::vector<unsigned char>& b_;
    size_t pos_ = 0;
};

// The first failed write, flush or close of a file of the run since the last clearWriteFailure()
// (unit 0, the standard error stream, does not count): its unit, path and the system's reason. A full
// disk or a file that cannot take more leaves its mark here for the run to end on. The units that
// write behind are settled first, so every write made before the call counts.
struct WriteFailure {
    bool any = false;
    int unit = 0;
    std::string path;
    std::string reason;
};
WriteFailure firstWriteFailure();
void clearWriteFailure();

// For tests of a full disk: every unit bound to a path that ends with pathEnd takes bytes written
// after its open up to limit, then fails every write as a full disk does (part of a record may be
// written). An empty pathEnd ends the injection.
void injectWriteFailure(const std::string& pathEnd, long long limit);

// The unit table: units 0 to 99. Unit 0 writes to the standard error stream.
Unit& unit(int n);
// Closes every open unit (end of a run, or a run that ended abnormally).
void closeAllUnits();

// Writing on several threads in a set order. While a Capture lives on a thread, unit(n) on that thread
// gives the capture's own unit n, which keeps in memory what is written to it; finish() hands over the
// texts, and replay() writes them to the real units later, on one thread, in whatever order the output
// must have. The bytes are those the real units would have received directly.
class Capture {
public:
    struct Text {
        int unit = 0;
        std::string bytes;       // complete lines and records
        bool leftOpen = false;   // a line was left open at the end
        std::string openLine;
    };
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    // Ends the capture: what each unit received, units in the order first written to.
    std::vector<Text> finish();

private:
    bool active_ = true;
};
void replay(const std::vector<Capture::Text>& texts);

}  // namespace kaldo::io
