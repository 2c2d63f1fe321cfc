// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/rates.h"
#include "library/library_files.h"

#include "common/sjis.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace zenbalo;
using namespace zenbalo::testing;

namespace {

std::string sjis(const std::string &utf8) { return *encodeSjis(utf8); }

} // namespace

TEST(RateList, Parse) {
    using Entries = std::vector<std::string>;
    struct Case {
        const char *name;
        std::string bytes;
        Entries want;
        bool damaged;
    };
    const Case cases[] = {
        {"count 0", fixture("library/count0.kan"), {}, false},
        {"count 3 in file order",
         fixture("library/count3.kan"),
         {"28玉 (3.57円)", "25玉 (4.00円)", "33玉 (3.03円)"},
         false},
        {"values after the count ignored", sjis("1\r\n\"40玉\"\r\n\"30玉\"\r\n"), {"40玉"}, false},
        {"unquoted, comma separated", sjis("2,25玉 , 28玉\r\n"), {"25玉", "28玉"}, false},
        {"cut short keeps entries before", sjis("3\r\n\"25玉\"\r\n\"28玉\"\r\n"), {"25玉", "28玉"}, true},
        {"unclosed quote keeps entries before", sjis("3\r\n\"25玉\"\r\n\"28玉\r\n"), {"25玉"}, true},
        {"count not a number", sjis("three\r\n\"25玉\"\r\n"), {}, true},
        {"negative count", sjis("-1\r\n\"25玉\"\r\n"), {}, true},
        {"empty file", "", {}, true},
        {"invalid Shift_JIS", "2\r\n\"25\x81\x20\"\r\n\"28\"\r\n", {}, true},
        {"entries without a positive number keep their places",
         sjis("5\r\n\"玉25\"\r\n\"0玉\"\r\n\"\"\r\n\"2.5円\"\r\n\".5\"\r\n"),
         {"玉25", "0玉", "", "2.5円", ".5"},
         false},
        {"UTF-8 as editors save it", "2\r\n\"28玉 (3.57円)\"\r\n\"30玉\"\r\n", {"28玉 (3.57円)", "30玉"}, false},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "1\r\n\"40玉\"\r\n", {"40玉"}, false},
        {"a mark before plain ASCII", "\xEF\xBB\xBF" "1\r\n\"40\"\r\n", {"40"}, false},
        {"UTF-8 that also reads as Shift_JIS, its backslash the yen sign", "1\r\n\"28玉\\3.57\"\r\n", {"28玉¥3.57"}, false},
        {"Shift_JIS that is no UTF-8", sjis("1\r\n\"28玉 (3.57円)\"\r\n"), {"28玉 (3.57円)"}, false},
        {"a Shift_JIS yen sign", "1\r\n\"28\\\"\r\n", {"28¥"}, false},
        {"neither Shift_JIS nor UTF-8", "1\r\n\"28\xFF\"\r\n", {}, true},
        {"count 1.5 rounds to 2", sjis("1.5\r\n\"25玉\"\r\n\"28玉\"\r\n"), {"25玉", "28玉"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RateList list = parseRateList(c.bytes);
        EXPECT_EQ(list.entries, c.want);
        EXPECT_EQ(list.damaged, c.damaged);
    }
}

TEST(RateList, Load) {
    const std::vector<std::string> builtIn = builtInRateList();
    struct Case {
        const char *name;
        std::optional<std::string> bytes; // nullopt: no file
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"missing", std::nullopt, builtIn},
        {"count 0 gives an empty list", fixture("library/count0.kan"), {}},
        {"count 3", fixture("library/count3.kan"), {"28玉 (3.57円)", "25玉 (4.00円)", "33玉 (3.03円)"}},
        {"damaged with usable entries", sjis("3\r\n\"30玉\"\r\n"), {"30玉"}},
        {"damaged before any entry", sjis("3\r\n"), builtIn},
        {"count not a number", sjis("x\r\n"), builtIn},
        {"no entry names a rate", sjis("2\r\n\"abc\"\r\n\"玉\"\r\n"), {"abc", "玉"}},
        {"an entry without a rate keeps its place", sjis("2\r\n\"abc\"\r\n\"40\"\r\n"), {"abc", "40"}},
        {"UTF-8 is not replaced by the built-in list", "2\r\n\"30玉\"\r\n\"40玉\"\r\n", {"30玉", "40玉"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        if (c.bytes)
            writeFile(kRateListFile, *c.bytes);
        EXPECT_EQ(loadRateList(), c.want);
    }
    TempWorkDir dir;
    std::filesystem::create_directory(kRateListFile);
    EXPECT_EQ(loadRateList(), builtIn);
}

TEST(RateList, ShippedFileOffersTheBuiltInList) {
    const std::string shipped = readFile(std::string(ZENBALO_TEST_DATA) + "/../../data/zenbalo.kan");
    const RateList list = parseRateList(shipped);
    EXPECT_FALSE(list.damaged);
    EXPECT_EQ(list.entries, builtInRateList());
    EXPECT_EQ(defaultRateIndex(list.entries), 3);
    EXPECT_DOUBLE_EQ(100 / ballsPer100Yen(list.entries[3]), 100.0 / 28);
}

TEST(RateList, YenPerBallOfAnEntry) {
    struct Case {
        const char *entry;
        double want;
    } cases[] = {
        {"28玉 (3.57円)", 100.0 / 28},
        {"25玉 等価", 4},
        {"40", 2.5},
        {"5玉", 20},
        {"2.5円", 50} // only the first two characters count
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_DOUBLE_EQ(yenPerBall(c.entry), c.want);
    }
    EXPECT_FALSE(std::isfinite(yenPerBall("玉"))) << "no balls named: the calculation refuses it";
}
