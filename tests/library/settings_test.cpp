// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/rates.h"
#include "library/library_files.h"
#include "library/settings.h"
#include "support/builders.h"
#include "support/printers.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <sys/stat.h>

using namespace zenbalo;
using namespace zenbalo::testing;

TEST(SettingsFile, ReservedValuesAndRotationRateAreWrittenBack) {
    const std::string bytes = fixture("library/reserved.cfg");
    const auto settings = parseSettings(bytes);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->groupListIndex, (std::array<int16_t, kGroups>{0, -1, 2, -1, -1, -1, 1}));
    EXPECT_EQ(settings->rateListIndex, 3);
    EXPECT_EQ(settings->currentGroup, 4);
    EXPECT_EQ(settings->savedTotalRotations, 1800);
    EXPECT_EQ(settings->reserved, (std::array<int16_t, 6>{5, 0, 0, 0, 0, 7}));
    EXPECT_EQ(settings->savedRotationRate, 18.5);
    EXPECT_EQ(settingsBytes(*settings), bytes);
}

TEST(SettingsFile, RotationRateText) {
    struct Case {
        double rate;
        const char *line;
    };
    const Case cases[] = {
        {18.5, "18.5"}, {20, "20"}, {0.5, "0.5"}, {0.1, "0.1"}, {1e-7, "0.0000001"}, {123456789.25, "123456789.25"},
        {-0.0, "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        AppSettings settings;
        settings.savedRotationRate = c.rate;
        const std::string bytes = settingsBytes(settings);
        EXPECT_TRUE(bytes.ends_with(std::string("\r\n") + c.line + "\r\n"));
        const auto read = parseSettings(bytes);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->savedRotationRate, c.rate);
    }
    // "inf" could not be read back and would cost every other setting.
    AppSettings infinite;
    infinite.savedRotationRate = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseSettings(settingsBytes(infinite))->savedRotationRate, 20.0);
}

TEST(SettingsFile, HandEditedValuesRead) {
    const auto read = parseSettings(" 0, -1 ,\"2\",1.5,2.5,-0.5,-1.5\r\n 3\n4\r1800,5,0,0,0,0,7\r\n.5,ignored\r\nmore");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->groupListIndex, (std::array<int16_t, kGroups>{0, -1, 2, 2, 2, 0, -2}));
    EXPECT_EQ(read->rateListIndex, 3);
    EXPECT_EQ(read->currentGroup, 4);
    EXPECT_EQ(read->reserved[5], 7);
    EXPECT_EQ(read->savedRotationRate, 0.5);
}

TEST(SettingsFile, DamagedFileIsRefused) {
    const std::string good = fixture("library/reserved.cfg");
    const auto replaced = [&](const std::string &from, const std::string &to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    struct Case {
        const char *name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.rfind("18.5"))},
        {"text where a number belongs", replaced("1800", "abc")},
        {"above 16 bits", replaced("1800", "32768")},
        {"rate in exponent form", replaced("18.5", "1e3")},
        {"rate as text", replaced("18.5", "\"fast\"")},
        {"invalid Shift_JIS", replaced("1800", "\x81\x20")},
    };
    ASSERT_TRUE(parseSettings(good));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parseSettings(c.bytes));
    }
}

TEST(SettingsFile, LoadAndSave) {
    TempWorkDir dir;
    SettingsFile file;
    EXPECT_FALSE(file.read());

    AppSettings settings;
    settings.groupListIndex = {3, -1, 0, 0, -1, 2, 1};
    settings.rateListIndex = 5;
    settings.currentGroup = 6;
    settings.savedTotalRotations = -300;
    settings.reserved = {-32768, 1, 2, 3, 4, 32767};
    settings.savedRotationRate = 17.25;
    ASSERT_TRUE(file.write(settings).ok());
    EXPECT_EQ(SettingsFile().read(), settings);
    EXPECT_EQ(readFile(kSettingsFile), settingsBytes(settings));
    EXPECT_EQ(directoryEntries().size(), 1u);
}

