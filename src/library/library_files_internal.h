// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/library_files.h"

#include <ctime>
#include <string>

namespace zenbalo {

LibraryLoad loadLibrary();
// When `damagedOnDisk` is set, the file on disk was unreadable at start-up: it
// is moved to a name of its own instead of being replaced, and the flag is
// cleared.
[[nodiscard]] WriteResult saveLibrary(const Library &library, bool &damagedOnDisk);

struct SettingsLoad {
    std::optional<AppSettings> settings; // nullopt when missing or damaged
    bool damaged = false;
};
SettingsLoad loadSettings();

} // namespace zenbalo
