// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/visit.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zenbalo {

// 64-bit FNV-1a, going on from `hash`.
inline constexpr uint64_t kHashStart = 0xcbf29ce484222325u;
uint64_t hashBytes(std::string_view bytes, uint64_t hash = kHashStart);

// A record read back from bunseki.txt: the visit it describes (without id
// and theory) and a hash of its texts. The hash stays the same whatever line
// ends, encoding (Shift_JIS or UTF-8) or blanks around the values the file
// uses, so a file an editor saved again reads as the same records.
struct FileRecord {
    Visit visit;
    uint64_t hash = 0;
};

// How far a reading of bunseki.txt has come: what lies before `offset` reads
// the same whatever is appended later, so a reading of the grown file can go
// on from here. The counts are those of the text before `offset`.
struct ReadPosition {
    uint64_t offset = 0;
    uint64_t records = 0;
    uint64_t skipped = 0;   // pieces of text that are no record
    bool inSkipped = false; // such a piece reaches up to `offset`

    bool operator==(const ReadPosition &) const = default;
};

// Reads the records of bunseki.txt from its bytes, given piece by piece so
// that a file of any size takes little memory. A record is the 14 lines the
// analysis window writes, also with LF line ends, in UTF-8, with its empty
// last line missing, or glued to the torn end of an interrupted save. Blank
// lines between records are nothing; every other run of text between records
// is one skipped piece.
class RecordReader {
public:
    using Sink = std::function<void(const FileRecord &)>;

    // `datePattern` is the short-date pattern the dates were written in.
    RecordReader(std::string datePattern, Sink sink, ReadPosition from = {});

    void feed(std::string_view bytes);
    // `count` zero bytes, a hole of a sparse file, without touching them.
    void feedZeros(uint64_t count);
    // The end of the file: what still waits for lines is a skipped piece,
    // unless it is a record that lacks only its last line end.
    void finish();

    // Where a reading of the file, grown by appends, goes on.
    ReadPosition settled() const;
    // Records and skipped pieces of the file so far; after finish, of all of it.
    uint64_t records() const { return records_; }
    uint64_t skipped() const { return skipped_; }

private:
    struct Line {
        std::string bytes;   // without its line end
        uint64_t offset = 0; // where it starts in the file
        size_t dateAt = 0;   // where a record's date line starts in it
        bool startsRecord = false;
    };

    void append(std::string_view piece);
    void endLine(bool atEnd);
    void drain(bool atEnd);
    void becomeOverlong();
    void skipLine(std::string_view bytes);
    void noteSkipped();

    std::string datePattern_;
    // Shift_JIS texts decoded before: the same few names come again and
    // again, and a converter costs more than the text.
    std::unordered_map<std::string, std::string> decoded_;
    Sink sink_;
    std::deque<Line> pending_; // lines that may still begin a record
    std::string current_;      // the line being read, or an over-long line's last bytes
    uint64_t currentOffset_ = 0;
    bool overlong_ = false;
    uint64_t offset_ = 0;
    uint64_t records_ = 0;
    uint64_t skipped_ = 0;
    bool inSkipped_ = false;
    bool finished_ = false;
    ReadPosition final_;
};

// The records of a whole text, for a text known to be small.
struct RecordScan {
    std::vector<FileRecord> records;
    uint64_t skipped = 0;
};
RecordScan readRecords(std::string_view bytes, std::string_view datePattern);

} // namespace zenbalo
