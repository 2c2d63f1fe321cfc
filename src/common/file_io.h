#pragma once

#include <string>

namespace zenbalo {

struct FileContents {
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

// Reads a whole file by name; Missing only when it does not exist.
FileContents readWholeFile(const std::string &name);

// Writes a temporary file beside `name`, flushes it to disk and renames it over
// `name`, so a crash or a full disk leaves the old file whole. False on failure,
// with nothing changed.
[[nodiscard]] bool writeFileAtomically(const std::string &name, const std::string &bytes);

bool fileExists(const std::string &name);

} // namespace zenbalo
