// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace zenbalo {

// The value of an environment variable, empty when unset; tests pass their own.
using Environment = std::function<std::string(const char *name)>;
std::string processEnvironment(const char *name);

// The player's data directory, or why it cannot be used.
struct DataDirectory {
    std::string path;    // absolute, as the player would look for it
    std::string failure; // empty on success; else a message naming the directory, then the reason on a line of its own
    bool ok() const { return failure.empty(); }
};

// Where the player's files live: $ZENBALO_DATA, any value a path (a relative
// one from the working directory); else $XDG_DATA_HOME/zenbalo when that is
// absolute (a relative one is ignored, as the XDG base-directory rules say);
// else $HOME/.local/share/zenbalo.
DataDirectory dataDirectory(const Environment &environment);

// The data directory made ready and made the working directory: created with
// its parents where missing, and given each file that `share` holds for the
// player (the exchange-rate list, the manual) where it has none, never over
// the player's own. A file that cannot be put there is left out: the program
// runs without it.
DataDirectory enterDataDirectory(const Environment &environment, const std::string &share);

} // namespace zenbalo
