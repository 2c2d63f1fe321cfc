// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"
#include "support/builders.h"
#include "support/printers.h"

#include "common/sjis.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace zenbalo;
using namespace zenbalo::testing;

namespace {

std::vector<std::string> fileLines(const std::string &bytes) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = bytes.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(bytes.substr(begin, end - begin));
    EXPECT_EQ(begin, bytes.size()) << "text after the last CR LF";
    return lines;
}

// A file with the given counts and that many machines, built line by line.
std::string bigLibraryFile(std::array<int, kGroups> counts) {
    std::string text;
    for (int g = 0; g < kGroups; ++g)
        text += "\"T" + std::to_string(g) + "\"\r\n";
    int machines = 0;
    for (int count : counts) {
        text += std::to_string(count) + "\r\n";
        machines += count;
    }
    for (int i = 0; i < machines; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "M%05d", i);
        for (const std::string &field : machineRecord(name, "1/319.7"))
            text += "\"" + field + "\"\r\n";
    }
    return text;
}

} // namespace

TEST(LibraryFiles, FixturesReadAndWriteBackByteForByte) {
    for (const char *name : {"empty.dat", "groups_0_and_4.dat", "comma.dat", "yen.dat"}) {
        SCOPED_TRACE(name);
        const std::string bytes = fixture(std::string("library/") + name);
        ASSERT_FALSE(bytes.empty());
        const auto library = parseLibrary(bytes);
        ASSERT_TRUE(library);
        EXPECT_EQ(libraryBytes(*library), bytes);
    }
}

TEST(LibraryFiles, EmptyLibrary) {
    const Library empty = makeLibrary({}, groupsZeroAndFour().groupTitles());
    EXPECT_EQ(libraryBytes(empty), fixture("library/empty.dat"));
    const auto lines = fileLines(libraryBytes(empty));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[14], "\"\"");

    const auto read = parseLibrary(fixture("library/empty.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, empty);
    EXPECT_EQ(read->machineCount(), 0);
    EXPECT_TRUE(read->machineStrings().empty());
}

TEST(LibraryFiles, MachinesOfGroupFourStandInLines63To94) {
    const Library library = groupsZeroAndFour();
    const std::string bytes = libraryBytes(library);
    EXPECT_EQ(bytes, fixture("library/groups_0_and_4.dat"));

    const auto lines = fileLines(bytes);
    ASSERT_EQ(lines.size(), 14u + 80u);
    const std::vector<std::string> counts(lines.begin() + 7, lines.begin() + 14);
    EXPECT_EQ(counts, (std::vector<std::string>{"3", "0", "0", "0", "2", "0", "0"}));
    EXPECT_EQ(lines[62], *encodeSjis("\"ＳＴ一号\"")); // line 63
    EXPECT_EQ(lines[93], *encodeSjis("\"450\""));      // line 94: payout of the last machine

    const auto read = parseLibrary(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, library);
    EXPECT_EQ(read->machineCount(), 5);
    EXPECT_EQ(read->group(4).machine(1), groupsZeroAndFour().group(4).machine(1));
}

TEST(LibraryFiles, CommaAndYenSignSurvive) {
    const auto comma = parseLibrary(fixture("library/comma.dat"));
    ASSERT_TRUE(comma);
    EXPECT_EQ(comma->group(0).title(), "ミドル, 甘デジ");
    EXPECT_EQ(comma->group(0).name(0), "海物語, 改");

    const auto yen = parseLibrary(fixture("library/yen.dat"));
    ASSERT_TRUE(yen);
    EXPECT_EQ(yen->group(0).title(), "\u00A51パチ");
    EXPECT_EQ(yen->group(0).name(0), "\u00A54パチ \u00A5");
    // A backslash in memory is the same byte in the file.
    Library backslash = *yen;
    backslash.setTitle(0, "\\1パチ");
    EXPECT_EQ(libraryBytes(backslash), fixture("library/yen.dat"));
}

TEST(LibraryFiles, HandEditedFileReads) {
    const auto read = parseLibrary(fixture("library/loose.dat"));
    ASSERT_TRUE(read);
    const Library want = makeLibrary(
        {{{{"名前", "1/300", "1/30", "50", "0", "10000", "10000", "100", "100", "0", "0", "0", "0", "0", "0", "1500"}}}},
        {"T0", "T1", "T2", "T3", "T4", "T5", "T6"});
    EXPECT_EQ(*read, want);
}

TEST(LibraryFiles, DoubleQuoteCannotBreakTheFile) {
    const Library library =
        makeLibrary({{{}, {}, {machineRecord("a\"b", "1/319.7")}}}, {"", "", "say \"hi\"", "", "", "", ""});
    const auto read = parseLibrary(libraryBytes(library));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->group(2).title(), "say \u201Dhi\u201D");
    EXPECT_EQ(read->group(2).name(0), "a\u201Db");
    EXPECT_EQ(read->group(2).machine(0)[1], "1/319.7");
}

