// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zenbalo {

namespace {

std::string directoryOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a new file gets from this process.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::string &bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

FileContents readWholeFile(const std::string &name, size_t maxBytes) {
    FileContents result;
    // Non-blocking, so that a FIFO without a writer cannot stop the program.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileContents::Status::Missing : FileContents::Status::Unreadable;
        return result;
    }
    struct stat st;
    result.status = FileContents::Status::Unreadable;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return result;
    }
    result.bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            result.status = FileContents::Status::Ok;
            break;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A file that grew past the limit while being read is no better.
        if (n < 0 || result.bytes.size() + static_cast<size_t>(n) > maxBytes)
            break;
        result.bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (result.status != FileContents::Status::Ok)
        result.bytes.clear();
    return result;
}

std::string resolveLinks(const std::string &name) {
    std::string path = name;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            return path;
        const std::string link(target, static_cast<size_t>(n));
        path = link[0] == '/' ? link : directoryOf(path) + "/" + link;
    }
    return path;
}

WriteResult writeFileAtomically(const std::string &name, const std::string &bytes) {
    const std::string target = resolveLinks(name);
    const size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // A hidden name with a unique suffix, created exclusively: no file of the
    // player's can be taken for it or overwritten by it.
    std::string temp = directoryOf(target) + "/." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return WriteResult::fromErrno(errno);
    struct stat old;
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temp.c_str());
    return WriteResult::fromErrno(error);
}

bool fileExists(const std::string &name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

std::string damagedFileName(const std::string &base, std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string first = base + ".damaged-" + stamp;
    std::string name = first;
    for (int n = 1; fileExists(name); ++n)
        name = first + "-" + std::to_string(n);
    return name;
}

KeptFile keepDamagedFile(const std::string &name) {
    KeptFile kept;
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0)
        return kept;
    const std::string target = resolveLinks(name);
    const std::string aside = damagedFileName(name, std::time(nullptr));
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        if (::link(target.c_str(), aside.c_str()) == 0) {
            kept.name = aside;
            return kept;
        }
        // No hard links here (another file system, say): a copy will do.
        const FileContents copy = readWholeFile(target);
        if (copy.status == FileContents::Status::Ok) {
            const WriteResult written = writeFileAtomically(aside, copy.bytes);
            if (written.ok())
                kept.name = aside;
            kept.error = written.error;
            return kept;
        }
    }
    // The name itself goes aside: a link to a device, not the device.
    if (::rename(name.c_str(), aside.c_str()) != 0) {
        kept.error = errno;
        return kept;
    }
    kept.name = aside;
    kept.moved = true;
    return kept;
}

void restoreDamagedFile(const std::string &name, const KeptFile &kept) {
    if (kept.name.empty())
        return;
    if (kept.moved)
        ::rename(kept.name.c_str(), name.c_str());
    else
        ::unlink(kept.name.c_str());
}

namespace {

std::string systemErrorReason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "ディスクの空き容量が足りません。";
    case EACCES:
    case EPERM:
        return "書き込む権限がありません。";
    case EROFS:
        return "読み取り専用の場所です。";
    case EISDIR:
    case ENOTEMPTY:
    case EEXIST:
        return "同じ名前のフォルダーがあります。";
    case ENOENT:
    case ENOTDIR:
        return "作業フォルダーが見つかりません。";
    case EIO:
        return "ディスクの読み書きに失敗しました。";
    default:
        return "システムのエラーです（エラー番号 " + std::to_string(error) + "）。";
    }
}

} // namespace

std::string errorReason(const WriteResult &result) {
    switch (result.failure) {
    case WriteResult::Failure::None:
        return {};
    case WriteResult::Failure::System:
        return systemErrorReason(result.error);
    case WriteResult::Failure::UnreadableFile:
        return "今あるファイルを読み込めないため、上書きしませんでした。";
    }
    return {};
}

std::string withReason(const std::string &message, const WriteResult &result) {
    return message + "\n" + errorReason(result);
}

} // namespace zenbalo
