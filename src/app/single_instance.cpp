// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace zenbalo {

bool acquireSingleInstanceLock() {
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = (runtime && *runtime) ? std::string(runtime) + "/zenbalo.lock"
                                                   : "/tmp/zenbalo-" + std::to_string(::getuid()) + ".lock";
    // Close-on-exec, so a program we launch cannot keep the lock after we end.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for a lock must not stop the program
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    return !heldElsewhere;
}

} // namespace zenbalo
