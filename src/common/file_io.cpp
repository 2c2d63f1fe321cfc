#include "common/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zenbalo {

FileContents readWholeFile(const std::string &name) {
    FileContents result;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileContents::Status::Missing : FileContents::Status::Unreadable;
        return result;
    }
    result.status = FileContents::Status::Ok;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.status = FileContents::Status::Unreadable;
            result.bytes.clear();
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return result;
}

bool writeFileAtomically(const std::string &name, const std::string &bytes) {
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 20 && fd < 0; ++attempt) {
        temp = name + ".tmp" + std::to_string(random() % 1000000);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), name.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool fileExists(const std::string &name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

} // namespace zenbalo
