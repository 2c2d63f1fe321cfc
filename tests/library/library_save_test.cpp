// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"
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

// A library file as a start-up leaves it after reading what is on disk.
LibraryFile readAtStart() {
    LibraryFile file;
    file.read();
    return file;
}

Library readBack() { return LibraryFile().read().library; }

} // namespace

TEST(LibrarySave, PreviousFileIsKeptAsBak) {
    TempWorkDir dir;
    LibraryFile file;
    const Library first = numberedLibrary("first"), second = numberedLibrary("second"),
                  third = numberedLibrary("third");

    ASSERT_TRUE(file.write(first).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(first));
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{kLibraryFile});

    ASSERT_TRUE(file.write(second).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(second));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(first));

    ASSERT_TRUE(file.write(third).ok());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(third));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(second));
    EXPECT_EQ(directoryEntries(), (std::vector<std::string>{kLibraryFile, "zenbalo.dat.bak"}));
    EXPECT_FALSE(file.damagedOnDisk());
    EXPECT_EQ(readBack(), third);
}

TEST(LibrarySave, DamagedFileIsMovedAsideAndNeverOverwritten) {
    TempWorkDir dir;
    const std::string damagedBytes = fixture("library/cut_short.dat");
    writeFile(kLibraryFile, damagedBytes);
    writeFile("zenbalo.dat.bak", "older backup");
    LibraryFile file;
    ASSERT_EQ(file.read().status, LibraryLoad::Status::Damaged);

    ASSERT_TRUE(file.write(numberedLibrary("one")).ok());
    EXPECT_FALSE(file.damagedOnDisk());
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("one")));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), "older backup");
    const auto aside = keptDamagedFiles(kLibraryFile);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside[0]), damagedBytes);

    ASSERT_TRUE(file.write(numberedLibrary("two")).ok());
    ASSERT_TRUE(file.write(numberedLibrary("three")).ok());
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("two")));
    EXPECT_EQ(keptDamagedFiles(kLibraryFile), aside);
    EXPECT_EQ(readFile(aside[0]), damagedBytes);

    // A second damaged file, possibly within the same second, gets a name of its own.
    writeFile(kLibraryFile, "\"unclosed");
    ASSERT_EQ(file.read().status, LibraryLoad::Status::Damaged);
    ASSERT_TRUE(file.write(numberedLibrary("four")).ok());
    const auto both = keptDamagedFiles(kLibraryFile);
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
        LibraryFile file;
        if (damagedAtStart)
            file = readAtStart();
        ASSERT_TRUE(file.write(numberedLibrary("new")).ok());
        EXPECT_FALSE(file.damagedOnDisk());
        EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("new")));
        const auto aside = keptDamagedFiles(kLibraryFile);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(readFile(aside[0] + "/inside"), "kept");
        EXPECT_FALSE(fileExists("zenbalo.dat.bak"));
    }
}

TEST(LibrarySave, DamagedButNoLongerPresent) {
    TempWorkDir dir;
    writeFile(kLibraryFile, "\"cut short");
    LibraryFile file = readAtStart();
    ASSERT_TRUE(file.damagedOnDisk());
    std::filesystem::remove(kLibraryFile);
    ASSERT_TRUE(file.write(numberedLibrary("new")).ok());
    EXPECT_FALSE(file.damagedOnDisk());
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{kLibraryFile});
}

TEST(LibrarySave, BackupThatCannotBeWrittenStopsTheSave) {
    TempWorkDir dir;
    writeFile(kLibraryFile, libraryBytes(numberedLibrary("old")));
    std::filesystem::create_directories("zenbalo.dat.bak/occupied");
    const auto before = directoryEntries();
    LibraryFile file = readAtStart();
    EXPECT_FALSE(file.write(numberedLibrary("blocked")).ok());
    EXPECT_FALSE(file.damagedOnDisk());
    EXPECT_EQ(readBack(), numberedLibrary("old"));
    EXPECT_EQ(directoryEntries(), before);
}

TEST(LibrarySave, LargestLibrarySavesAndReadsBack) {
    TempWorkDir dir;
    const Library largest = numberedLibrary("largest", kMaxMachines);
    ASSERT_TRUE(LibraryFile().write(largest).ok());
    EXPECT_EQ(readBack(), largest);
}

