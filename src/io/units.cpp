#include "io/units.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <memory>
#include <stdexcept>
#include <thread>

namespace kaldo::io {

namespace {

constexpr size_t kBigBuffer = size_t(1) << 20;
// A unit that writes behind hands over its text in pieces of about kBigBuffer bytes; at most
// kQueueLimit bytes wait for its thread (the writer of more waits for room), and every written piece
// comes back to be filled again: no more pieces are ever made than the queue holds, and their pages
// stay with the unit until it closes instead of being handed back and faulted in again piece by piece.
constexpr size_t kQueueLimit = size_t(64) << 20;
constexpr size_t kSpares = kQueueLimit / kBigBuffer + 2;

// The run's first write failure and the injected one; units of several threads may fail at once.
std::mutex g_failMutex;
WriteFailure g_firstFailure;
std::string g_injectEnd;
long long g_injectLimit = 0;
std::atomic<bool> g_injecting{false};

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

void putLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t getLE32(const unsigned char* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

}  // namespace

// ---- writing behind ----------------------------------------------------------------------------

// The writing thread of a unit that writes behind: it writes the queued texts to the file in order and
// keeps the first failure for the unit to take over when it settles. The unit touches the file itself
// only while the queue is empty and the thread idle.
struct Unit::Behind {
    std::FILE* fp;
    std::mutex m;
    std::condition_variable wake;  // a text queued, or the end
    std::condition_variable idle;  // a text written: room in the queue, or nothing left
    std::deque<std::string> queue;
    std::vector<std::string> spares;  // written pieces, emptied, for the unit to fill again
    size_t queued = 0;  // bytes in the queue
    bool writing = false;
    bool stop = false;
    int error = 0;  // the system's reason of the first failed write since the last settle
    std::thread worker;
    std::thread dropper;  // closes the old file of the name, when there was one

    // emptyFirst: the thread empties the file before it writes anything (the open left it as it was).
    // dropFd (or -1): the old file of the same name, already removed from its folder, which a second
    // thread closes while the first writes: the system hands back its pages and blocks there, neither
    // in the open nor ahead of the writes (which would pile up meanwhile, each piece in fresh memory).
    Behind(std::FILE* f, bool emptyFirst, int dropFd)
        : fp(f), writing(emptyFirst), worker([this, emptyFirst] { run(emptyFirst); }) {
        if (dropFd >= 0) dropper = std::thread([dropFd] { ::close(dropFd); });
    }
    ~Behind() {
        {
            std::lock_guard<std::mutex> lock(m);
            stop = true;
        }
        wake.notify_one();
        worker.join();
        if (dropper.joinable()) dropper.join();
    }

    void run(bool emptyFirst) {
        std::unique_lock<std::mutex> lock(m);
        if (emptyFirst) {
            lock.unlock();
            const int failed = ftruncate(fileno(fp), 0) != 0 ? errno : 0;
            lock.lock();
            if (failed && !error) error = failed;
            writing = false;
            idle.notify_all();
        }
        for (;;) {
            wake.wait(lock, [this] { return stop || !queue.empty(); });
            if (queue.empty()) return;
            std::string text = std::move(queue.front());
            queue.pop_front();
            writing = true;
            lock.unlock();
            int failed = 0;
            if (std::fwrite(text.data(), 1, text.size(), fp) != text.size()) failed = errno ? errno : EIO;
            const size_t n = text.size();
            text.clear();
            lock.lock();
            if (spares.size() < kSpares && text.capacity() <= 2 * kBigBuffer) spares.push_back(std::move(text));
            if (failed && !error) error = failed;
            queued -= n;
            writing = false;
            idle.notify_all();
        }
    }

    // Queues text and hands back a piece to fill next (a written one when there is one).
    void push(std::string& text) {
        std::unique_lock<std::mutex> lock(m);
        idle.wait(lock, [this] { return queued < kQueueLimit; });
        queued += text.size();
        queue.push_back(std::move(text));
        wake.notify_one();
        text = std::string();
        if (!spares.empty()) {
            text = std::move(spares.back());
            spares.pop_back();
        }
    }

