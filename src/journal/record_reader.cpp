// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/record_reader.h"

#include "common/number.h"
#include "common/sjis.h"
#include "common/text.h"
#include "journal/record_date.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace zenbalo {

namespace {

// The 14th line of a record is empty, and empty lines are skipped freely,
// so 13 lines decide whether a record begins.
constexpr size_t kRecordLines = 13;
// No line of a record the window writes comes near this; a longer line is
// kept only by its end, where a record glued to it may start.
constexpr size_t kMaxLine = size_t{1} << 20;
constexpr size_t kKeptEnd = 4096;
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kYenSign = "\u00A5";

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

// Where "*** date ***" starts in a line, also after the torn end of an
// interrupted save; npos when it holds none. "*" and " " are never part of
// a double-byte character, so the bytes can be searched as they are.
size_t dateLineStart(std::string_view line) {
    if (line.size() < 8 || !line.ends_with(" ***"))
        return std::string_view::npos;
    return line.rfind("*** ", line.size() - 8);
}

// "name(value" + suffix: the value from the last "(" on.
bool splitBracket(std::string_view line, std::string_view suffix, std::string_view &name, std::string_view &value) {
    if (!line.ends_with(suffix))
        return false;
    line.remove_suffix(suffix.size());
    const size_t open = line.rfind('(');
    if (open == std::string_view::npos)
        return false;
    name = line.substr(0, open);
    value = trimmed(line.substr(open + 1));
    return true;
}

// "label:   value" + suffix, blanks around the colon free.
bool labelled(std::string_view line, std::string_view label, std::string_view suffix, std::string_view &value) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || trimmed(line.substr(0, colon)) != label)
        return false;
    const std::string_view rest = trimmed(line.substr(colon + 1));
    if (!rest.ends_with(suffix))
        return false;
    value = trimmed(rest.substr(0, rest.size() - suffix.size()));
    return true;
}

std::optional<int64_t> wholeNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int64_t value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return negative ? -value : value;
}

std::optional<int64_t> yenAmount(std::string_view text) {
    if (!text.starts_with(kYenSign))
        return std::nullopt;
    return wholeNumber(text.substr(kYenSign.size()));
}

// A total as the analysis read it from its box.
std::optional<int32_t> total(std::string_view text) { return toInt32(leadingNumber(text)); }

struct Labelled {
    const char *label;
    const char *suffix;
};
// Lines 4 to 7 and 9 to 13 of a record.
constexpr std::array<Labelled, 9> kLabelledLines = {{
    {"総回転数", "回転"},
    {"総大当たり数", "回"},
    {"換金出玉数", "個"},
    {"投資金額", "円"},
    {"収支", "円"},
    {"仕事量", "円"},
    {"誤差", "回"},
    {"ツキ指数", "%"},
    {"回転率", "回転/千円"},
}};

// The fixed texts of a record as a file in one encoding holds them, so that
// only the player's texts need decoding. "(", ":", blanks and digits are
// single bytes in both, never part of a double-byte character.
struct Encoding {
    bool shiftJis = false;
    std::string yenBracket;  // "円)"
    std::string ballBracket; // "個)"
    std::array<std::string, kLabelledLines.size()> labels;
    std::array<std::string, kLabelledLines.size()> suffixes;
};

Encoding makeEncoding(bool shiftJis) {
    auto bytes = [shiftJis](const char *text) { return shiftJis ? encodeSjis(text).value_or("") : std::string(text); };
    Encoding e;
    e.shiftJis = shiftJis;
    e.yenBracket = bytes("円)");
    e.ballBracket = bytes("個)");
    for (size_t k = 0; k < kLabelledLines.size(); ++k) {
        e.labels[k] = bytes(kLabelledLines[k].label);
        e.suffixes[k] = bytes(kLabelledLines[k].suffix);
    }
    return e;
}

const Encoding &encoding(bool shiftJis) {
    static const Encoding sjis = makeEncoding(true), utf8 = makeEncoding(false);
    return shiftJis ? sjis : utf8;
}

// A text of the file in UTF-8, "\" read as the yen sign as in every file of
// the program; most texts of a record are ASCII and need no converter.
using Decoded = std::unordered_map<std::string, std::string>;
constexpr size_t kDecodedTexts = 4096;

