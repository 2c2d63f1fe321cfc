// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include "analysis/analysis_record.h"
#include "common/file_io.h"
#include "engine/log_report.h"
#include "library/library_files.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zenbalo {

namespace {

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Read-only suffices for flock: a lock file made by another user of a shared
// data directory still keeps the two programs apart.
int openLockFile() {
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = ::open(kLockFile, O_RDWR | O_CREAT | flags, 0644);
    return fd >= 0 || errno != EACCES ? fd : ::open(kLockFile, O_RDONLY | flags);
}

// The local socket of the working directory for this user, in Linux's
// abstract namespace: no file, no limit of a path's length, and another
// user's socket of that name is told apart by its owner, not by its name.
std::string wakeSocketName() {
    struct stat dir {};
    ::stat(".", &dir);
    return "zenbalo-" + std::to_string(::geteuid()) + "-" + std::to_string(dir.st_dev) + "-" +
           std::to_string(dir.st_ino);
}

struct SocketAddress {
    sockaddr_un address{};
    socklen_t length = 0;
};

SocketAddress wakeAddress() {
    SocketAddress a;
    a.address.sun_family = AF_UNIX;
    const std::string name = wakeSocketName();
    // A leading zero byte puts the name in the abstract namespace; its length
    // is part of it, so the address ends with the name.
    std::memcpy(a.address.sun_path + 1, name.data(), name.size());
    a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

bool peerIsThisUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

// Asks the instance that holds the directory to show its window. Nothing is
// sent: the connection is the request, and a socket of another user's of
// that name learns nothing and gets nothing.
void wakeRunningInstance() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const SocketAddress a = wakeAddress();
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&a.address), a.length) == 0 && !peerIsThisUser(fd))
        ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

int listenForWakes() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const SocketAddress a = wakeAddress();
    // Taken by someone else: this instance still holds the lock, it only
    // cannot be brought to the front.
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&a.address), a.length) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void bringToFront(QWidget &window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    // A question or a secondary window blocks the main window: it is what the
    // player has to answer first.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

bool SingleInstance::acquire() {
    // The instance before may remove its lock file as it ends, between our
    // open and our lock: a lock on a name no longer there guards nothing.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = openLockFile();
        if (fd < 0)
            return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            if (held) {
                wakeRunningInstance();
                std::fputs("Zenbalo はこのディレクトリですでに動いています。\n", stderr);
            }
            return !held;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(kLockFile, &named) == 0 && sameFile(opened, named)) {
            lockFd_ = fd;
            removeSaveLeftovers({kLibraryFile, kBackupFile, kSettingsFile, kLogFile, kAnalysisFile});
            listenFd_ = listenForWakes();
            return true;
        }
        ::close(fd);
    }
    return true;
}

void SingleInstance::listen(QWidget &window) {
    if (listenFd_ < 0)
        return;
    auto *notifier = new QSocketNotifier(listenFd_, QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [this, &window] {
        for (int peer; (peer = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            const bool ours = peerIsThisUser(peer);
            ::close(peer);
            if (ours)
                bringToFront(window);
        }
    });
}

SingleInstance::~SingleInstance() {
    if (listenFd_ >= 0)
        ::close(listenFd_);
    if (lockFd_ < 0)
        return;
    // Removed while still locked, so that the directory is left as found; a
    // start that opened it meanwhile sees the name gone and tries again.
    struct stat opened {};
    struct stat named {};
    if (::fstat(lockFd_, &opened) == 0 && ::lstat(kLockFile, &named) == 0 && sameFile(opened, named))
        ::unlink(kLockFile);
    ::close(lockFd_);
}

} // namespace zenbalo
