// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/file_io.h"
#include "library/library.h"
#include "library/settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

inline constexpr const char *kSettingsFile = "zenbalo.cfg";
inline constexpr const char *kLibraryFile = "zenbalo.dat";
inline constexpr const char *kBackupFile = "zenbalo.dat.bak";
inline constexpr const char *kRateListFile = "zenbalo.kan";

// Contents of the files, both ways. Readers return nullopt for a damaged file.
std::optional<AppSettings> parseSettings(std::string_view bytes);
std::string settingsBytes(const AppSettings &settings);
std::optional<Library> parseLibrary(std::string_view bytes);
std::string libraryBytes(const Library &library);

// zenbalo.kan is edited outside the program: Shift_JIS as shipped, or UTF-8
// as today's editors save it. Valid UTF-8 beyond ASCII, or after a byte-order
// mark, is UTF-8 (without the mark); anything else is Shift_JIS. The byte 0x5C
// is the yen sign either way. nullopt when the bytes are neither.
std::optional<std::string> decodeRateList(std::string_view bytes);

// zenbalo.kan as read.
struct RateList {
    std::vector<std::string> entries; // every entry, also one that names no rate
    bool damaged = false;
    int count = 0; // as the file gives it; 0 when it gives none
};
RateList parseRateList(std::string_view bytes);

// The files in the working directory.
struct LibraryLoad {
    enum class Status { Ok, Missing, Damaged };
    Status status = Status::Missing;
    Library library; // sample when missing, empty when damaged
};

// zenbalo.dat, read at start-up and written at a close the player agrees to.
// A file that could not be read is never overwritten: the first save keeps it
// under a name of its own (zenbalo.dat.damaged-...). One that placeToWrite
// refuses (write-protected, behind another user's link) is not touched at all,
// so no save keeps a copy of it.
class LibraryFile {
public:
    LibraryLoad read();
    // Keeps the previous file as zenbalo.dat.bak.
    [[nodiscard]] WriteResult write(const Library &library);
    bool damagedOnDisk() const { return damagedOnDisk_; }

private:
    WriteResult keepPreviousFile(KeptFile &kept);

    bool damagedOnDisk_ = false;
};

// zenbalo.cfg: read at start-up, written at every close. A file that could
// not be read gives way to defaults without a word, but is kept under a name
// of its own (zenbalo.cfg.damaged-...) before the first write replaces it;
// one that placeToWrite refuses is left alone.
class SettingsFile {
public:
    // nullopt when missing or damaged.
    std::optional<AppSettings> read();
    [[nodiscard]] WriteResult write(const AppSettings &settings);

private:
    bool damagedOnDisk_ = false;
};

// The file's entries; the built-in list when the file is missing, or damaged
// before its first entry. A well-formed count of 0 gives an empty list.
std::vector<std::string> loadRateList();

} // namespace zenbalo