    // Waits for the queue to run empty; returns the failure kept since the last call (0: none).
    int settle() {
        std::unique_lock<std::mutex> lock(m);
        idle.wait(lock, [this] { return queue.empty() && !writing; });
        const int e = error;
        error = 0;
        return e;
    }
};

void Unit::handOff() {
    if (!chunk_.empty()) behind_->push(chunk_);
}

void Unit::settle() {
    if (!behind_) return;
    handOff();
    if (const int e = behind_->settle()) noteWriteFailure(e);
}

// ---- line writers -----------------------------------------------------------------------------

LineOut::~LineOut() {
    if (u_ && end_) u_->endLine();
}

LineOut& LineOut::operator<<(std::string_view s) {
    if (u_) u_->put(s);
    return *this;
}

// A free-form line with no items is an empty line; with items it starts with one blank.
FreeLine::FreeLine(Unit& u) : u_(&u) {}

FreeLine::~FreeLine() {
    u_->put(text_);
    u_->endLine();
}

FreeLine& FreeLine::operator<<(std::string_view s) {
    if (text_.empty()) text_ = " ";
    text_ += s;
    lastNumber_ = false;
    return *this;
}

FreeLine& FreeLine::operator<<(int v) { return *this << static_cast<long long>(v); }

FreeLine& FreeLine::operator<<(long long v) {
    if (text_.empty()) text_ = " ";
    if (lastNumber_) text_ += ' ';
    text_ += freeInt(v);
    lastNumber_ = true;
    return *this;
}

FreeLine& FreeLine::operator<<(double v) {
    if (text_.empty()) text_ = " ";
    if (lastNumber_) text_ += ' ';
    text_ += freeReal(v);
    lastNumber_ = true;
    return *this;
}

// ---- units ------------------------------------------------------------------------------------

Unit::Unit(int number) : number_(number) {
    if (number == 0) {
        fp_ = stderr;
        borrowed_ = true;
        tailCut_ = true;
        lastWasWrite_ = true;
    }
}

Unit::~Unit() {
    if (!borrowed_) close();
    std::free(readBuf_);
}

bool Unit::open(const std::string& path, Mode mode, Form form, bool buffered) {
    if (borrowed_) return false;
    close();
    std::FILE* fp = nullptr;
    bool emptyLater = false;
    int dropFd = -1;
    switch (mode) {
        case Mode::Read:
            fp = std::fopen(path.c_str(), "rb");
            break;
        case Mode::ReadCreate:
            fp = std::fopen(path.c_str(), "rb");
            if (!fp) {
                if (std::FILE* made = std::fopen(path.c_str(), "ab")) {
                    std::fclose(made);
                    fp = std::fopen(path.c_str(), "rb");
                }
            }
            break;
        case Mode::Write:
            // A unit that writes behind leaves the dropping of an existing file's contents to its thread:
            // handing back the pages and blocks of a large old report takes a while, and the run need not
            // wait for it. A plain file of that name (one name, not a link) is replaced by a new file
            // with the same permissions, the old one held open for the thread to close: emptied in
            // place, the file would also be written out to the disk in full when it is closed (the file
            // system does so for a file emptied and written again), which the run would wait for. Any
            // other existing file is emptied in place by the thread.
            if (buffered) {
                struct stat st {};
                // Only a file this run may write: a report made read-only still refuses the run.
                if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_size > 0 &&
                    ::access(path.c_str(), W_OK) == 0) {
                    const int old = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
                    if (old >= 0 && ::unlink(path.c_str()) == 0) {
                        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
                        if (fd >= 0) {
                            (void)fchmod(fd, st.st_mode & 07777);  // the mode as it was, whatever the umask
                            fp = fdopen(fd, "w+b");
                            if (!fp) ::close(fd);
                        }
                        dropFd = old;
                    } else if (old >= 0) {
                        ::close(old);
                    }
                }
                if (!fp && dropFd < 0) {
                    fp = std::fopen(path.c_str(), "r+b");
                    // Only a regular file with contents has any to drop (a device ignores the emptying).
                    emptyLater = fp != nullptr && fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
                }
            }
            if (!fp) fp = std::fopen(path.c_str(), "w+b");
            break;
        case Mode::Update:
        case Mode::Overwrite:
            fp = std::fopen(path.c_str(), "r+b");
            if (!fp) fp = std::fopen(path.c_str(), "w+b");
            break;
    }
    if (!fp) {
        if (dropFd >= 0) ::close(dropFd);
        return false;
    }
    fp_ = fp;
    path_ = path;
    form_ = form;
    pending_.clear();
    hasPending_ = false;
    // An overwritten file is not emptied first: emptying a file that holds data makes the file system
    // write the new text out at the close (ext4 does, for files replaced by truncation), a fraction
    // of a millisecond each time, where the progress file is rewritten at every iteration.
    tailCut_ = (mode == Mode::Write || mode == Mode::Overwrite);
    cutAtClose_ = (mode == Mode::Overwrite);
    lastWasWrite_ = false;
    writeFailed_ = false;
    bytesWritten_ = 0;
    lineNo_ = 0;
    if (buffered) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kBigBuffer);
        std::setvbuf(fp_, buffer_.get(), _IOFBF, kBigBuffer);
        if (mode != Mode::Read) behind_ = std::make_unique<Behind>(fp_, emptyLater, dropFd);
        // A file opened for writing has not been read: its first write needs no positioning call, and
        // so need not wait for the thread to have emptied the file.
        if (mode == Mode::Write) lastWasWrite_ = true;
    }
    return true;
}

