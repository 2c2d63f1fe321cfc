// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/xdg_shell.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

extern char **environ;

namespace zenbalo {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// "scheme://...", the scheme spelt as in RFC 3986.
bool isWebAddress(const std::string &target) {
    const size_t end = target.find("://");
    if (end == std::string::npos || end == 0 || !isAsciiLetter(target[0]))
        return false;
    for (size_t i = 1; i < end; ++i) {
        const char c = target[i];
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// The opener may hand the name on to an application that runs in another
// directory (a desktop's file service), so a bare name goes out as an absolute
// path; that also keeps a name beginning with "-" from reading as an option.
// Empty when the working directory is gone.
std::string openerArgument(const std::string &target) {
    if (isWebAddress(target) || target.front() == '/')
        return target;
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    return error ? std::string() : (directory / target).string();
}

void reapWhenDone(pid_t pid) {
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
        // No thread to spare: the finished opener stays a zombie until we end.
    }
}

// The opener's verdict: true for exit status 0 or still running at the
// deadline; a running opener is reaped later, so none is left a zombie.
bool awaitVerdict(pid_t pid, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + patience;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false; // reaped elsewhere: its verdict is lost
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    reapWhenDone(pid);
    return true;
}

} // namespace

XdgShell::XdgShell(std::string opener, std::chrono::milliseconds patience)
    : opener_(std::move(opener)), patience_(patience) {}

bool XdgShell::open(const std::string &target) {
    if (target.empty())
        return false;
    std::string argument = openerArgument(target);
    if (argument.empty())
        return false;
    std::string program = opener_;
    char *argv[] = {program.data(), argument.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The started application has no business with the terminal we may have
    // been started from; a text-mode browser must not take its input.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own: Ctrl+C meant for Zenbalo must not end the editor.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 && awaitVerdict(pid, patience_);
}

} // namespace zenbalo
