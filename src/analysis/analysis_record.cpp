// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_record.h"

#include "common/sjis.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zenbalo {

namespace {

// Opens bunseki.txt for appending; `created` tells whether it was missing.
// Non-blocking, so that a FIFO without a reader fails instead of waiting.
int openForAppend(bool &created) {
    constexpr int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC;
    created = false;
    int fd = ::open(kAnalysisFile, flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(kAnalysisFile, flags | O_CREAT, 0666);
        created = fd >= 0;
    }
    return fd;
}

// A bunseki.txt that is no regular file is in the way and is left alone.
WriteResult regularFileCheck(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return WriteResult::fromErrno(errno);
    return S_ISREG(st.st_mode) ? WriteResult{} : WriteResult{WriteResult::Failure::UnreadableFile};
}

// A new file's name must reach the disk too, or a crash could lose the file.
// Some file systems cannot flush a directory; the record is safe without it.
void syncDirectory() {
    const int dir = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    ::fsync(dir);
    ::close(dir);
}

// Writes all of `bytes` at the end; `written` counts what reached the file,
// also when a later part failed.
int appendAll(int fd, const std::string &bytes, size_t &written) {
    written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        written += static_cast<size_t>(n);
    }
    return 0;
}

} // namespace

std::vector<std::string> analysisRecordLines(const AnalysisRecord &record) {
    const AnalysisTotals &t = record.totals;
    const AnalysisResults &r = record.results;
    // The blanks line the values up in one column in a fixed-width font:
    // 14 Shift_JIS bytes before the totals, 10 before the results.
    return {
        "*** " + record.date + " ***",
        record.parlour + "(" + record.yenPerBall + "円)",
        record.machineName + "(" + record.payout + "個)",
        "総回転数:     " + t.playRotations + "回転",
        "総大当たり数: " + t.playHits + "回",
        "換金出玉数:   " + t.exchangedBalls + "個",
        "投資金額:     " + t.investedYen + "円",
        "",
        "収支 :    " + r[0] + "円",
        "仕事量:   " + r[1] + "円",
        "誤差:     " + r[2] + "回",
        "ツキ指数: " + r[3] + "%",
        "回転率:   " + r[4] + "回転/千円",
        "",
    };
}

std::string analysisRecordBytes(const AnalysisRecord &record) { return sjisLines(analysisRecordLines(record)); }

WriteResult appendAnalysisRecord(const AnalysisRecord &record, RecordPlace *place) {
    const std::string bytes = analysisRecordBytes(record);
    bool created = false;
    const int fd = openForAppend(created);
    if (fd < 0)
        return WriteResult::fromErrno(errno);
    if (const WriteResult regular = regularFileCheck(fd); !regular.ok()) {
        ::close(fd);
        return regular;
    }
    size_t written = 0;
    int error = appendAll(fd, bytes, written);
    // With O_APPEND the offset after the write is the end of this record.
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    const off_t start = end - static_cast<off_t>(written);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error == 0 && created)
        syncDirectory();
    if (error != 0 && written > 0 && end >= 0) {
        // A cut that fails too leaves a torn record, which every reading skips.
        [[maybe_unused]] const int cut = ::ftruncate(fd, start);
    }
    ::close(fd);
    if (error != 0 && created)
        ::unlink(kAnalysisFile);
    if (error == 0 && place)
        *place = {static_cast<uint64_t>(start), bytes.size()};
    return WriteResult::fromErrno(error);
}

WriteResult cutAnalysisRecord(const RecordPlace &place) {
    const int fd = ::open(kAnalysisFile, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return WriteResult::fromErrno(errno);
    struct stat st;
    int error = 0;
    if (::fstat(fd, &st) != 0)
        error = errno;
    // Whatever came after the record is someone else's: leave it all.
    else if (!S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) != place.start + place.length)
        error = EINVAL;
    else if (::ftruncate(fd, static_cast<off_t>(place.start)) != 0 || ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    return WriteResult::fromErrno(error);
}

WriteResult emptyAnalysisFile() { return writeFileAtomically(kAnalysisFile, ""); }

} // namespace zenbalo