void Unit::close() {
    if (!fp_ || borrowed_) return;
    if (hasPending_) endLine();
    if (behind_) {
        settle();
        behind_.reset();
    }
    if (cutAtClose_) {
        // The old text past the new end goes; a file as long as before is left alone.
        cutAtClose_ = false;
        struct stat st {};
        const long pos = std::fflush(fp_) == 0 ? std::ftell(fp_) : -1;
        if (pos < 0)
            noteWriteFailure(errno);
        else if (fstat(fileno(fp_), &st) == 0 && st.st_size > pos && ftruncate(fileno(fp_), pos) != 0)
            noteWriteFailure(errno);
    }
    if (std::fclose(fp_) != 0) noteWriteFailure(errno);
    fp_ = nullptr;
    buffer_.reset();
    path_.clear();
}

void Unit::prepareWrite() {
    if (memory_) return;
    if (behind_ && (!lastWasWrite_ || !tailCut_)) settle();
    if (!lastWasWrite_) {
        std::fseek(fp_, 0, SEEK_CUR);  // stdio needs a positioning call between reading and writing
        lastWasWrite_ = true;
    }
    if (!tailCut_) {
        // A sequential file ends at the record written last: drop whatever followed this position.
        long pos = std::ftell(fp_);
        std::fflush(fp_);
        if (pos >= 0 && ftruncate(fileno(fp_), pos) != 0) noteWriteFailure(errno);
        tailCut_ = true;
    }
}

void Unit::prepareRead() {
    if (hasPending_) endLine();
    settle();
    if (lastWasWrite_) {
        std::fflush(fp_);
        std::fseek(fp_, 0, SEEK_CUR);
        lastWasWrite_ = false;
    }
}