bool decode(std::string_view bytes, bool shiftJis, Decoded &decoded, std::string &out) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii || !shiftJis) {
        if (!ascii && !isValidUtf8(bytes))
            return false;
        out.clear();
        for (size_t begin = 0; begin <= bytes.size();) {
            const size_t slash = std::min(bytes.find('\\', begin), bytes.size());
            out.append(bytes.substr(begin, slash - begin));
            if (slash < bytes.size())
                out.append(kYenSign);
            begin = slash + 1;
        }
        return true;
    }
    std::string key(bytes);
    if (const auto known = decoded.find(key); known != decoded.end()) {
        out = known->second;
        return true;
    }
    auto text = decodeSjis(bytes);
    if (!text)
        return false;
    if (decoded.size() < kDecodedTexts)
        decoded.emplace(std::move(key), *text);
    out = std::move(*text);
    return true;
}

// The 13 lines of a record as the file holds them, the first from its "***".
std::optional<FileRecord> interpret(const std::array<std::string_view, kRecordLines> &lines, const Encoding &e,
                                    Decoded &decoded, std::string_view datePattern) {
    std::array<std::string_view, 14> raw; // the player's texts, in line order
    raw[0] = trimmed(lines[0].substr(4, lines[0].size() - 8));
    if (!splitBracket(lines[1], e.yenBracket, raw[1], raw[2]) || !splitBracket(lines[2], e.ballBracket, raw[3], raw[4]))
        return std::nullopt;
    for (size_t k = 0; k < kLabelledLines.size(); ++k) {
        const size_t line = k < 4 ? 3 + k : 4 + k; // line 8 is empty
        if (!labelled(lines[line], e.labels[k], e.suffixes[k], raw[5 + k]))
            return std::nullopt;
    }
    if (!isBlank(lines[7]))
        return std::nullopt;
    std::array<std::string, 14> texts;
    for (size_t k = 0; k < texts.size(); ++k)
        if (!decode(raw[k], e.shiftJis, decoded, texts[k]))
            return std::nullopt;

    const auto payout = wholeNumber(texts[4]);
    const auto rotations = total(texts[5]), hits = total(texts[6]);
    const auto exchanged = total(texts[7]), invested = total(texts[8]);
    const auto real = yenAmount(texts[9]), work = yenAmount(texts[10]);
    if (!parseFileNumber(texts[2]) || !payout || *payout < std::numeric_limits<int32_t>::min() ||
        *payout > std::numeric_limits<int32_t>::max() || !rotations || !hits || !exchanged || !invested || !real ||
        !work)
        return std::nullopt;

    FileRecord record;
    uint64_t hash = kHashStart;
    for (const std::string &text : texts) {
        hash = hashBytes(text, hash);
        hash = hashBytes("\x1F", hash);
    }
    record.hash = hash;
    Visit &v = record.visit;
    v.date = readRecordDate(texts[0], datePattern);
    v.parlour = std::move(texts[1]);
    v.yenPerBall = std::move(texts[2]);
    v.machine = std::move(texts[3]);
    v.payout = static_cast<int32_t>(*payout);
    v.rotations = *rotations;
    v.hits = *hits;
    v.exchangedBalls = *exchanged;
    v.investedYen = *invested;
    v.realBalance = *real;
    v.work = *work;
    v.hitError = std::move(texts[11]);
    v.luckIndex = std::move(texts[12]);
    v.rotationRate = std::move(texts[13]);
    return record;
}

// Read as Shift_JIS, or else as UTF-8: what an editor may have saved.
std::optional<FileRecord> parseRecord(const std::array<std::string_view, kRecordLines> &lines,
                                      std::string_view datePattern, Decoded &decoded) {
    if (auto record = interpret(lines, encoding(true), decoded, datePattern))
        return record;
    return interpret(lines, encoding(false), decoded, datePattern);
}

} // namespace

uint64_t hashBytes(std::string_view bytes, uint64_t hash) {
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

RecordReader::RecordReader(std::string datePattern, Sink sink, ReadPosition from)
    : datePattern_(std::move(datePattern)), sink_(std::move(sink)), currentOffset_(from.offset), offset_(from.offset),
      records_(from.records), skipped_(from.skipped), inSkipped_(from.inSkipped) {}

void RecordReader::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const void *lf = std::memchr(bytes.data(), '\n', bytes.size());
        const size_t length = lf ? static_cast<size_t>(static_cast<const char *>(lf) - bytes.data()) : bytes.size();
        append(bytes.substr(0, length));
        if (!lf)
            return;
        ++offset_;
        endLine(false);
        bytes.remove_prefix(length + 1);
    }
}

void RecordReader::feedZeros(uint64_t count) {
    static const char zeros[kKeptEnd] = {};
    if (count <= kMaxLine) {
        for (; count > 0; count -= std::min<uint64_t>(count, kKeptEnd))
            append({zeros, static_cast<size_t>(std::min<uint64_t>(count, kKeptEnd))});
        return;
    }
    // No line end in a hole: the line grows beyond any record's.
    becomeOverlong();
    offset_ += count;
    current_.assign(zeros, kKeptEnd);
    currentOffset_ = offset_ - kKeptEnd;
}

