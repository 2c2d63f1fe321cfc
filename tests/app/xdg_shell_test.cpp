// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/xdg_shell.h"

#include "support/temp_dir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zenbalo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A shell script standing in for xdg-open.
std::string script(const std::string &path, const std::string &body, mode_t mode = 0755) {
    testing::writeFile(path, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), mode);
    return path;
}

// Processes whose parent is this one, finished ones (zombies) included.
int children() {
    int count = 0;
    const std::string self = std::to_string(::getpid());
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string stat = testing::readFile(entry.path().string() + "/stat");
        // "pid (name) state ppid ...": the name may hold blanks and parentheses.
        const size_t nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(nameEnd + 1));
        std::string state, ppid;
        if (fields >> state >> ppid && ppid == self)
            ++count;
    }
    return count;
}

template <typename Condition> bool within(std::chrono::milliseconds limit, Condition condition) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(XdgShell, TheOpenersReportDecides) {
    testing::TempWorkDir dir;
    const std::string d = dir.path();
    struct Case {
        const char *name;
        std::string opener;
        bool want;
    } cases[] = {
        {"opener not on the path", "zenbalo-no-such-opener", false},
        {"opener path leads nowhere", d + "/missing", false},
        {"opener not executable", script(d + "/plain", "exit 0", 0644), false},
        {"opener reports failure", script(d + "/fails", "exit 2"), false},
        {"opener killed", script(d + "/killed", "kill -9 $$"), false},
        {"opener reports success", script(d + "/succeeds", "exit 0"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        XdgShell shell(c.opener, 5s);
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(shell.open("説明書.txt"), c.want);
        EXPECT_LT(secondsSince(start), 2.0); // on the report, not at the end of the patience
    }
    EXPECT_TRUE(within(2s, [] { return children() == 0; }));
}

TEST(XdgShell, AnOpenerStillRunningHasStartedAnApplicationAndIsReapedLater) {
    testing::TempWorkDir dir;
    const std::string finished = dir.path() + "/finished";
    XdgShell shell(script(dir.path() + "/stays", "sleep 1\n: > '" + finished + "'"), 200ms);

    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(shell.open("説明書.txt"));
    const double waited = secondsSince(start);
    EXPECT_GE(waited, 0.2);
    EXPECT_LT(waited, 0.9); // the window does not wait for the application
    EXPECT_EQ(children(), 1);

    ASSERT_TRUE(within(5s, [&] { return std::filesystem::exists(finished); }));
    EXPECT_TRUE(within(3s, [] { return children() == 0; })) << "the ended opener is left a zombie";
}

TEST(XdgShell, HandsOverOneArgumentWithFileNamesMadeAbsolute) {
    testing::TempWorkDir dir;
    const std::string cwd = std::filesystem::current_path().string();
    const std::string record = dir.path() + "/arguments";
    XdgShell shell(script(dir.path() + "/records", "printf '%s\\n' \"$#\" \"$@\" > '" + record + "'"));
    const std::string awkward = "my \"log\" 'copy' $HOME;`id` *.txt";
    struct Case {
        const char *name;
        std::string target;
        std::string want;
    } cases[] = {
        {"bare name", "説明書.txt", cwd + "/説明書.txt"},
        {"blanks, quotes and shell signs", awkward, cwd + "/" + awkward},
        {"leading dash", "-n.txt", cwd + "/-n.txt"},
        {"colon without slashes", "c:log.txt", cwd + "/c:log.txt"},
        {"absolute path", "/tmp/x y.txt", "/tmp/x y.txt"},
        {"web address", "https://example.com/a?b=1&c=d", "https://example.com/a?b=1&c=d"},
        {"web address with a scheme of signs", "view-source+x.y://page", "view-source+x.y://page"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(record.c_str());
        EXPECT_TRUE(shell.open(c.target));
        EXPECT_EQ(testing::readFile(record), "1\n" + c.want + "\n");
    }
}

TEST(XdgShell, XdgOpenReportsAMissingFileAtOnce) {
    if (std::system("command -v xdg-open >/dev/null") != 0)
        GTEST_SKIP() << "xdg-open (Debian's xdg-utils) is not installed";
    testing::TempWorkDir dir;
    XdgShell shell;
    for (const char *name : {"説明書.txt", "my bunseki.txt"}) {
        SCOPED_TRACE(name);
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(shell.open(name));
        EXPECT_LT(secondsSince(start), 0.9);
    }
}

} // namespace
} // namespace zenbalo