void Unit::writeBytes(const void* data, size_t n) {
    if (!n) return;
    if (memory_) {
        memory_->append(static_cast<const char*>(data), n);
        return;
    }
    // An injected failure counts the bytes as they reach the file: the writes behind go first.
    const bool injecting = g_injecting.load(std::memory_order_relaxed);
    if (behind_ && !injecting) {
        if (!chunk_.empty() && chunk_.size() + n > kBigBuffer) handOff();
        if (chunk_.capacity() < kBigBuffer) chunk_.reserve(kBigBuffer);
        chunk_.append(static_cast<const char*>(data), n);
        bytesWritten_ += static_cast<long long>(n);
        if (chunk_.size() >= kBigBuffer) handOff();
        return;
    }
    settle();
    if (injecting) {
        std::lock_guard<std::mutex> lock(g_failMutex);
        if (!g_injectEnd.empty() && endsWith(path_, g_injectEnd) && bytesWritten_ + (long long)n > g_injectLimit) {
            const long long room = g_injectLimit > bytesWritten_ ? g_injectLimit - bytesWritten_ : 0;
            if (room > 0) std::fwrite(data, 1, static_cast<size_t>(room), fp_);
            bytesWritten_ += room;
            std::fflush(fp_);
            writeFailed_ = true;
            if (!g_firstFailure.any && number_ != 0)
                g_firstFailure = {true, number_, path_, std::strerror(ENOSPC)};
            return;
        }
    }
    if (std::fwrite(data, 1, n, fp_) != n)
        noteWriteFailure(errno);
    else
        bytesWritten_ += static_cast<long long>(n);
}

void Unit::noteWriteFailure(int error) {
    writeFailed_ = true;
    if (borrowed_) return;
    std::lock_guard<std::mutex> lock(g_failMutex);
    if (!g_firstFailure.any) g_firstFailure = {true, number_, path_, std::strerror(error ? error : EIO)};
}

long Unit::position() {
    if (!fp_ || borrowed_) return 0;
    if (hasPending_) endLine();
    settle();
    if (lastWasWrite_ && std::fflush(fp_) != 0) noteWriteFailure(errno);
    return std::ftell(fp_);
}

void Unit::seekTo(long pos) {
    if (!fp_ || borrowed_) return;
    if (hasPending_) endLine();
    settle();
    std::fflush(fp_);
    std::fseek(fp_, pos, SEEK_SET);
    lastWasWrite_ = false;
    tailCut_ = false;
}

void Unit::put(std::string_view s) {
    pending_.append(s);
    hasPending_ = true;
}

void Unit::endLine() {
    if (!fp_ && !memory_) {
        pending_.clear();
        hasPending_ = false;
        return;
    }
    prepareWrite();
    pending_.push_back('\n');
    writeBytes(pending_.data(), pending_.size());
    pending_.clear();
    hasPending_ = false;
}

void Unit::blankLines(int n) {
    for (int i = 0; i < n; ++i) endLine();
}

void Unit::flush() {
    settle();
    if (fp_ && lastWasWrite_ && std::fflush(fp_) != 0) noteWriteFailure(errno);
}

void Unit::rewind() {
    if (!fp_ || borrowed_) return;
    if (hasPending_) endLine();
    settle();
    std::fflush(fp_);
    std::fseek(fp_, 0, SEEK_SET);
    lastWasWrite_ = false;
    tailCut_ = false;
    lineNo_ = 0;
}

long Unit::previousRecordStart(long pos) {
    if (form_ == Form::Unformatted) {
        if (pos < 8) return 0;
        unsigned char tail[4];
        std::fseek(fp_, pos - 4, SEEK_SET);
        if (std::fread(tail, 1, 4, fp_) != 4) return 0;
        long start = pos - 8 - static_cast<long>(getLE32(tail));
        return start < 0 ? 0 : start;
    }
    // Text: the byte before pos ends the previous line; its start follows the line end before it.
    long scan = pos - 1;
    char chunk[4096];
    while (scan > 0) {
        long from = scan - static_cast<long>(sizeof chunk);
        if (from < 0) from = 0;
        size_t len = static_cast<size_t>(scan - from);
        std::fseek(fp_, from, SEEK_SET);
        if (std::fread(chunk, 1, len, fp_) != len) return 0;
        for (size_t i = len; i-- > 0;) {
            if (chunk[i] == '\n') return from + static_cast<long>(i) + 1;
        }
        scan = from;
    }
    return 0;
}

