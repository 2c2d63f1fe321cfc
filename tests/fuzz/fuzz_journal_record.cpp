// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of bunseki.txt on any bytes, whole and in pieces.
#include "common/text.h"
#include "fuzz/fuzz_support.h"
#include "journal/record_date.h"
#include "journal/record_reader.h"

using namespace zenbalo;
using zenbalo::fuzz::check;

namespace {

constexpr const char *kPatterns[] = {"yyyy/MM/dd", "M/d/yy", "dd.MM.yyyy", "yyyy'年'M'月'd'日'"};

struct Reading {
    std::vector<FileRecord> records;
    uint64_t skipped = 0;
    ReadPosition settled;
};

// Fed in pieces of `piece` bytes, a run of zero bytes as a hole.
Reading readInPieces(std::string_view bytes, const char *pattern, size_t piece) {
    Reading reading;
    RecordReader reader(pattern, [&reading](const FileRecord &r) { reading.records.push_back(r); });
    for (size_t at = 0; at < bytes.size();) {
        size_t zeros = 0;
        while (at + zeros < bytes.size() && bytes[at + zeros] == '\0')
            ++zeros;
        if (zeros > 0) {
            reader.feedZeros(zeros);
            at += zeros;
            continue;
        }
        const size_t end = std::min({bytes.size(), at + piece, bytes.find('\0', at)});
        reader.feed(bytes.substr(at, end - at));
        at = end;
    }
    reader.finish();
    reading.skipped = reader.skipped();
    reading.settled = reader.settled();
    return reading;
}

bool sameRecords(const std::vector<FileRecord> &a, const std::vector<FileRecord> &b) {
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (!(a[k].visit == b[k].visit) || a[k].hash != b[k].hash)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The whole input is the file, so that real files seed the corpus; its
    // size picks the pattern and the pieces.
    const std::string_view input = fuzz::bytesOf(data, size);
    const char *pattern = kPatterns[size % std::size(kPatterns)];
    const size_t piece = 1 + size / std::size(kPatterns) % 61;

    const RecordScan whole = readRecords(input, pattern);
    for (const FileRecord &r : whole.records) {
        const Visit &v = r.visit;
        check(isValidUtf8(v.parlour) && isValidUtf8(v.machine), "names are UTF-8");
        check(!v.date || isCalendarDay(*v.date), "a date is a day of the calendar");
        check(!v.date || parseIsoDate(isoDate(*v.date)) == v.date, "a date reads back");
        check(!v.theory, "a record holds no theory");
    }
    check(whole.records.size() + whole.skipped <= input.size() / 2 + 1, "every record or piece takes bytes");

    const Reading pieces = readInPieces(input, pattern, piece);
    check(sameRecords(pieces.records, whole.records), "pieces read as the whole");
    check(pieces.skipped == whole.skipped, "pieces skip as the whole");
    check(pieces.settled.offset <= input.size(), "settled within the file");
    check(pieces.settled.records == whole.records.size(), "every record read is settled");
    return 0;
}
