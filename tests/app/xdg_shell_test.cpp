// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/xdg_shell.h"

#include "support/temp_dir.h"

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zenbalo {
namespace {

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

// Records when each failure message came, in seconds from `start`.
class TimedDialogs : public Dialogs {
public:
    MessageBox::Answer ask(const MessageBox &box) override {
        came[box.prompt] = secondsSince(start);
        titles[box.prompt] = box.title;
        return MessageBox::Answer::Ok;
    }
    std::optional<std::string> chooseSaveFile(const SaveFileBox &) override { return std::nullopt; }
    Clock::time_point start = Clock::now();
    std::map<std::string, double> came;
    std::map<std::string, std::string> titles;
};

// The longest the event loop went without running a timer of 10 ms.
class LoopWatch {
public:
    LoopWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const Clock::time_point now = Clock::now();
            longest = std::max(longest, std::chrono::duration<double>(now - last_).count());
            last_ = now;
        });
        timer_.start(10);
    }
    double longest = 0;

private:
    QTimer timer_;
    Clock::time_point last_ = Clock::now();
};

TEST(XdgShell, TheOpenersExitStatusDecidesWheneverItComesAndTheWindowNeverWaits) {
    testing::TempWorkDir dir;
    const std::string d = dir.path();
    const std::string fifo = d + "/editor";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char *name;
        std::string opener;
        double earliest, latest; // seconds in which the failure must come; none when latest is 0
    } cases[] = {
        {"opener not on the path", "zenbalo-no-such-opener", 0, 0.2},
        {"opener path leads nowhere", d + "/missing", 0, 0.2},
        {"opener not executable", script(d + "/plain", "exit 0", 0644), 0, 0.2},
        {"opener fails fast", script(d + "/fails", "exit 2"), 0, 1.0},
        {"opener killed", script(d + "/killed", "kill -9 $$"), 0, 1.0},
        {"opener fails late", script(d + "/late", "sleep 1.2; exit 3"), 1.2, 3.0},
        {"opener succeeds", script(d + "/succeeds", "exit 0"), 0, 0},
        // An editor run in the foreground: closed by the player after the late failure.
        {"opener runs the application", script(d + "/runs", "read line < '" + fifo + "'"), 0, 0},
    };
    for (const XdgShell::Watch watch : {XdgShell::Watch::ProcessHandle, XdgShell::Watch::Polling}) {
        SCOPED_TRACE(watch == XdgShell::Watch::Polling ? "polling" : "process handle");
        TimedDialogs dialogs;
        LoopWatch loop;
        std::vector<std::unique_ptr<XdgShell>> shells;
        for (const Case &c : cases) {
            shells.push_back(std::make_unique<XdgShell>(c.opener, watch));
            const Clock::time_point start = Clock::now();
            ShellOpen(*shells.back(), dialogs, "説明書.txt", c.name, "Zenbalo - 説明書を開く");
            EXPECT_LT(secondsSince(start), 0.1) << c.name;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.came.count("opener fails late"); }, 5000));
        EXPECT_EQ(shells.back()->running(), 1u);
        const int editor = ::open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(editor, 0);
        EXPECT_EQ(::write(editor, "\n", 1), 1);
        ::close(editor);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shells.back()->running() == 0; }, 5000));
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            if (c.latest == 0) {
                EXPECT_EQ(dialogs.came.count(c.name), 0u);
                continue;
            }
            ASSERT_EQ(dialogs.came.count(c.name), 1u);
            EXPECT_GE(dialogs.came[c.name], c.earliest);
            EXPECT_LT(dialogs.came[c.name], c.latest);
            EXPECT_EQ(dialogs.titles[c.name], "Zenbalo - 説明書を開く");
        }
        EXPECT_LT(loop.longest, 0.5) << "the event loop was blocked";
        EXPECT_EQ(children(), 0) << "an ended opener is left a zombie";
    }
}

TEST(XdgShell, NoFailureAfterTheShellIsGone) {
    testing::TempWorkDir dir;
    bool failed = false;
    {
        XdgShell shell(script(dir.path() + "/late", "sleep 0.3; exit 3"));
        shell.open("説明書.txt", [&] { failed = true; });
    }
    QTest::qWait(600);
    EXPECT_FALSE(failed);
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    } // the opener left behind, reaped here as the system would once we end
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
        bool failed = false;
        shell.open(c.target, [&] { failed = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return shell.running() == 0; }, 5000));
        EXPECT_FALSE(failed);
        EXPECT_EQ(testing::readFile(record), "1\n" + c.want + "\n");
    }
}

TEST(XdgShell, TheOpenerGetsAUtf8CharacterTypeAndOnlyThat) {
    const std::string utf8 = "C.UTF-8";
    struct Case {
        const char *name;
        std::vector<std::string> environment, want;
    } cases[] = {
        {"no locale at all", {"HOME=/h"}, {"HOME=/h", "LC_CTYPE=" + utf8}},
        {"empty values count as unset", {"LANG=", "LC_ALL="}, {"LANG=", "LC_ALL=", "LC_CTYPE=" + utf8}},
        {"Japanese UTF-8 kept", {"LANG=ja_JP.UTF-8"}, {"LANG=ja_JP.UTF-8"}},
        {"spelt utf8 kept", {"LANG=C.utf8", "LC_TIME=C"}, {"LANG=C.utf8", "LC_TIME=C"}},
        {"modifier after the codeset", {"LANG=en_US.UTF-8@euro"}, {"LANG=en_US.UTF-8@euro"}},
        {"C locale", {"LANG=C"}, {"LANG=C", "LC_CTYPE=" + utf8}},
        {"EUC-JP character type replaced, the rest kept",
         {"LANG=ja_JP.UTF-8", "LC_CTYPE=ja_JP.eucJP", "LC_NUMERIC=C"},
         {"LANG=ja_JP.UTF-8", "LC_CTYPE=" + utf8, "LC_NUMERIC=C"}},
        {"LC_ALL outranks LC_CTYPE",
         {"LC_ALL=POSIX", "LC_CTYPE=ja_JP.UTF-8"},
         {"LC_ALL=" + utf8, "LC_CTYPE=ja_JP.UTF-8"}},
        {"UTF-8 in LC_ALL kept", {"LC_ALL=ja_JP.UTF-8", "LANG=C"}, {"LC_ALL=ja_JP.UTF-8", "LANG=C"}},
        {"a name that only begins like one",
         {"LC_CTYPEX=1", "LANGUAGE=ja"},
         {"LC_CTYPEX=1", "LANGUAGE=ja", "LC_CTYPE=" + utf8}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(openerEnvironment(c.environment), c.want);
    }
}

TEST(XdgShell, XdgOpenReportsAMissingFileSoon) {
    if (std::system("command -v xdg-open >/dev/null") != 0)
        GTEST_SKIP() << "xdg-open (Debian's xdg-utils) is not installed";
    testing::TempWorkDir dir;
    XdgShell shell;
    for (const char *name : {"説明書.txt", "my bunseki.txt"}) {
        SCOPED_TRACE(name);
        bool failed = false;
        shell.open(name, [&] { failed = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return failed; }, 3000));
    }
}

} // namespace
} // namespace zenbalo