void Unit::backspace() {
    if (!fp_ || borrowed_) return;
    if (hasPending_) endLine();
    settle();
    std::fflush(fp_);
    long pos = std::ftell(fp_);
    if (pos <= 0) return;
    long start = previousRecordStart(pos);
    std::fseek(fp_, start, SEEK_SET);
    lastWasWrite_ = false;
    tailCut_ = false;
    if (lineNo_ > 0) --lineNo_;
}

bool Unit::nextLine(std::string& line) {
    line.clear();
    if (!fp_ || borrowed_) return false;
    prepareRead();
    // The line up to and with its LF in one read of the stream's buffer (getdelim keeps NUL bytes
    // and a last line without LF); the read buffer stays with the unit for the next line.
    const ssize_t n = getdelim(&readBuf_, &readCap_, '\n', fp_);
    if (n <= 0) return false;
    std::size_t len = static_cast<std::size_t>(n);
    if (readBuf_[len - 1] == '\n') --len;
    line.assign(readBuf_, len);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNo_;
    return true;
}

bool Unit::readRest(std::string& text) {
    text.clear();
    if (!fp_ || borrowed_) return false;
    prepareRead();
    // Sized once from what the file holds beyond the position; a file that grows meanwhile is read on.
    const long here = std::ftell(fp_);
    struct stat st {};
    std::size_t size = 0;
    if (here >= 0 && fstat(fileno(fp_), &st) == 0 && st.st_size > here)
        size = static_cast<std::size_t>(st.st_size - here);
    constexpr std::size_t kMore = std::size_t(1) << 16;
    text.reserve(size + kMore);  // the read that finds the end needs no larger piece
    std::size_t got = 0;
    for (;;) {
        text.resize(got + std::max(size - std::min(size, got), kMore));
        const std::size_t n = std::fread(text.data() + got, 1, text.size() - got, fp_);
        got += n;
        if (got < text.size()) break;
    }
    text.resize(got);
    // Line ends found by the library's memchr, many bytes at a step, rather than one byte at a time: the
    // summary tables read several megabytes back this way after every writer call.
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); at < end; ++at) {
        at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
        if (at == nullptr) break;
        ++lineNo_;
    }
    if (!text.empty() && text.back() != '\n') ++lineNo_;
    return true;
}

void Unit::writeRecord(const void* data, uint32_t bytes) {
    if (!fp_ && !memory_) return;
    if (hasPending_) endLine();
    prepareWrite();
    unsigned char mark[4];
    putLE32(mark, bytes);
    writeBytes(mark, 4);
    writeBytes(data, bytes);
    writeBytes(mark, 4);
}

bool Unit::readRecord(std::vector<unsigned char>& bytes) {
    bytes.clear();
    if (!fp_ || borrowed_) return false;
    prepareRead();
    unsigned char mark[4];
    if (std::fread(mark, 1, 4, fp_) != 4) return false;
    uint32_t len = getLE32(mark);
    bytes.resize(len);
    if (len && std::fread(bytes.data(), 1, len, fp_) != len) return false;
    if (std::fread(mark, 1, 4, fp_) != 4 || getLE32(mark) != len) return false;
    return true;
}

void Unit::writeInto(std::string* sink) {
    memory_ = sink;
    pending_.clear();
    hasPending_ = false;
    tailCut_ = true;
    lastWasWrite_ = true;
}

void Unit::putWritten(const std::string& bytes, bool leftOpen, const std::string& openLine) {
    std::size_t from = 0;
    if (hasPending_ && !bytes.empty()) {
        // The open line here takes the first line of the text.
        const std::size_t end = bytes.find('\n');
        pending_.append(bytes, 0, end == std::string::npos ? bytes.size() : end);
        if (end == std::string::npos) {
            from = bytes.size();
        } else {
            endLine();
            from = end + 1;
        }
    }
    if (from < bytes.size()) {
        if (fp_ || memory_) {
            prepareWrite();
            writeBytes(bytes.data() + from, bytes.size() - from);
        }
    }
    if (leftOpen) {
        pending_.append(openLine);
        hasPending_ = true;
    }
}