TEST(LibraryFiles, OtherCollationIsSortedOnReading) {
    const auto read = parseLibrary(fixture("library/other_order.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->group(0).names(), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(read->group(2).names(), (std::vector<std::string>{"x", "X", "Ｗ"}));
    EXPECT_EQ(read->group(2).machine(1)[1], "1/200"); // the record moved with its name
    EXPECT_NE(libraryBytes(*read), fixture("library/other_order.dat"));
}

TEST(LibraryFiles, LargestLibrary) {
    const std::string full = bigLibraryFile({2000, 0, 0, 0, 0, 0, 47});
    const auto read = parseLibrary(full);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->machineCount(), 2047);
    EXPECT_EQ(read->machineStrings().size(), 32752u);
    EXPECT_EQ(libraryBytes(*read), full);

    EXPECT_FALSE(parseLibrary(bigLibraryFile({2048, 0, 0, 0, 0, 0, 0})));
    EXPECT_FALSE(parseLibrary(bigLibraryFile({1024, 1024, 0, 0, 0, 0, 0})));
}

TEST(LibraryFiles, DamagedLibraryIsRefused) {
    std::string groups0And4 = fixture("library/groups_0_and_4.dat");
    struct Case {
        const char *name;
        std::string bytes;
    };
    const Case cases[] = {
        {"cut short", fixture("library/cut_short.dat")},
        {"text where a count belongs", fixture("library/count_text.dat")},
        {"negative count", fixture("library/count_negative.dat")},
        {"no closing quote", fixture("library/no_closing_quote.dat")},
        {"invalid Shift_JIS", fixture("library/bad_sjis.dat")},
        {"empty file", ""},
        {"titles only", groups0And4.substr(0, groups0And4.find("3\r\n"))},
        // 65536 would read as 0 if it wrapped, and the file would then be complete.
        {"count above 16 bits",
         [] {
             std::string text = bigLibraryFile({0, 0, 0, 0, 0, 0, 0});
             return text.replace(text.find("\r\n0\r\n") + 2, 1, "65536");
         }()},
        {"count 1.5 rounds to 2 machines, only 1 present",
         [] {
             std::string text = bigLibraryFile({1, 0, 0, 0, 0, 0, 0});
             return text.replace(text.find("1\r\n0\r\n"), 1, "1.5");
         }()},
        // The machines beyond the counts would be lost at the next save.
        {"counts promise fewer machines than the file holds",
         std::string(groups0And4).replace(groups0And4.find("\r\n3\r\n") + 2, 1, "2")},
        {"a value after an empty library's placeholder", fixture("library/empty.dat") + "\"x\"\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parseLibrary(c.bytes));
    }
    const std::string empty = fixture("library/empty.dat");
    EXPECT_TRUE(parseLibrary(groups0And4 + "\r\n \r\n")) << "blank lines at the end are no content";
    EXPECT_TRUE(parseLibrary(empty.substr(0, empty.rfind("\"\"")))) << "the placeholder may be missing";
}

TEST(LibraryFiles, LoadLibrary) {
    struct Case {
        const char *name;
        std::function<void()> make; // puts something in place of zenbalo.dat
        LibraryLoad::Status status;
    };
    const auto write = [](const std::string &bytes) { return [bytes] { writeFile(kLibraryFile, bytes); }; };
    const Case cases[] = {
        {"missing", [] {}, LibraryLoad::Status::Missing},
        {"well formed", write(fixture("library/groups_0_and_4.dat")), LibraryLoad::Status::Ok},
        {"cut short", write(fixture("library/cut_short.dat")), LibraryLoad::Status::Damaged},
        {"invalid Shift_JIS", write(fixture("library/bad_sjis.dat")), LibraryLoad::Status::Damaged},
        {"a directory", [] { std::filesystem::create_directory(kLibraryFile); }, LibraryLoad::Status::Damaged},
        // Neither may block the start or fill the memory.
        {"a FIFO", [] { ASSERT_EQ(::mkfifo(kLibraryFile, 0600), 0); }, LibraryLoad::Status::Damaged},
        {"a link to an endless device", [] { std::filesystem::create_symlink("/dev/zero", kLibraryFile); },
         LibraryLoad::Status::Damaged},
        {"larger than any library",
         [] { std::filesystem::resize_file((writeFile(kLibraryFile, ""), kLibraryFile), 1u << 30); },
         LibraryLoad::Status::Damaged},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        const LibraryLoad load = LibraryFile().read();
        EXPECT_EQ(load.status, c.status);
        switch (c.status) {
        case LibraryLoad::Status::Missing:
            EXPECT_EQ(load.library, sampleLibrary());
            break;
        case LibraryLoad::Status::Ok:
            EXPECT_EQ(load.library, groupsZeroAndFour());
            break;
        case LibraryLoad::Status::Damaged:
            EXPECT_EQ(load.library, Library{});
            break;
        }
    }
}
