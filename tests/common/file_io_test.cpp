// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace zenbalo;
using namespace zenbalo::testing;
namespace fs = std::filesystem;

TEST(FileIo, ReadingTakesOnlyRegularFilesWithinTheLimit) {
    struct Case {
        const char *name;
        std::function<void()> make; // makes "f"
        size_t limit;
        FileContents::Status want;
    };
    const Case cases[] = {
        {"regular", [] { writeFile("f", "abc"); }, 3, FileContents::Status::Ok},
        {"missing", [] {}, 3, FileContents::Status::Missing},
        {"one byte too many", [] { writeFile("f", "abcd"); }, 3, FileContents::Status::Unreadable},
        {"a FIFO without a writer", [] { ASSERT_EQ(::mkfifo("f", 0600), 0); }, 3, FileContents::Status::Unreadable},
        {"a directory", [] { fs::create_directory("f"); }, 3, FileContents::Status::Unreadable},
        {"a link to a device", [] { fs::create_symlink("/dev/zero", "f"); }, 3, FileContents::Status::Unreadable},
        {"a link to a file", [] { writeFile("g", "abc"), fs::create_symlink("g", "f"); }, 3, FileContents::Status::Ok},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        const FileContents read = readWholeFile("f", c.limit);
        EXPECT_EQ(read.status, c.want);
        EXPECT_EQ(read.bytes, c.want == FileContents::Status::Ok ? "abc" : "");
    }
}

TEST(FileIo, WritingReplacesTheFileALinkPointsTo) {
    TempWorkDir dir;
    fs::create_directory("elsewhere");
    writeFile("elsewhere/real.txt", "old");
    fs::create_symlink("elsewhere/real.txt", "link.txt");
    ASSERT_TRUE(writeFileAtomically("link.txt", "new").ok());
    EXPECT_TRUE(fs::is_symlink("link.txt")) << "the link stays a link";
    EXPECT_EQ(readFile("elsewhere/real.txt"), "new");
    EXPECT_EQ(directoryEntries("elsewhere"), std::vector<std::string>{"real.txt"})
        << "no temporary file left beside it";

    fs::create_symlink("elsewhere/new.txt", "dangling.txt");
    ASSERT_TRUE(writeFileAtomically("dangling.txt", "made").ok());
    EXPECT_EQ(readFile("elsewhere/new.txt"), "made");
}

TEST(FileIo, WritingKeepsPermissionsAndNeverTakesAUsersFile) {
    TempWorkDir dir;
    writeFile("f", "old");
    fs::permissions("f", fs::perms::owner_read | fs::perms::owner_write);
    writeFile("f.new", "mine");
    writeFile("f.tmp", "mine too");
    ASSERT_TRUE(writeFileAtomically("f", "new").ok());
    EXPECT_EQ(fs::status("f").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile("f.new"), "mine");
    EXPECT_EQ(readFile("f.tmp"), "mine too");
    EXPECT_EQ(directoryEntries(), (std::vector<std::string>{"f", "f.new", "f.tmp"}));
}

TEST(FileIo, FailedWriteLeavesTheOldFileAndSaysWhy) {
    TempWorkDir dir;
    writeFile("f", "old");
    WriteResult result;
    {
        FileSizeLimit full;
        result = writeFileAtomically("f", "a new text longer than the limit");
    }
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(errorReason(result), "ディスクの空き容量が足りません。");
    EXPECT_EQ(readFile("f"), "old");
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"f"});

    fs::create_directory("d");
    result = writeFileAtomically("d", "x");
    EXPECT_EQ(result, WriteResult::fromErrno(EISDIR));
    EXPECT_EQ(withReason("dを保存できませんでした。", result), "dを保存できませんでした。\n同じ名前のフォルダーがあります。");
}

