// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/xdg_shell.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string_view>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
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

// The value of `name` in an environment; empty when unset.
std::string valueOf(const std::vector<std::string> &environment, std::string_view name) {
    for (const std::string &entry : environment)
        if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=')
            return entry.substr(name.size() + 1);
    return {};
}

void setValue(std::vector<std::string> &environment, std::string_view name, std::string_view value) {
    std::string entry = std::string(name) + "=" + std::string(value);
    for (std::string &e : environment)
        if (e.starts_with(entry.substr(0, name.size() + 1))) {
            e = std::move(entry);
            return;
        }
    environment.push_back(std::move(entry));
}

// "ja_JP.UTF-8", "C.utf8", "en_US.UTF-8@euro".
bool namesUtf8(const std::string &locale) {
    const size_t dot = locale.find('.');
    if (dot == std::string::npos)
        return false;
    std::string codeset;
    for (char c : locale.substr(dot + 1, locale.find('@', dot) - dot - 1))
        if (c != '-')
            codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return codeset == "utf8";
}

// The opener's verdict: a success only for exit status 0.
bool reportsFailure(int status) { return !WIFEXITED(status) || WEXITSTATUS(status) != 0; }

} // namespace

std::vector<std::string> openerEnvironment(std::vector<std::string> environment) {
    const std::string all = valueOf(environment, "LC_ALL");
    const std::string ctype = valueOf(environment, "LC_CTYPE");
    const std::string inForce = !all.empty() ? all : !ctype.empty() ? ctype : valueOf(environment, "LANG");
    if (!namesUtf8(inForce))
        setValue(environment, all.empty() ? "LC_CTYPE" : "LC_ALL", "C.UTF-8");
    return environment;
}

XdgShell::XdgShell(std::string opener, Watch watch) : opener_(std::move(opener)), watch_(watch) {}

XdgShell::~XdgShell() {
    // An opener still running stays, with the application it runs; the
    // system reaps it once we have ended.
    const QObjectList watchers = watchers_.children();
    qDeleteAll(watchers);
    for (const Opener &opener : running_)
        if (opener.handle >= 0)
            ::close(opener.handle);
}

void XdgShell::open(const std::string &target, std::function<void()> failed) {
    std::string argument = target.empty() ? std::string() : openerArgument(target);
    if (argument.empty()) {
        failed();
        return;
    }
    std::string program = opener_;
    char *argv[] = {program.data(), argument.data(), nullptr};
    std::vector<std::string> environment;
    for (char **e = environ; *e; ++e)
        environment.emplace_back(*e);
    environment = openerEnvironment(std::move(environment));
    std::vector<char *> envp;
    for (std::string &entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

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
    const int error = ::posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        failed();
        return;
    }
    watch(pid, std::move(failed));
}

void XdgShell::watch(pid_t pid, std::function<void()> failed) {
    Opener &opener = running_.emplace_back(Opener{pid, -1, nullptr, std::move(failed)});
    if (watch_ == Watch::ProcessHandle)
        opener.handle = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (opener.handle >= 0) {
        // Readable once the process has ended.
        auto *notifier = new QSocketNotifier(opener.handle, QSocketNotifier::Read, &watchers_);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this, pid] { look(pid); });
        opener.watcher = notifier;
        return;
    }
    auto *timer = new QTimer(&watchers_);
    QObject::connect(timer, &QTimer::timeout, timer, [this, pid] { look(pid); });
    timer->start(100);
    opener.watcher = timer;
}

void XdgShell::look(pid_t pid) {
    const auto opener = std::find_if(running_.begin(), running_.end(), [pid](const Opener &o) { return o.pid == pid; });
    if (opener == running_.end())
        return;
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR))
        return; // still running
    // A verdict lost to someone else's reaping is no failure of ours.
    const bool failure = done == pid && reportsFailure(status);
    std::function<void()> failed = std::move(opener->failed);
    if (auto *notifier = qobject_cast<QSocketNotifier *>(opener->watcher))
        notifier->setEnabled(false);
    if (auto *timer = qobject_cast<QTimer *>(opener->watcher))
        timer->stop();
    // Its own signal is being delivered: it goes when that is over.
    opener->watcher->deleteLater();
    if (opener->handle >= 0)
        ::close(opener->handle);
    running_.erase(opener);
    // Last, as the message box runs an event loop of its own.
    if (failure)
        failed();
}

} // namespace zenbalo
