// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"
#include "library/library_files_internal.h"
#include "support/builders.h"
#include "support/printers.h"

#include "common/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

using namespace zenbalo;
using namespace zenbalo::testing;

namespace {

std::vector<std::string> damagedFiles() {
    std::vector<std::string> names;
    const std::regex pattern(R"(zenbalo\.dat\.damaged-\d{8}-\d{6}(-\d+)?)");
    for (const std::string &name : directoryEntries())
        if (std::regex_match(name, pattern))
            names.push_back(name);
    return names;
}

} // namespace

TEST(LibrarySave, PreviousFileIsKeptAsBak) {
    TempWorkDir dir;
    bool damaged = false;
    const Library first = numberedLibrary("first"), second = numberedLibrary("second"),
                  third = numberedLibrary("third");

    ASSERT_TRUE(saveLibrary(first, damaged).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(first));
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{kLibraryFile});

    ASSERT_TRUE(saveLibrary(second, damaged).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(second));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(first));

    ASSERT_TRUE(saveLibrary(third, damaged).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(third));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(second));
    EXPECT_EQ(directoryEntries(), (std::vector<std::string>{kLibraryFile, "zenbalo.dat.bak"}));
    EXPECT_FALSE(damaged);
    EXPECT_EQ(loadLibrary().library, third);
}

TEST(LibrarySave, DamagedFileIsMovedAsideAndNeverOverwritten) {
    TempWorkDir dir;
    const std::string damagedBytes = fixture("library/cut_short.dat");
    writeFile(kLibraryFile, damagedBytes);
    writeFile("zenbalo.dat.bak", "older backup");
    const LibraryLoad load = loadLibrary();
    ASSERT_EQ(load.status, LibraryLoad::Status::Damaged);
    bool damaged = true;

    ASSERT_TRUE(saveLibrary(numberedLibrary("one"), damaged).ok());
    EXPECT_FALSE(damaged);
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("one")));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), "older backup");
    const auto aside = damagedFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside[0]), damagedBytes);

    ASSERT_TRUE(saveLibrary(numberedLibrary("two"), damaged).ok());
    ASSERT_TRUE(saveLibrary(numberedLibrary("three"), damaged).ok());
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("two")));
    EXPECT_EQ(damagedFiles(), aside);
    EXPECT_EQ(readFile(aside[0]), damagedBytes);

    // A second damaged file, possibly within the same second, gets a name of its own.
    writeFile(kLibraryFile, "\"unclosed");
    damaged = true;
    ASSERT_TRUE(saveLibrary(numberedLibrary("four"), damaged).ok());
    const auto both = damagedFiles();
    ASSERT_EQ(both.size(), 2u);
    std::set<std::string> contents;
    for (const std::string &name : both)
        contents.insert(readFile(name));
    EXPECT_EQ(contents, (std::set<std::string>{damagedBytes, "\"unclosed"}));
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("four")));
}

TEST(LibrarySave, DirectoryInPlaceOfTheFileIsMovedAside) {
    for (bool damagedAtStart : {true, false}) {
        SCOPED_TRACE(damagedAtStart);
        TempWorkDir dir;
        std::filesystem::create_directory(kLibraryFile);
        writeFile(std::string(kLibraryFile) + "/inside", "kept");
        bool damaged = damagedAtStart;
        ASSERT_TRUE(saveLibrary(numberedLibrary("new"), damaged).ok());
        EXPECT_FALSE(damaged);
        EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("new")));
        const auto aside = damagedFiles();
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(readFile(aside[0] + "/inside"), "kept");
        EXPECT_FALSE(fileExists("zenbalo.dat.bak"));
    }
}

TEST(LibrarySave, DamagedButNoLongerPresent) {
    TempWorkDir dir;
    bool damaged = true;
    ASSERT_TRUE(saveLibrary(numberedLibrary("new"), damaged).ok());
    EXPECT_FALSE(damaged);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{kLibraryFile});
}

