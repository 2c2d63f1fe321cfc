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

// The names in a directory, sorted.
std::vector<std::string> directoryEntries(const std::string &dir = ".");
// What keeps a damaged file `base` under names of its own (base.damaged-...), sorted.
std::vector<std::string> keptDamagedFiles(const std::string &base);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &bytes);
// Bytes of a fixture under tests/data; a missing fixture fails the test.
std::string fixture(const std::string &name);

} // namespace zenbalo::testing
