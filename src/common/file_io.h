// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

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
// reported (with its error number), or a file the write refused to touch: one
// that could not be read, which the write would have destroyed; one whose
// owner may not write it; one behind a symbolic link of another user's.
struct WriteResult {
    enum class Failure { None, System, UnreadableFile, WriteProtected, ForeignLink };
    Failure failure = Failure::None;
    int error = 0; // the system's error number of a System failure
    // The file the failure is about when it is not the one being saved (its
    // backup, say); empty otherwise.
    std::string file;

    WriteResult() = default;
    WriteResult(Failure why, int errorNumber = 0) : failure(why), error(errorNumber) {}

    bool ok() const { return failure == Failure::None; }
    // Success for 0, else the system's failure.
    static WriteResult fromErrno(int error) { return error == 0 ? WriteResult{} : WriteResult{Failure::System, error}; }
    bool operator==(const WriteResult &) const = default;
};

// Where a write of `name` lands: the name itself, or the file its symbolic
// links lead to while each of them belongs to this user or to root. A link
// of anyone else's is not followed (a link planted in a shared directory
// must not make us write over a file of the victim's), and a file its owner
// may not write is not written, even by root: `refusal` says which.
struct WritePlace {
    std::string path;
    WriteResult refusal;
};
WritePlace placeToWrite(const std::string &name);

// Writes `bytes` to a temporary file of a name no user file has, beside the
// file `name` stands for (see placeToWrite: a linked file is replaced, not the
// link), flushes it to disk and renames it over that file, so a crash or a
// full disk leaves the old file whole. The replaced file's permissions, owner
// and group are kept, but its owner may always read and write the new one.
[[nodiscard]] WriteResult writeFileAtomically(const std::string &name, const std::string &bytes);

// Opens `name` for writing with `flags` (O_WRONLY, O_APPEND, O_CREAT, ...)
// under the rules of placeToWrite; a file its owner could not read becomes
// readable to them. `fd` is -1 on failure and must be closed otherwise.
struct OpenedFile {
    int fd = -1;
    bool created = false;
    WriteResult result;
};
OpenedFile openForWriting(const std::string &name, int flags);

// Removes what saves cut short left in the working directory: the hidden
// temporary files that writeFileAtomically makes for `files` and for the
// copies it keeps of them ("<file>.damaged-..."). Only regular files of this
// user's; only while no save of these files can be under way. Returns how
// many went.
int removeSaveLeftovers(const std::vector<std::string> &files);

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
