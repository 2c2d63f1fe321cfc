// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ctime>
#include <limits>
#include <string>

namespace zenbalo {

struct FileContents {
    // Unreadable also covers what is not a regular file (a directory, a FIFO,
    // a device) and a file larger than the reader takes.
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

// Reads a whole file by name, following symbolic links. Never blocks on a FIFO
// or a device, and looks at the size before reading, so a file larger than
// `maxBytes` costs no memory.
FileContents readWholeFile(const std::string &name, size_t maxBytes = std::numeric_limits<size_t>::max());

// The outcome of every write of a file: success, a failure the system
// reported (with its error number), or a file in the way that could not be
// read, which the write would have destroyed.
struct WriteResult {
    enum class Failure { None, System, UnreadableFile };
    Failure failure = Failure::None;
    int error = 0; // the system's error number of a System failure

    bool ok() const { return failure == Failure::None; }
    // Success for 0, else the system's failure.
    static WriteResult fromErrno(int error) { return error == 0 ? WriteResult{} : WriteResult{Failure::System, error}; }
    bool operator==(const WriteResult &) const = default;
};

// Writes `bytes` to a temporary file of a name no user file has, beside the
// file `name` stands for (through symbolic links, so a linked file is
// replaced, not the link), flushes it to disk and renames it over that file,
// so a crash or a full disk leaves the old file whole. The replaced file's
// permissions are kept.
[[nodiscard]] WriteResult writeFileAtomically(const std::string &name, const std::string &bytes);

// The file a name stands for once symbolic links are followed; the name itself
// when it is no link. The file need not exist.
std::string resolveLinks(const std::string &name);

bool fileExists(const std::string &name);

// First free name "<base>.damaged-YYYYMMDD-HHMMSS" (local time of `now`), with
// "-1", "-2", ... appended while the name is taken.
std::string damagedFileName(const std::string &base, std::time_t now);

// Keeps an unreadable file under a name of its own (see damagedFileName) so
// that no save destroys it. A regular file gets a second name (a hard link,
// else a copy) and `name` goes on to exist at every moment; anything else (a
// directory, a FIFO, a link to a device) is moved aside, since nothing could
// be written over it. Nothing to keep when `name` does not exist.
struct KeptFile {
    std::string name; // empty when there was nothing to keep or on failure
    bool moved = false;
    int error = 0;
};
KeptFile keepDamagedFile(const std::string &name);
// Undoes keepDamagedFile after the save it made room for failed.
void restoreDamagedFile(const std::string &name, const KeptFile &kept);

// A short explanation of a failed write for the player, in Japanese.
std::string errorReason(const WriteResult &result);
// The message, then on a line of its own why the write failed.
std::string withReason(const std::string &message, const WriteResult &result);

} // namespace zenbalo