TEST(LibrarySave, FailureLeavesTheFileOnDiskUnchanged) {
    const Library largest = numberedLibrary("largest", kMaxMachines);
    Library inconsistent = numberedLibrary("inconsistent");
    inconsistent.machineStrings.pop_back();
    Library negative = numberedLibrary("negative");
    negative.groupCounts[0] = -1;
    negative.groupCounts[1] = 1;

    struct Case {
        const char *name;
        Library library;
        bool blockBackup;
        bool damaged;
    };
    const Case cases[] = {
        {"2048 machines", numberedLibrary("too many", kMaxMachines + 1), false, false},
        {"2048 machines over a damaged file", numberedLibrary("too many", kMaxMachines + 1), false, true},
        {"counts disagree with the strings", inconsistent, false, false},
        {"negative count", negative, false, false},
        {"backup cannot be written", numberedLibrary("blocked"), true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        writeFile(kLibraryFile, "old contents");
        if (c.blockBackup)
            std::filesystem::create_directories("zenbalo.dat.bak/occupied");
        const auto before = directoryEntries();
        bool damaged = c.damaged;
        EXPECT_FALSE(saveLibrary(c.library, damaged).ok());
        EXPECT_EQ(damaged, c.damaged);
        EXPECT_EQ(readFile(kLibraryFile), "old contents");
        EXPECT_EQ(directoryEntries(), before);
    }

    TempWorkDir dir;
    bool damaged = false;
    ASSERT_TRUE(saveLibrary(largest, damaged).ok());
    EXPECT_EQ(loadLibrary().library, largest);
}

TEST(LibrarySave, FullDiskChangesNothing) {
    for (bool damagedAtStart : {false, true}) {
        SCOPED_TRACE(damagedAtStart);
        TempWorkDir dir;
        writeFile(kLibraryFile, "old contents");
        bool damaged = damagedAtStart;
        {
            FileSizeLimit full;
            EXPECT_FALSE(saveLibrary(numberedLibrary("new"), damaged).ok());
        }
        EXPECT_EQ(damaged, damagedAtStart);
        EXPECT_EQ(readFile(kLibraryFile), "old contents");
        EXPECT_EQ(directoryEntries().size(), 1u) << "no temporary file, backup or moved file is left behind";
    }
}

TEST(LibrarySave, DamagedFileNamesAreNeverReused) {
    TempWorkDir dir;
    const std::time_t now = std::time(nullptr);
    const std::string base = damagedFileName(kLibraryFile, now);
    EXPECT_TRUE(std::regex_match(base, std::regex(R"(zenbalo\.dat\.damaged-\d{8}-\d{6})")));
    writeFile(base, "");
    EXPECT_EQ(damagedFileName(kLibraryFile, now), base + "-1");
    writeFile(base + "-1", "");
    EXPECT_EQ(damagedFileName(kLibraryFile, now), base + "-2");
}

TEST(LibrarySave, LibraryFileRemembersADamagedFileUntilItIsSaved) {
    TempWorkDir dir;
    writeFile(kLibraryFile, "\"cut short");
    LibraryFile file;
    EXPECT_EQ(file.read().status, LibraryLoad::Status::Damaged);
    EXPECT_TRUE(file.damagedOnDisk());
    {
        FileSizeLimit full;
        EXPECT_FALSE(file.write(numberedLibrary("new")).ok());
    }
    EXPECT_TRUE(file.damagedOnDisk()) << "a failed save must not forget the file is precious";
    ASSERT_TRUE(file.write(numberedLibrary("new")).ok());
    EXPECT_FALSE(file.damagedOnDisk());
    ASSERT_EQ(damagedFiles().size(), 1u);
    EXPECT_EQ(readFile(damagedFiles()[0]), "\"cut short");
    EXPECT_EQ(LibraryFile().read().library, numberedLibrary("new"));
}

TEST(LibrarySave, NamesBesideTheLibraryAreThePlayersOwn) {
    TempWorkDir dir;
    writeFile("zenbalo.dat.new", "a file of the player's");
    std::filesystem::create_directory("zenbalo.dat.tmp");
    bool damaged = false;
    ASSERT_TRUE(saveLibrary(numberedLibrary("first"), damaged).ok());
    ASSERT_TRUE(saveLibrary(numberedLibrary("second"), damaged).ok());
    EXPECT_EQ(readFile("zenbalo.dat.new"), "a file of the player's");
    EXPECT_EQ(directoryEntries(),
              (std::vector<std::string>{kLibraryFile, "zenbalo.dat.bak", "zenbalo.dat.new", "zenbalo.dat.tmp"}));

    std::filesystem::remove("zenbalo.dat.bak");
    std::filesystem::create_directory("zenbalo.dat.bak");
    const WriteResult blocked = saveLibrary(numberedLibrary("third"), damaged);
    EXPECT_FALSE(blocked.ok()) << "no save without the backup of the file it replaces";
    EXPECT_EQ(errorReason(blocked.error), "同じ名前のフォルダーがあります。");
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("second")));
}

TEST(LibrarySave, LinkedLibraryIsWrittenThroughTheLink) {
    TempWorkDir dir;
    std::filesystem::create_directory("sync");
    bool damaged = false;
    ASSERT_TRUE(saveLibrary(numberedLibrary("first"), damaged).ok());
    std::filesystem::rename(kLibraryFile, "sync/library.dat");
    std::filesystem::create_symlink("sync/library.dat", kLibraryFile);
    ASSERT_TRUE(saveLibrary(numberedLibrary("second"), damaged).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(kLibraryFile));
    EXPECT_EQ(readFile("sync/library.dat"), libraryBytes(numberedLibrary("second")));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("first")));
}

TEST(LibrarySave, LargestLibraryTheBoxesCanMakeReadsBack) {
    TempWorkDir dir;
    Library largest;
    std::string longest;
    for (int i = 0; i < kMaxFieldCharacters; ++i)
        longest += "漢"; // two bytes in the file
    MachineRecord record;
    record.fill(longest);
    for (int i = 0; i < kMaxMachines; ++i)
        appendMachine(largest, i % kGroups, record);
    bool damaged = false;
    ASSERT_TRUE(saveLibrary(largest, damaged).ok());
    const LibraryLoad load = loadLibrary();
    EXPECT_EQ(load.status, LibraryLoad::Status::Ok);
    EXPECT_EQ(load.library.machineCount(), kMaxMachines);
}

TEST(LibrarySave, LeftoversOfASaveCutShortChangeNothing) {
    // A crash after the new file was written but before it was renamed
    // leaves a hidden temporary file beside the old one.
    TempWorkDir dir;
    bool damaged = false;
    ASSERT_TRUE(saveLibrary(numberedLibrary("old"), damaged).ok());
    writeFile(".zenbalo.dat.Ab12Cd", libraryBytes(numberedLibrary("half")).substr(0, 40));
    EXPECT_EQ(loadLibrary().library, numberedLibrary("old"));
    ASSERT_TRUE(saveLibrary(numberedLibrary("new"), damaged).ok());
    EXPECT_EQ(loadLibrary().library, numberedLibrary("new"));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("old")));
}
