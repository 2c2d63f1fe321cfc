// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zenbalo::testing {

// Makes a fresh directory and changes into it for the life of the object, since
// the program opens its files by bare name in the working directory.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir &) = delete;
    TempWorkDir &operator=(const TempWorkDir &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Makes every file write fail, even for root, while it lives: a full disk.
class FileSizeLimit {
public:
    FileSizeLimit();
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long long previous_ = 0;
};

// Gives a file or a symbolic link itself to a user who is neither this one nor
// root, as another user's file in a shared directory would be. Only root can;
// false elsewhere, and the test then skips what needs it.
bool giveToAnotherUser(const std::string &path);
inline constexpr const char *kNeedsRoot = "needs root to make a file of another user's";

// The permission bits of a file (not of a link's target).
unsigned modeOf(const std::string &path);

// The names in a directory, sorted.
std::vector<std::string> directoryEntries(const std::string &dir = ".");
// What keeps a damaged file `base` under names of its own (base.damaged-...), sorted.
std::vector<std::string> keptDamagedFiles(const std::string &base);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &bytes);
// Bytes of a fixture under tests/data; a missing fixture fails the test.
std::string fixture(const std::string &name);

} // namespace zenbalo::testing
