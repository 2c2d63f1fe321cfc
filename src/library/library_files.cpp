// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"

#include "common/file_io.h"
#include "common/number.h"
#include "common/sjis.h"
#include "engine/rates.h"
#include "library/library_files_internal.h"
#include "library/value_reader.h"

#include <cerrno>
#include <cmath>

namespace zenbalo {

namespace {

constexpr const char *kBackupFile = "zenbalo.dat.bak";

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

struct CountedRateList {
    RateList list;
    int count = 0; // as read from the file; 0 when unreadable
};

CountedRateList parseCountedRateList(std::string_view bytes) {
    CountedRateList result;
    const auto text = decodeSjis(bytes);
    ValueReader reader(text ? *text : std::string_view());
    const auto count = text ? reader.readInt16() : std::nullopt;
    if (!count || *count < 0) {
        result.list.damaged = true;
        return result;
    }
    result.count = *count;
    for (int i = 0; i < result.count; ++i) {
        const auto entry = reader.readString();
        if (!entry) {
            result.list.damaged = true;
            break;
        }
        const double balls = ballsPer100Yen(*entry);
        if (std::isfinite(balls) && balls > 0)
            result.list.entries.push_back(*entry);
    }
    return result;
}

bool writable(const Library &library) {
    int count = 0;
    for (int16_t n : library.groupCounts) {
        if (n < 0)
            return false;
        count += n;
    }
    return count <= kMaxMachines && library.machineStrings.size() == static_cast<size_t>(kMachineFields * count);
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
    Library library;
    for (std::string &title : library.groupTitles) {
        auto value = reader.readString();
        if (!value)
            return std::nullopt;
        title = std::move(*value);
    }
    int total = 0;
    for (int16_t &count : library.groupCounts) {
        const auto value = reader.readInt16();
        if (!value || *value < 0)
            return std::nullopt;
        count = *value;
        total += count;
    }
    if (total > kMaxMachines)
        return std::nullopt;
    // Each string read in place: a full library has 32752 of them.
    library.machineStrings.resize(static_cast<size_t>(kMachineFields * total));
    for (std::string &field : library.machineStrings)
        if (!reader.readStringInto(field))
            return std::nullopt;
    // A file this program writes ends right after its last machine (or the
    // one placeholder of an empty library): more values mean counts that do
    // not match the file, and the machines beyond them would be lost.
    if (total == 0)
        reader.next();
    if (!reader.atEnd())
        return std::nullopt;
    // A file written with another collation must still match the list positions.
    sortGroups(library);
    return library;
}

std::string libraryBytes(const Library &library) {
    // One text, encoded at once: the lines of a large library cost no string each.
    size_t size = 0;
    for (const std::string &field : library.machineStrings)
        size += field.size() + 4;
    std::string text;
    text.reserve(size + 256);
    for (const std::string &title : library.groupTitles)
        appendQuotedLine(text, title);
    for (int16_t count : library.groupCounts) {
        text += std::to_string(count);
        text += "\r\n";
    }
    for (const std::string &field : library.machineStrings)
        appendQuotedLine(text, field);
    if (library.machineStrings.empty())
        appendQuotedLine(text, ""); // an empty library still has its one element
    return encodeSjisLossy(text);
}

RateList parseRateList(std::string_view bytes) { return parseCountedRateList(bytes).list; }

LibraryLoad loadLibrary() {
    LibraryLoad load;
    const FileContents file = readWholeFile(kLibraryFile, kMaxLibraryBytes);
    if (file.status == FileContents::Status::Missing) {
        load.status = LibraryLoad::Status::Missing;
        load.library = sampleLibrary();
        return load;
    }
    auto library = file.status == FileContents::Status::Ok ? parseLibrary(file.bytes) : std::nullopt;
    load.status = library ? LibraryLoad::Status::Ok : LibraryLoad::Status::Damaged;
    if (library)
        load.library = std::move(*library);
    return load;
}

SettingsLoad loadSettings() {
    const FileContents file = readWholeFile(kSettingsFile, kMaxSettingsBytes);
    SettingsLoad load;
    load.damaged = file.status == FileContents::Status::Unreadable;
    if (file.status == FileContents::Status::Ok) {
        load.settings = parseSettings(file.bytes);
        load.damaged = !load.settings;
    }
    return load;
}

std::vector<std::string> loadRateList() {
    const FileContents file = readWholeFile(kRateListFile, kMaxRateListBytes);
    if (file.status == FileContents::Status::Missing)
        return builtInRateList();
    const CountedRateList read =
        file.status == FileContents::Status::Ok ? parseCountedRateList(file.bytes) : CountedRateList{{{}, true}, 0};
    if (read.list.entries.empty() && (read.list.damaged || read.count > 0))
        return builtInRateList();
    return read.list.entries;
}

LibraryLoad LibraryFile::read() {
    LibraryLoad load = loadLibrary();
    damagedOnDisk_ = load.status == LibraryLoad::Status::Damaged;
    return load;
}

WriteResult LibraryFile::write(const Library &library) { return saveLibrary(library, damagedOnDisk_); }

std::optional<AppSettings> SettingsFile::read() {
    SettingsLoad load = loadSettings();
    damagedOnDisk_ = load.damaged;
    return load.settings;
}

bool SettingsFile::write(const AppSettings &settings) {
    KeptFile kept;
    if (damagedOnDisk_) {
        kept = keepDamagedFile(kSettingsFile);
        if (kept.error != 0)
            return false;
    }
    if (!writeFileAtomically(kSettingsFile, settingsBytes(settings)).ok()) {
        restoreDamagedFile(kSettingsFile, kept);
        return false;
    }
    damagedOnDisk_ = false;
    return true;
}

WriteResult saveLibrary(const Library &library, bool &damagedOnDisk) {
    if (!writable(library))
        return {EOVERFLOW};
    KeptFile kept;
    if (fileExists(kLibraryFile)) {
        const FileContents old = readWholeFile(kLibraryFile, kMaxLibraryBytes);
        // A file that does not read now is as precious as one that was damaged
        // at start-up: it is kept under a name of its own, never replaced.
        if (damagedOnDisk || old.status != FileContents::Status::Ok) {
            kept = keepDamagedFile(kLibraryFile);
            if (kept.error != 0)
                return {kept.error};
        } else if (const WriteResult backup = writeFileAtomically(kBackupFile, old.bytes); !backup.ok()) {
            return backup;
        }
    }
    const WriteResult written = writeFileAtomically(kLibraryFile, libraryBytes(library));
    if (!written.ok()) {
        restoreDamagedFile(kLibraryFile, kept);
        return written;
    }
    damagedOnDisk = false;
    return written;
}

} // namespace zenbalo