TEST(SettingsFile, UnreadableFileIsKeptBeforeItIsReplaced) {
    struct Case {
        const char *name;
        std::function<void()> make;
        std::function<void(const std::string &kept)> check;
    };
    const Case cases[] = {
        {"damaged contents", [] { writeFile(kSettingsFile, "0\r\nlost?\r\n"); },
         [](const std::string &kept) { EXPECT_EQ(readFile(kept), "0\r\nlost?\r\n"); }},
        {"a directory", [] { std::filesystem::create_directory(kSettingsFile); },
         [](const std::string &kept) { EXPECT_TRUE(std::filesystem::is_directory(kept)); }},
        {"a FIFO", [] { ASSERT_EQ(::mkfifo(kSettingsFile, 0600), 0); },
         [](const std::string &kept) { EXPECT_TRUE(std::filesystem::is_fifo(kept)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        SettingsFile file;
        EXPECT_FALSE(file.read()) << "defaults instead, without a word";
        const AppSettings settings = defaultSettings(Library{}, {});
        ASSERT_TRUE(file.write(settings).ok());
        EXPECT_EQ(readFile(kSettingsFile), settingsBytes(settings));
        const std::vector<std::string> kept = keptDamagedFiles(kSettingsFile);
        ASSERT_EQ(kept.size(), 1u);
        c.check(kept[0]);
        ASSERT_TRUE(file.write(settings).ok());
        EXPECT_EQ(directoryEntries().size(), 2u) << "kept once, not at every close";
    }
}

TEST(Settings, Defaults) {
    const auto settings = defaultSettings(libraryWithCounts({0, 0, 2, 0, 0, 1, 0}), builtInRateList());
    EXPECT_EQ(settings.groupListIndex, (std::array<int16_t, kGroups>{-1, -1, 0, -1, -1, 0, -1}));
    EXPECT_EQ(settings.currentGroup, 0);
    EXPECT_EQ(builtInRateList()[settings.rateListIndex].substr(0, 2), "28");
    EXPECT_EQ(settings.savedTotalRotations, 2000);
    EXPECT_EQ(settings.savedRotationRate, 20.0);
    EXPECT_EQ(settings.reserved, (std::array<int16_t, 6>{}));

    EXPECT_EQ(defaultSettings(Library{}, {"25玉", "30玉"}).rateListIndex, 0);
    EXPECT_EQ(defaultSettings(sampleLibrary(), {}).groupListIndex[0], 0);
}

TEST(Settings, FitFallsBackSilently) {
    // Group sizes 3, 0, 1, 0, 0, 0, 2 and 4 exchange rates.
    const Library library = libraryWithCounts({3, 0, 1, 0, 0, 0, 2});
    struct Case {
        const char *name;
        std::array<int16_t, kGroups> groupListIndex;
        int16_t currentGroup, rateListIndex;
        std::array<int16_t, kGroups> wantGroupListIndex;
        int16_t wantCurrentGroup, wantRateListIndex;
    };
    const Case cases[] = {
        {"all in range", {2, -1, 0, -1, -1, -1, 1}, 6, 3, {2, -1, 0, -1, -1, -1, 1}, 6, 3},
        {"-1 in a group with machines stays", {-1, -1, -1, -1, -1, -1, -1}, 0, 0, {-1, -1, -1, -1, -1, -1, -1}, 0, 0},
        {"past the end", {3, -1, 1, -1, -1, -1, 2}, 0, 0, {0, -1, 0, -1, -1, -1, 0}, 0, 0},
        {"selection in an empty group", {0, 0, 0, 5, 0, 0, 0}, 0, 0, {0, -1, 0, -1, -1, -1, 0}, 0, 0},
        {"below -1", {-2, -5, -32768, -1, -1, -1, -1}, 0, 0, {0, -1, 0, -1, -1, -1, -1}, 0, 0},
        {"group 7", {0, -1, 0, -1, -1, -1, 0}, 7, 0, {0, -1, 0, -1, -1, -1, 0}, 0, 0},
        {"group -1", {0, -1, 0, -1, -1, -1, 0}, -1, 0, {0, -1, 0, -1, -1, -1, 0}, 0, 0},
        {"rate past the end", {0, -1, 0, -1, -1, -1, 0}, 2, 4, {0, -1, 0, -1, -1, -1, 0}, 2, 0},
        {"rate negative", {0, -1, 0, -1, -1, -1, 0}, 2, -1, {0, -1, 0, -1, -1, -1, 0}, 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        settings.groupListIndex = c.groupListIndex;
        settings.currentGroup = c.currentGroup;
        settings.rateListIndex = c.rateListIndex;
        settings.savedTotalRotations = 1234;
        settings.reserved = {1, 2, 3, 4, 5, 6};
        settings.savedRotationRate = 17.5;
        fitSettings(settings, library, 4);
        EXPECT_EQ(settings.groupListIndex, c.wantGroupListIndex);
        EXPECT_EQ(settings.currentGroup, c.wantCurrentGroup);
        EXPECT_EQ(settings.rateListIndex, c.wantRateListIndex);
        EXPECT_EQ(settings.savedTotalRotations, 1234);
        EXPECT_EQ(settings.reserved, (std::array<int16_t, 6>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(settings.savedRotationRate, 17.5);
    }
    AppSettings noRates;
    noRates.rateListIndex = 0;
    fitSettings(noRates, library, 0);
    EXPECT_EQ(noRates.rateListIndex, 0);
}

TEST(Settings, PlayConditionsKeptAtASave) {
    struct Case {
        const char *name;
        std::string rate, total;
        double wantRate;
        int16_t wantTotal;
    };
    const Case cases[] = {
        {"as typed", "18.5", "1234", 18.5, 1234},
        {"leading numbers", "25.5.1", "300x", 25.5, 300},
        {"empty boxes read 0", "", "", 0, 0},
        {"total beyond 16 bits keeps the previous", "20", "70000", 20, 2000},
        {"largest total", "20", "32767", 20, 32767},
        {"rate too large to read keeps the previous", std::string(400, '9'), "10", 30, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        settings.savedRotationRate = 30;
        settings.savedTotalRotations = 2000;
        storePlayConditions(settings, c.rate, c.total);
        EXPECT_EQ(settings.savedRotationRate, c.wantRate);
        EXPECT_EQ(settings.savedTotalRotations, c.wantTotal);
    }
}
