// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
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

// Whatever else the mode says, a file the program writes must read back at
// the next start: its owner may always read and write it.
constexpr mode_t kOwnerReadWrite = S_IRUSR | S_IWUSR;

// The permissions a new file gets from this process.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return (0666 & ~mask) | kOwnerReadWrite;
}

bool foreignOwner(uid_t owner) { return owner != ::geteuid() && owner != 0; }

bool writeProtected(const struct stat &st) { return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0; }

std::string linkTarget(const std::string &path, const std::string &link) {
    return link[0] == '/' ? link : directoryOf(path) + "/" + link;
}

// The replaced file's owner and group stay where this process may give them:
// root replacing a player's file must not leave it root's.
void keepOwner(int fd, const struct stat &old) {
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid())
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Not ours to give: the file becomes ours, as a new file would.
    }
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
        path = linkTarget(path, std::string(target, static_cast<size_t>(n)));
    }
    return path;
}

WritePlace placeToWrite(const std::string &name) {
    WritePlace place{name, {}};
    // Link by link, each looked at itself (lstat), never through the system's
    // own resolution: that is what a link of another user's must not get.
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(place.path.c_str(), &st) != 0)
            return place; // a new file
        if (!S_ISLNK(st.st_mode)) {
            if (writeProtected(st))
                place.refusal = {WriteResult::Failure::WriteProtected};
            return place;
        }
        if (foreignOwner(st.st_uid)) {
            place.refusal = {WriteResult::Failure::ForeignLink};
            return place;
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(place.path.c_str(), target, sizeof target - 1);
        if (n <= 0) {
            place.refusal = WriteResult::fromErrno(n < 0 ? errno : ENOENT);
            return place;
        }
        place.path = linkTarget(place.path, std::string(target, static_cast<size_t>(n)));
    }
    place.refusal = WriteResult::fromErrno(ELOOP);
    return place;
}

WriteResult writeFileAtomically(const std::string &name, const std::string &bytes) {
    const WritePlace place = placeToWrite(name);
    if (!place.refusal.ok())
        return place.refusal;
    const std::string &target = place.path;
    const size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // A hidden name with a unique suffix, created exclusively: no file of the
    // player's can be taken for it or overwritten by it.
    std::string temp = directoryOf(target) + "/." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return WriteResult::fromErrno(errno);
    struct stat old;
    const bool replacing = ::lstat(target.c_str(), &old) == 0;
    const mode_t mode = replacing ? (old.st_mode & 07777) | kOwnerReadWrite : newFileMode();
    if (replacing)
        keepOwner(fd, old);
    int error = 0;
    // The mode after the owner: a change of owner clears the set-id bits.
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

OpenedFile openForWriting(const std::string &name, int flags) {
    OpenedFile opened;
    const WritePlace place = placeToWrite(name);
    if (!place.refusal.ok()) {
        opened.result = place.refusal;
        return opened;
    }
    // No link is followed here: placeToWrite has followed those it trusts,
    // and one put in their place since is refused (ELOOP), not followed.
    const bool create = (flags & O_CREAT) != 0;
    flags = (flags & ~O_CREAT) | O_NOFOLLOW | O_CLOEXEC;
    opened.fd = ::open(place.path.c_str(), flags);
    if (opened.fd < 0 && errno == ENOENT && create) {
        opened.fd = ::open(place.path.c_str(), flags | O_CREAT | O_EXCL, newFileMode());
        opened.created = opened.fd >= 0;
    }
    if (opened.fd < 0) {
        opened.result = WriteResult::fromErrno(errno);
        return opened;
    }
    struct stat st;
    // open() takes the umask off the mode; the owner's two bits go back on.
    if ((opened.created && ::fchmod(opened.fd, newFileMode()) != 0) || ::fstat(opened.fd, &st) != 0)
        opened.result = WriteResult::fromErrno(errno);
    else if (writeProtected(st)) // root opens it all the same
        opened.result = {WriteResult::Failure::WriteProtected};
    else if (S_ISREG(st.st_mode) && (st.st_mode & kOwnerReadWrite) != kOwnerReadWrite && st.st_uid == ::geteuid() &&
             ::fchmod(opened.fd, (st.st_mode & 07777) | kOwnerReadWrite) != 0)
        opened.result = WriteResult::fromErrno(errno);
    if (!opened.result.ok()) {
        ::close(opened.fd);
        opened.fd = -1;
        if (opened.created)
            ::unlink(place.path.c_str());
        opened.created = false;
    }
    return opened;
}

namespace {

bool isTemporarySuffix(std::string_view suffix) {
    return suffix.size() == 7 && suffix[0] == '.' && std::all_of(suffix.begin() + 1, suffix.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

// ".<file>.XXXXXX" or ".<file>.damaged-<stamp>.XXXXXX", as mkostemp fills them in.
bool isSaveLeftover(std::string_view entry, const std::vector<std::string> &files) {
    if (entry.size() < 9 || entry[0] != '.' || !isTemporarySuffix(entry.substr(entry.size() - 7)))
        return false;
    const std::string_view base = entry.substr(1, entry.size() - 8);
    constexpr std::string_view kKept = ".damaged-";
    return std::any_of(files.begin(), files.end(), [base, kKept](const std::string &file) {
        return base == file || (base.size() > file.size() + kKept.size() && base.substr(0, file.size()) == file &&
                                base.substr(file.size(), kKept.size()) == kKept);
    });
}

} // namespace

int removeSaveLeftovers(const std::vector<std::string> &files) {
    DIR *dir = ::opendir(".");
    if (!dir)
        return 0;
    int removed = 0;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st;
        if (!isSaveLeftover(entry->d_name, files) || ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        // Another user's file of that name in a shared directory is theirs.
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && ::unlinkat(fd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
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

std::string failureReason(const WriteResult &result) {
    switch (result.failure) {
    case WriteResult::Failure::None:
        return {};
    case WriteResult::Failure::System:
        return systemErrorReason(result.error);
    case WriteResult::Failure::UnreadableFile:
        return "今あるファイルを読み込めないため、上書きしませんでした。";
    case WriteResult::Failure::WriteProtected:
        return "書き込みが禁止されています。";
    case WriteResult::Failure::ForeignLink:
        return "ほかのユーザーのシンボリックリンクなので、その先には書き込みませんでした。";
    }
    return {};
}

} // namespace

std::string errorReason(const WriteResult &result) {
    const std::string reason = failureReason(result);
    return result.file.empty() || reason.empty() ? reason : result.file + "：" + reason;
}

std::string withReason(const std::string &message, const WriteResult &result) {
    return message + "\n" + errorReason(result);
}

} // namespace zenbalo