// Each kind of failure says what happened; none borrows another's words.
TEST(FileIo, EachFailureHasItsOwnReason) {
    struct Case {
        const char *name;
        WriteResult result;
        std::string want;
    };
    const Case cases[] = {
        {"success", WriteResult::fromErrno(0), ""},
        {"no working directory", WriteResult::fromErrno(ENOENT), "作業フォルダーが見つかりません。"},
        {"read-only", WriteResult::fromErrno(EROFS), "読み取り専用の場所です。"},
        {"no permission", WriteResult::fromErrno(EACCES), "書き込む権限がありません。"},
        {"a file in the way that could not be read", {WriteResult::Failure::UnreadableFile},
         "今あるファイルを読み込めないため、上書きしませんでした。"},
        {"any other error names its number", WriteResult::fromErrno(EOVERFLOW),
         "システムのエラーです（エラー番号 " + std::to_string(EOVERFLOW) + "）。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorReason(c.result), c.want);
        EXPECT_EQ(c.result.ok(), c.want.empty());
    }
}

TEST(FileIo, DamagedFileIsKeptWhileItsNameGoesOnExisting) {
    struct Case {
        const char *name;
        std::function<void()> make; // makes "f"
        bool moved;
    };
    const Case cases[] = {
        {"regular file", [] { writeFile("f", "damaged"); }, false},
        {"link to a regular file", [] { writeFile("g", "damaged"), fs::create_symlink("g", "f"); }, false},
        {"directory", [] { fs::create_directory("f"), writeFile("f/inside", "damaged"); }, true},
        {"link to a device", [] { fs::create_symlink("/dev/zero", "f"); }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        const KeptFile kept = keepDamagedFile("f");
        ASSERT_EQ(kept.error, 0);
        ASSERT_FALSE(kept.name.empty());
        EXPECT_EQ(kept.moved, c.moved);
        EXPECT_EQ(kept.name.rfind("f.damaged-", 0), 0u);
        if (!c.moved) {
            // A crash right now still leaves the file under its own name.
            EXPECT_EQ(readFile("f"), "damaged");
            EXPECT_EQ(readFile(kept.name), "damaged");
            ASSERT_TRUE(writeFileAtomically("f", "new").ok());
            EXPECT_EQ(readFile(kept.name), "damaged") << "the kept file is not the one replaced";
        }
        restoreDamagedFile("f", kept);
        EXPECT_FALSE(fs::exists(fs::symlink_status(kept.name))) << "undone after a failed save";
        EXPECT_TRUE(fs::exists(fs::symlink_status("f")));
    }
    TempWorkDir dir;
    EXPECT_TRUE(keepDamagedFile("missing").name.empty());
}

TEST(FileIo, NewFilesAreTheOwnersToReadAndWrite) {
    TempWorkDir dir;
    const mode_t previous = ::umask(0277);
    ASSERT_TRUE(writeFileAtomically("replaced", "x").ok());
    const OpenedFile appended = openForWriting("appended", O_WRONLY | O_APPEND | O_CREAT);
    ::umask(previous);
    ASSERT_GE(appended.fd, 0);
    ::close(appended.fd);
    EXPECT_TRUE(appended.created);
    EXPECT_EQ(modeOf("replaced"), 0600u);
    EXPECT_EQ(modeOf("appended"), 0600u);
    const OpenedFile missing = openForWriting("missing", O_WRONLY);
    EXPECT_EQ(missing.fd, -1);
    EXPECT_EQ(missing.result, WriteResult::fromErrno(ENOENT)) << "no O_CREAT, no new file";
}

TEST(FileIo, OnlyTheProgramsOwnLeftoversAreRemoved) {
    TempWorkDir dir;
    struct Case {
        const char *name;
        std::function<bool(const char *)> make;
        bool removed;
    };
    const auto regular = [](const char *name) { return writeFile(name, "x"), true; };
    const Case cases[] = {
        {".zenbalo.dat.AbC123", regular, true},
        {".log.txt.Zz9xY0", regular, true},
        {".zenbalo.dat.damaged-20240101-101010.q1W2e3", regular, true},
        {".zenbalo.dat.bak.abcdef", regular, true},
        {"zenbalo.dat.AbC123", regular, false},
        {".zenbalo.dat.AbC12", regular, false},
        {".zenbalo.dat.AbC1_3", regular, false},
        {".other.txt.AbC123", regular, false},
        {".zenbalo.datx.AbC123", regular, false},
        {".zenbalo.dat.damaged-.AbC123", regular, false},
        {".zenbalo.cfg.Dir123", [](const char *name) { return fs::create_directory(name); }, false},
        {".zenbalo.cfg.Lnk123", [](const char *name) { return fs::create_symlink("zenbalo.cfg", name), true; }, false},
        {".log.txt.Fgn123", [](const char *name) { return writeFile(name, "x"), giveToAnotherUser(name); }, false},
    };
    std::vector<std::string> kept;
    for (const Case &c : cases)
        if (c.make(c.name) && !c.removed)
            kept.push_back(c.name);
        else if (!c.removed)
            fs::remove(c.name);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(removeSaveLeftovers({"zenbalo.dat", "zenbalo.dat.bak", "zenbalo.cfg", "log.txt"}), 4);
    EXPECT_EQ(directoryEntries(), kept);
}