TEST(LibrarySave, FullDiskChangesNothing) {
    for (bool damagedAtStart : {false, true}) {
        SCOPED_TRACE(damagedAtStart);
        TempWorkDir dir;
        writeFile(kLibraryFile, "old contents");
        LibraryFile file;
        if (damagedAtStart)
            file = readAtStart();
        {
            FileSizeLimit full;
            EXPECT_FALSE(file.write(numberedLibrary("new")).ok());
        }
        EXPECT_EQ(file.damagedOnDisk(), damagedAtStart);
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
    ASSERT_EQ(keptDamagedFiles(kLibraryFile).size(), 1u);
    EXPECT_EQ(readFile(keptDamagedFiles(kLibraryFile)[0]), "\"cut short");
    EXPECT_EQ(LibraryFile().read().library, numberedLibrary("new"));
}

TEST(LibrarySave, NamesBesideTheLibraryAreThePlayersOwn) {
    TempWorkDir dir;
    writeFile("zenbalo.dat.new", "a file of the player's");
    std::filesystem::create_directory("zenbalo.dat.tmp");
    LibraryFile file;
    ASSERT_TRUE(file.write(numberedLibrary("first")).ok());
    ASSERT_TRUE(file.write(numberedLibrary("second")).ok());
    EXPECT_EQ(readFile("zenbalo.dat.new"), "a file of the player's");
    EXPECT_EQ(directoryEntries(),
              (std::vector<std::string>{kLibraryFile, "zenbalo.dat.bak", "zenbalo.dat.new", "zenbalo.dat.tmp"}));

    std::filesystem::remove("zenbalo.dat.bak");
    std::filesystem::create_directory("zenbalo.dat.bak");
    const WriteResult blocked = file.write(numberedLibrary("third"));
    EXPECT_FALSE(blocked.ok()) << "no save without the backup of the file it replaces";
    EXPECT_EQ(errorReason(blocked), "zenbalo.dat.bak：同じ名前のフォルダーがあります。") << "names the file in the way";
    EXPECT_EQ(readFile(kLibraryFile), libraryBytes(numberedLibrary("second")));
}

TEST(LibrarySave, LinkedLibraryIsWrittenThroughTheLink) {
    TempWorkDir dir;
    std::filesystem::create_directory("sync");
    LibraryFile file;
    ASSERT_TRUE(file.write(numberedLibrary("first")).ok());
    std::filesystem::rename(kLibraryFile, "sync/library.dat");
    std::filesystem::create_symlink("sync/library.dat", kLibraryFile);
    ASSERT_TRUE(file.write(numberedLibrary("second")).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(kLibraryFile));
    EXPECT_EQ(readFile("sync/library.dat"), libraryBytes(numberedLibrary("second")));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("first")));
}

TEST(LibrarySave, LargestLibraryTheBoxesCanMakeReadsBack) {
    TempWorkDir dir;
    std::string longest;
    for (int i = 0; i < kMaxFieldCharacters; ++i)
        longest += "漢"; // two bytes in the file
    MachineRecord record;
    record.fill(longest);
    GroupRecords groups;
    for (int i = 0; i < kMaxMachines; ++i)
        groups[static_cast<size_t>(i % kGroups)].push_back(record);
    ASSERT_TRUE(LibraryFile().write(makeLibrary(groups)).ok());
    const LibraryLoad load = LibraryFile().read();
    EXPECT_EQ(load.status, LibraryLoad::Status::Ok);
    EXPECT_EQ(load.library.machineCount(), kMaxMachines);
}

TEST(LibrarySave, LeftoversOfASaveCutShortChangeNothing) {
    // A crash after the new file was written but before it was renamed
    // leaves a hidden temporary file beside the old one.
    TempWorkDir dir;
    LibraryFile file;
    ASSERT_TRUE(file.write(numberedLibrary("old")).ok());
    writeFile(".zenbalo.dat.Ab12Cd", libraryBytes(numberedLibrary("half")).substr(0, 40));
    EXPECT_EQ(readBack(), numberedLibrary("old"));
    ASSERT_TRUE(file.write(numberedLibrary("new")).ok());
    EXPECT_EQ(readBack(), numberedLibrary("new"));
    EXPECT_EQ(readFile("zenbalo.dat.bak"), libraryBytes(numberedLibrary("old")));
}
