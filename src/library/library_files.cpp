// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"

#include "common/file_io.h"
#include "common/number.h"
#include "common/sjis.h"
#include "common/text.h"
#include "engine/rates.h"
#include "library/value_reader.h"

#include <algorithm>
#include <cmath>

namespace zenbalo {

namespace {

// No file this program writes comes near these sizes (a library of 2047
// machines whose every field is as long as a box takes is under 17 MB); a
// larger file is damaged and is not read at all.
constexpr size_t kMaxLibraryBytes = 32u << 20;
constexpr size_t kMaxSettingsBytes = 64u << 10;
constexpr size_t kMaxRateListBytes = 1u << 20;

// A value on a line of its own, in double quotes.
void appendQuotedLine(std::string &text, std::string_view value) {
    text += '"';
    if (value.find('"') == std::string_view::npos)
        text += value;
    else
        text += withoutDoubleQuotes(value);
    text += "\"\r\n";
}

} // namespace

std::optional<AppSettings> parseSettings(std::string_view bytes) {
    const auto text = decodeSjis(bytes);
    if (!text)
        return std::nullopt;
    ValueReader reader(*text);
    AppSettings settings;
    const auto readInto = [&reader](int16_t &target) {
        const auto value = reader.readInt16();
        if (value)
            target = *value;
        return value.has_value();
    };
    for (int16_t &index : settings.groupListIndex)
        if (!readInto(index))
            return std::nullopt;
    if (!readInto(settings.rateListIndex) || !readInto(settings.currentGroup) ||
        !readInto(settings.savedTotalRotations))
        return std::nullopt;
    for (int16_t &reserved : settings.reserved)
        if (!readInto(reserved))
            return std::nullopt;
    const auto rate = reader.readDouble();
    if (!rate)
        return std::nullopt;
    settings.savedRotationRate = *rate;
    return settings;
}

std::string settingsBytes(const AppSettings &settings) {
    std::vector<std::string> lines;
    for (int16_t index : settings.groupListIndex)
        lines.push_back(std::to_string(index));
    lines.push_back(std::to_string(settings.rateListIndex));
    lines.push_back(std::to_string(settings.currentGroup));
    lines.push_back(std::to_string(settings.savedTotalRotations));
    for (int16_t reserved : settings.reserved)
        lines.push_back(std::to_string(reserved));
    // "inf" would make the whole file unreadable and cost every other setting.
    const double rate = std::isfinite(settings.savedRotationRate) ? settings.savedRotationRate : 20.0;
    lines.push_back(plainDecimal(rate));
    return sjisLines(lines);
}

std::optional<Library> parseLibrary(std::string_view bytes) {
    const auto text = decodeSjis(bytes);
    if (!text)
        return std::nullopt;
    ValueReader reader(*text);
    std::array<std::string, kGroups> titles;
    for (std::string &title : titles)
        if (!reader.readStringInto(title))
            return std::nullopt;
    std::array<int16_t, kGroups> counts{};
    for (int16_t &count : counts) {
        const auto value = reader.readInt16();
        if (!value)
            return std::nullopt;
        count = *value;
    }
    // Before any string is read: counts of a damaged file may ask for millions.
    const std::optional<size_t> strings = Library::stringCount(counts);
    if (!strings)
        return std::nullopt;
    // Each string read in place: a full library has 32752 of them.
    std::vector<std::string> machineStrings(*strings);
    for (std::string &field : machineStrings)
        if (!reader.readStringInto(field))
            return std::nullopt;
    // A file this program writes ends right after its last machine (or the
    // one placeholder of an empty library): more values mean counts that do
    // not match the file, and the machines beyond them would be lost.
    if (machineStrings.empty())
        reader.next();
    if (!reader.atEnd())
        return std::nullopt;
    // A file written with another collation is sorted to match the list positions.
    return Library::fromParts(std::move(titles), counts, std::move(machineStrings));
}

std::string libraryBytes(const Library &library) {
    // One text, encoded at once: the lines of a large library cost no string each.
    const std::vector<std::string> &fields = library.machineStrings();
    size_t size = 0;
    for (const std::string &field : fields)
        size += field.size() + 4;
    std::string text;
    text.reserve(size + 256);
    for (const std::string &title : library.groupTitles())
        appendQuotedLine(text, title);
    for (int16_t count : library.groupCounts()) {
        text += std::to_string(count);
        text += "\r\n";
    }
    for (const std::string &field : fields)
        appendQuotedLine(text, field);
    if (fields.empty())
        appendQuotedLine(text, ""); // an empty library still has its one element
    return encodeSjisLossy(text);
}

// Shift_JIS with any double-byte character is practically never valid UTF-8,
// while UTF-8 text is often valid Shift_JIS by chance.
std::optional<std::string> decodeRateList(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const bool marked = bytes.starts_with(kBom);
    const std::string_view body = marked ? bytes.substr(kBom.size()) : bytes;
    const bool ascii = std::all_of(body.begin(), body.end(), [](char c) { return (c & 0x80) == 0; });
    if ((!marked && ascii) || !isValidUtf8(body))
        return decodeSjis(bytes);
    std::string text;
    text.reserve(body.size());
    for (const char c : body)
        if (c == '\\')
            text += kYen;
        else
            text += c;
    return text;
}

RateList parseRateList(std::string_view bytes) {
    RateList list;
    const auto text = decodeRateList(bytes);
    ValueReader reader(text ? *text : std::string_view());
    const auto count = text ? reader.readInt16() : std::nullopt;
    if (!count || *count < 0) {
        list.damaged = true;
        return list;
    }
    list.count = *count;
    for (int i = 0; i < list.count; ++i) {
        auto entry = reader.readString();
        if (!entry) {
            list.damaged = true;
            break;
        }
        // An entry without a rate keeps its place: the saved selection counts
        // every entry, and the calculation refuses it when it is chosen.
        list.entries.push_back(std::move(*entry));
    }
    return list;
}

std::vector<std::string> loadRateList() {
    const FileContents file = readWholeFile(kRateListFile, kMaxRateListBytes);
    if (file.status == FileContents::Status::Missing)
        return builtInRateList();
    const RateList read = file.status == FileContents::Status::Ok ? parseRateList(file.bytes) : RateList{{}, true, 0};
    if (read.entries.empty() && read.damaged)
        return builtInRateList();
    return read.entries;
}

LibraryLoad LibraryFile::read() {
    LibraryLoad load;
    const FileContents file = readWholeFile(kLibraryFile, kMaxLibraryBytes);
    if (file.status == FileContents::Status::Missing) {
        load.status = LibraryLoad::Status::Missing;
        load.library = sampleLibrary();
    } else {
        auto library = file.status == FileContents::Status::Ok ? parseLibrary(file.bytes) : std::nullopt;
        load.status = library ? LibraryLoad::Status::Ok : LibraryLoad::Status::Damaged;
        if (library)
            load.library = std::move(*library);
    }
    damagedOnDisk_ = load.status == LibraryLoad::Status::Damaged;
    return load;
}

// zenbalo.dat.bak for a file that reads; a file that does not read, now or
// at start-up, is as precious as any: it is kept under a name of its own.
WriteResult LibraryFile::keepPreviousFile(KeptFile &kept) {
    if (!fileExists(kLibraryFile))
        return {};
    const FileContents old = readWholeFile(kLibraryFile, kMaxLibraryBytes);
    if (damagedOnDisk_ || old.status != FileContents::Status::Ok) {
        kept = keepDamagedFile(kLibraryFile);
        return WriteResult::fromErrno(kept.error);
    }
    WriteResult backup = writeFileAtomically(kBackupFile, old.bytes);
    if (!backup.ok())
        backup.file = kBackupFile;
    return backup;
}

WriteResult LibraryFile::write(const Library &library) {
    // Before any copy is kept: a file that may not be replaced needs none,
    // and a session that tries each time must not leave one each time.
    if (const WriteResult refused = placeToWrite(kLibraryFile).refusal; !refused.ok())
        return refused;
    KeptFile kept;
    if (const WriteResult previous = keepPreviousFile(kept); !previous.ok())
        return previous;
    const WriteResult written = writeFileAtomically(kLibraryFile, libraryBytes(library));
    if (!written.ok()) {
        restoreDamagedFile(kLibraryFile, kept);
        return written;
    }
    damagedOnDisk_ = false;
    return written;
}

std::optional<AppSettings> SettingsFile::read() {
    const FileContents file = readWholeFile(kSettingsFile, kMaxSettingsBytes);
    std::optional<AppSettings> settings;
    if (file.status == FileContents::Status::Ok)
        settings = parseSettings(file.bytes);
    damagedOnDisk_ = file.status == FileContents::Status::Unreadable ||
                     (file.status == FileContents::Status::Ok && !settings);
    return settings;
}

WriteResult SettingsFile::write(const AppSettings &settings) {
    if (const WriteResult refused = placeToWrite(kSettingsFile).refusal; !refused.ok())
        return refused;
    KeptFile kept;
    if (damagedOnDisk_) {
        kept = keepDamagedFile(kSettingsFile);
        if (kept.error != 0)
            return WriteResult::fromErrno(kept.error);
    }
    const WriteResult written = writeFileAtomically(kSettingsFile, settingsBytes(settings));
    if (!written.ok()) {
        restoreDamagedFile(kSettingsFile, kept);
        return written;
    }
    damagedOnDisk_ = false;
    return written;
}

} // namespace zenbalo
