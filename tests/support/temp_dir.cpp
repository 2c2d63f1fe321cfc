// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zenbalo::testing {

TempWorkDir::TempWorkDir() {
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "zenbalo-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    std::filesystem::current_path(path_);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

FileSizeLimit::FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    limit.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    setrlimit(RLIMIT_FSIZE, &limit);
}

bool giveToAnotherUser(const std::string &path) {
    // No account is needed for a file to belong to someone: the uid of
    // "nobody", which owns no file of the tests' otherwise.
    constexpr uid_t kAnotherUser = 65534;
    return ::geteuid() == 0 && ::lchown(path.c_str(), kAnotherUser, kAnotherUser) == 0;
}

unsigned modeOf(const std::string &path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::vector<std::string> directoryEntries(const std::string &dir) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> keptDamagedFiles(const std::string &base) {
    const std::regex pattern(std::regex_replace(base, std::regex(R"([.])"), R"(\.)") +
                             R"(\.damaged-\d{8}-\d{6}(-\d+)?)");
    std::vector<std::string> kept;
    for (const std::string &name : directoryEntries())
        if (std::regex_match(name, pattern))
            kept.push_back(name);
    return kept;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string fixture(const std::string &name) {
    const std::string path = std::string(ZENBALO_TEST_DATA) + "/" + name;
    if (!std::filesystem::is_regular_file(path))
        ADD_FAILURE() << "missing fixture " << path;
    return readFile(path);
}

} // namespace zenbalo::testing
