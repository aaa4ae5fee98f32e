#include "book/book_file.h"

#include "platform/data_files.h"
#include "platform/engine_reporter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvid {

namespace {

// Records pass through a buffer of this many at a time.
constexpr int RecordsPerChunk = 4096;

void encodeRecord(unsigned char* out, uint64_t key, int16_t value) {
    for (int i = 0; i < 8; ++i) out[i] = (unsigned char)(key >> (8 * i));
    uint16_t bits = uint16_t(value);
    out[8] = (unsigned char)(bits & 0xFF);
    out[9] = (unsigned char)(bits >> 8);
}

void decodeRecord(const unsigned char* in, uint64_t& key, int16_t& value) {
    key = 0;
    for (int i = 0; i < 8; ++i) key |= uint64_t(in[i]) << (8 * i);
    value = int16_t(uint16_t(in[8] | (in[9] << 8)));
}

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool isRegularFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Whether the entry goes to the file, after the threshold rule has been applied to it.
bool savedValue(int value, int threshold, int16_t& saved) {
    saved = int16_t(value >= BookCounterBase + threshold ? 0 : value);
    return saved < BookCounterBase;
}

bool writeAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// A fresh file next to the target, so that the final rename stays on one file system.
int createTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(attempt);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

BookLoadResult BookLoad(OpeningBook& book, const std::string& fileName) {
    BookLoadResult result;
    std::string path = findDataFile(fileName);
    std::FILE* file = isRegularFile(path) ? std::fopen(path.c_str(), "rb") : nullptr;
    if (!file) {
        reporter().messageBox(fileName.c_str(), "Error Loading Opening Book");
        return result;
    }
    result.opened = true;
    bool full = false;
    std::vector<unsigned char> buffer(size_t(RecordsPerChunk) * BookRecordSize);
    size_t carried = 0; // bytes of a record split between two reads
    for (;;) {
        size_t n = std::fread(buffer.data() + carried, 1, buffer.size() - carried, file);
        if (n == 0) break;
        size_t available = carried + n;
        size_t whole = available / BookRecordSize;
        for (size_t i = 0; i < whole; ++i) {
            uint64_t key;
            int16_t value;
            decodeRecord(buffer.data() + i * BookRecordSize, key, value);
            ++result.records;
            BookAddResult added = BookAddQuiet(book, key, value);
            if (added == BookAddResult::Added || added == BookAddResult::Updated) ++result.stored;
            full |= added == BookAddResult::Full;
        }
        carried = available - whole * BookRecordSize;
        std::copy_n(buffer.data() + whole * BookRecordSize, carried, buffer.data());
    }
    std::fclose(file);
    if (full) reporter().statusText("Book Full!");
    char text[64];
    std::snprintf(text, sizeof text, "%d Positions Loaded", result.records);
    reporter().statusText(text);
    return result;
}

int BookSave(OpeningBook& book, int threshold, const std::string& fileName) {
    std::string path = withSlashes(fileName);
    std::string temporary;
    int fd = path.empty() ? -1 : createTemporary(path, temporary);
    bool ok = fd >= 0;
    int written = 0;
    std::vector<unsigned char> buffer;
    buffer.reserve(size_t(RecordsPerChunk) * BookRecordSize);
    auto flush = [&] {
        if (ok && !buffer.empty()) ok = writeAll(fd, buffer.data(), buffer.size());
        buffer.clear();
    };
    if (ok) {
        ForEachBookEntry(book, [&](BookEntry& entry) {
            int16_t value;
            if (!savedValue(entry.value, threshold, value)) return;
            unsigned char record[BookRecordSize];
            encodeRecord(record, entry.key, value);
            buffer.insert(buffer.end(), record, record + BookRecordSize);
            ++written;
            if (buffer.size() >= size_t(RecordsPerChunk) * BookRecordSize) flush();
        });
        flush();
        ok = ok && ::fsync(fd) == 0;
    }
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        if (fd >= 0) std::remove(temporary.c_str());
        reporter().messageBox(fileName.c_str(), "Error Saving Opening Book");
        return -1;
    }
    // Only now that the file holds them do the frequent counters become plain values.
    ForEachBookEntry(book, [&](BookEntry& entry) {
        if (entry.value >= BookCounterBase + threshold) entry.value = 0;
    });
    char text[64];
    std::snprintf(text, sizeof text, "%d Positions Saved", written);
    reporter().statusText(text);
    return written;
}

void BookKeepFrequent(OpeningBook& book, int threshold) {
    auto kept = std::make_unique<OpeningBook>();
    ForEachBookEntry(book, [&](BookEntry& entry) {
        int16_t value;
        if (savedValue(entry.value, threshold, value)) BookAddQuiet(*kept, entry.key, value);
    });
    std::swap(book.table, kept->table);
    std::swap(book.pool, kept->pool);
    book.poolUsed = kept->poolUsed;
    book.positions = kept->positions;
}

void InitOpeningBook(const std::string& bookPath) {
    OpeningBook& book = currentBook();
    BookNew(book);
    BookLoad(book, bookPath);
}

} // namespace corvid