// ---- unformatted record items -----------------------------------------------------------------

Record& Record::operator<<(int32_t v) {
    unsigned char b[4];
    putLE32(b, static_cast<uint32_t>(v));
    bytes_.insert(bytes_.end(), b, b + 4);
    return *this;
}

Record& Record::operator<<(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    return *this;
}

bool RecordReader::get(int32_t& v) {
    if (pos_ + 4 > b_.size()) return false;
    v = static_cast<int32_t>(getLE32(&b_[pos_]));
    pos_ += 4;
    return true;
}

bool RecordReader::get(double& v) {
    if (pos_ + 8 > b_.size()) return false;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t(b_[pos_ + i]) << (8 * i);
    std::memcpy(&v, &bits, 8);
    pos_ += 8;
    return true;
}

// ---- the unit table ---------------------------------------------------------------------------

namespace {

struct UnitTable {
    std::array<std::unique_ptr<Unit>, 100> units;
    UnitTable() {
        for (int i = 0; i < 100; ++i) units[i] = std::make_unique<Unit>(i);
    }
};

UnitTable& table() {
    static UnitTable t;
    return t;
}

// The units of the capture running on this thread, made when first written to, and their texts.
struct CaptureUnits {
    std::array<std::unique_ptr<Unit>, 100> units;
    std::array<std::string, 100> sinks;
    std::vector<int> used;  // in order of first use
};
thread_local CaptureUnits* g_capture = nullptr;

CaptureUnits& threadCapture() {
    thread_local CaptureUnits c;
    return c;
}

}  // namespace

Unit& unit(int n) {
    if (n < 0 || n >= 100) throw std::out_of_range("unit number " + std::to_string(n) + " outside 0..99");
    if (g_capture != nullptr) {
        std::unique_ptr<Unit>& u = g_capture->units[static_cast<std::size_t>(n)];
        if (!u) u = std::make_unique<Unit>(n == 0 ? 100 : n);
        if (std::find(g_capture->used.begin(), g_capture->used.end(), n) == g_capture->used.end()) {
            g_capture->used.push_back(n);
            g_capture->sinks[static_cast<std::size_t>(n)].clear();
            u->writeInto(&g_capture->sinks[static_cast<std::size_t>(n)]);
        }
        return *u;
    }
    return *table().units[n];
}

Capture::Capture() {
    CaptureUnits& c = threadCapture();
    c.used.clear();
    g_capture = &c;
}

Capture::~Capture() {
    if (active_) g_capture = nullptr;
}

std::vector<Capture::Text> Capture::finish() {
    std::vector<Text> out;
    CaptureUnits& c = threadCapture();
    for (int n : c.used) {
        const std::size_t k = static_cast<std::size_t>(n);
        Unit& u = *c.units[k];
        out.push_back(Text{n, std::move(c.sinks[k]), u.hasOpenLine(), u.openLine()});
        c.sinks[k].clear();
        u.writeInto(&c.sinks[k]);
    }
    c.used.clear();
    g_capture = nullptr;
    active_ = false;
    return out;
}

void replay(const std::vector<Capture::Text>& texts) {
    for (const Capture::Text& t : texts) unit(t.unit).putWritten(t.bytes, t.leftOpen, t.openLine);
}


void closeAllUnits() {
    for (auto& u : table().units) u->close();
}

WriteFailure firstWriteFailure() {
    for (auto& u : table().units) u->settle();
    std::lock_guard<std::mutex> lock(g_failMutex);
    return g_firstFailure;
}

void clearWriteFailure() {
    std::lock_guard<std::mutex> lock(g_failMutex);
    g_firstFailure = WriteFailure{};
}

void injectWriteFailure(const std::string& pathEnd, long long limit) {
    std::lock_guard<std::mutex> lock(g_failMutex);
    g_injectEnd = pathEnd;
    g_injectLimit = limit;
    g_injecting.store(!pathEnd.empty());
}

}  // namespace kaldo::io