void RecordReader::append(std::string_view piece) {
    offset_ += piece.size();
    if (overlong_ && piece.size() >= kKeptEnd) {
        current_.assign(piece.substr(piece.size() - kKeptEnd));
        currentOffset_ = offset_ - kKeptEnd;
        return;
    }
    current_.append(piece);
    if (!overlong_ && current_.size() > kMaxLine)
        becomeOverlong();
    if (overlong_ && current_.size() > 2 * kKeptEnd) {
        const size_t drop = current_.size() - kKeptEnd;
        current_.erase(0, drop);
        currentOffset_ += drop;
    }
}

// Nothing waiting can become a record across such a line: all of it is skipped.
void RecordReader::becomeOverlong() {
    if (overlong_)
        return;
    overlong_ = true;
    for (const Line &line : pending_)
        skipLine(line.bytes);
    pending_.clear();
    noteSkipped();
}

void RecordReader::endLine(bool atEnd) {
    std::string line = std::move(current_);
    uint64_t start = currentOffset_;
    const bool wasOverlong = overlong_;
    current_.clear();
    currentOffset_ = offset_;
    overlong_ = false;
    // Of an over-long line, the same last bytes however it came in.
    if (wasOverlong && line.size() > kKeptEnd) {
        start += line.size() - kKeptEnd;
        line.erase(0, line.size() - kKeptEnd);
    }
    if (line.ends_with('\r'))
        line.pop_back();
    if (start == 0 && line.starts_with(kBom))
        line.erase(0, kBom.size());
    const size_t dateAt = dateLineStart(line);
    if (wasOverlong) {
        // Its beginning was skipped already; only a record glued to its end counts.
        if (dateAt != std::string::npos)
            pending_.push_back({line.substr(dateAt), start + dateAt, 0, true});
    } else {
        const bool startsRecord = dateAt != std::string::npos;
        pending_.push_back({std::move(line), start, startsRecord ? dateAt : 0, startsRecord});
    }
    drain(atEnd);
}

void RecordReader::drain(bool atEnd) {
    while (!pending_.empty()) {
        const Line &front = pending_.front();
        if (!front.startsRecord) {
            skipLine(front.bytes);
            pending_.pop_front();
            continue;
        }
        if (pending_.size() < kRecordLines && !atEnd)
            return;
        if (pending_.size() >= kRecordLines) {
            std::array<std::string_view, kRecordLines> raw;
            raw[0] = std::string_view(front.bytes).substr(front.dateAt);
            for (size_t k = 1; k < kRecordLines; ++k)
                raw[k] = pending_[k].bytes;
            if (const auto record = parseRecord(raw, datePattern_, decoded_)) {
                skipLine(std::string_view(front.bytes).substr(0, front.dateAt));
                ++records_;
                inSkipped_ = false;
                pending_.erase(pending_.begin(), pending_.begin() + kRecordLines);
                sink_(*record);
                continue;
            }
        }
        skipLine(front.bytes);
        pending_.pop_front();
    }
}

void RecordReader::skipLine(std::string_view bytes) {
    if (!isBlank(bytes))
        noteSkipped();
}

void RecordReader::noteSkipped() {
    if (!inSkipped_)
        ++skipped_;
    inSkipped_ = true;
}

void RecordReader::finish() {
    if (finished_)
        return;
    const ReadPosition before = settled();
    const uint64_t recordsBefore = records_;
    if (!current_.empty() || overlong_)
        endLine(true);
    else
        drain(true);
    finished_ = true;
    // Only a record ends settled here: what was skipped may yet turn out to
    // be the beginning of a record glued to it by the next save.
    final_ = records_ > recordsBefore ? ReadPosition{offset_, records_, skipped_, inSkipped_} : before;
}

ReadPosition RecordReader::settled() const {
    if (finished_)
        return final_;
    const uint64_t offset = pending_.empty() ? currentOffset_ : pending_.front().offset;
    return {offset, records_, skipped_, inSkipped_};
}

RecordScan readRecords(std::string_view bytes, std::string_view datePattern) {
    RecordScan scan;
    RecordReader reader(std::string(datePattern),
                        [&scan](const FileRecord &record) { scan.records.push_back(record); });
    reader.feed(bytes);
    reader.finish();
    scan.skipped = reader.skipped();
    return scan;
}

} // namespace zenbalo
