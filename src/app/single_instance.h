// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace zenbalo {

// The lock file in the working directory; the manual names it.
inline constexpr const char *kLockFile = ".zenbalo.lock";

// One running program per working directory: two on one directory would each
// overwrite the other's saves at closing. The lock is a file in the directory
// itself, so no environment (a runtime directory or none) and no other user's
// file in a shared place decides it. It is held for the life of the process
// and released by the system when the process ends, so a crashed instance
// never blocks the next start. A second start asks the first, through a local
// socket named after the directory and the user, to come to the front.
class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another instance holds the working directory; it has been
    // asked to show its window. True when this one holds it, and also when no
    // lock can be taken there (no right to make the file): that must not stop
    // the program. Holding it, this instance removes what interrupted saves
    // left behind, since no save can be under way any more.
    bool acquire();

    // From now on a second start brings `window` (or the dialog it shows) to
    // the front, where the desktop allows. Needs the QApplication.
    void listen(QWidget &window);

private:
    int lockFd_ = -1;
    int listenFd_ = -1;
};

} // namespace zenbalo
