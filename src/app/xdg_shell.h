// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shell.h"

#include <QObject>
#include <functional>
#include <list>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zenbalo {

// Opens through xdg-open (xdg-utils), which starts the application that the
// desktop associates with the document or address. The opener's exit status
// is its verdict, whenever it comes: some desktops' openers return at once,
// others stay until the document is closed, so the window never waits for
// one, and a failure is reported as the opener ends.
class XdgShell : public Shell {
public:
    // How the end of an opener is noticed: through a process handle (Linux
    // 5.3 on), or by a look every tenth of a second where there is none.
    enum class Watch { ProcessHandle, Polling };

    explicit XdgShell(std::string opener = "xdg-open", Watch watch = Watch::ProcessHandle);
    ~XdgShell() override;
    XdgShell(const XdgShell &) = delete;
    XdgShell &operator=(const XdgShell &) = delete;

    // Fails at once when the opener is missing or cannot be started; later
    // when it exits with a failure (missing file, no associated application)
    // or is killed.
    void open(const std::string &target, std::function<void()> failed) override;

    // Openers started that have not ended yet.
    size_t running() const { return running_.size(); }

private:
    struct Opener {
        pid_t pid = 0;
        int handle = -1;            // the process handle, when watched through one
        QObject *watcher = nullptr; // a child of watchers_
        std::function<void()> failed;
    };
    void watch(pid_t pid, std::function<void()> failed);
    void look(pid_t pid);

    std::string opener_;
    Watch watch_;
    QObject watchers_;
    std::list<Opener> running_;
};

// The environment the opener runs in: ours, with a UTF-8 character type, so
// that it can handle a name such as 説明書.txt. The character type in force
// (LC_ALL, else LC_CTYPE, else LANG) is kept when it is UTF-8; otherwise the
// opener gets C.UTF-8 (in LC_CTYPE, or in LC_ALL when that is set, as it
// outranks the others). Our own process is left as it is.
std::vector<std::string> openerEnvironment(std::vector<std::string> environment);

} // namespace zenbalo
