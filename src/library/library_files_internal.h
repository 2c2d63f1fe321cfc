#pragma once

#include "library/library_files.h"

#include <ctime>
#include <string>

namespace zenbalo {

LibraryLoad loadLibrary();
// When `damagedOnDisk` is set, the file on disk was unreadable at start-up: it
// is moved to a name of its own instead of being replaced, and the flag is
// cleared.
[[nodiscard]] bool saveLibrary(const Library &library, bool &damagedOnDisk);

// First free name "zenbalo.dat.damaged-YYYYMMDD-HHMMSS" (local time of `now`),
// with "-1", "-2", ... appended while the name is taken.
std::string damagedFileName(std::time_t now);

} // namespace zenbalo
