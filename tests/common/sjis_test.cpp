// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/sjis.h"

#include "common/text.h"

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(Sjis, YenSignIsTheByte5C) {
    EXPECT_EQ(encodeSjis("\u00A5-100"), std::string("\x5C-100"));
    EXPECT_EQ(encodeSjis("a\\b"), std::string("a\x5C") + "b");
    EXPECT_EQ(decodeSjis(std::string("\x5C") + "0"), "¥0");
}

TEST(Sjis, RoundTripOfJapaneseText) {
    const std::string text = "大当たり確率:１ｱ~,\"ｶﾅ\" 甘デジ";
    const auto bytes = encodeSjis(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 2), "\x91\xE5"); // 大
    EXPECT_EQ(decodeSjis(*bytes), text);
}

TEST(Sjis, RefusesWhatItCannotHold) {
    EXPECT_FALSE(encodeSjis("😀"));
    EXPECT_FALSE(encodeSjis("한"));
    EXPECT_EQ(encodeSjisLossy("a😀b"), "a?b");
    EXPECT_FALSE(decodeSjis("\x81")); // lead byte without its trail
    EXPECT_FALSE(decodeSjis("\xEF\x39"));
}

// The codec copies ASCII without asking iconv; that holds only while glibc
// maps every ASCII character to its own byte.
TEST(Sjis, AsciiIsItsOwnByteBothWays) {
    for (int c = 0; c < 0x80; ++c) {
        SCOPED_TRACE(c);
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(encodeSjis(one), one);
        EXPECT_EQ(decodeSjis(one), c == 0x5C ? "\u00A5" : one);
    }
}

// Trail bytes below 0x80 belong to their character: ソ is 83 5C, and ｱ is one
// byte that an ASCII byte may follow.
TEST(Sjis, BytesBelow80InsideCharactersAreNotAscii) {
    struct Case {
        std::string bytes;
        std::optional<std::string> want;
    } cases[] = {
        {"\x83\x5C", "ソ"},
        {"\x83\x5C\x5C", "ソ\u00A5"},
        {"\"\x83\x5C\"\r\n", "\"ソ\"\r\n"},
        {"\xB1\x5C\x5C", "ｱ\u00A5\u00A5"},
        {"\x91\xE5\x81\x40\x61", "大\u3000a"},
        {"a\x81", std::nullopt},
        {"\x81\x20", std::nullopt},
        {"ok\r\n\xA0", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(decodeSjis(c.bytes), c.want);
    }
}

// Each character without a Shift_JIS form, and each byte that is no
// character, becomes one "?"; everything around it is written as it would be
// alone.
TEST(Sjis, LossyEncodingReplacesOnlyWhatCannotBeWritten) {
    const char *inputs[] = {
        "大😀当たり",        "😀😀",         "한국\u00A5",    "a\xE3\x81",
        "\xE3\x81\x81\xE3", "\xC0\x80大", "\xED\xA0\x80x", "\xFF〜\xF4\x90\x80\x80",
        "é\r\n機種\\",      "",
    };
    for (const char *input : inputs) {
        SCOPED_TRACE(input);
        std::string want;
        for (std::string_view c : utf8Characters(input))
            want += encodeSjis(c).value_or("?");
        EXPECT_EQ(encodeSjisLossy(input), want);
    }
    EXPECT_EQ(encodeSjisLossy("大😀a"), "\x91\xE5?a");
}

TEST(Sjis, RoundTripOfOneCharacter) {
    struct Case {
        const char *in;
        std::optional<std::string> want;
    } cases[] = {
        {"a", "a"},   {"\\", "\u00A5"},    {"\u00A5", "\u00A5"},     {"\u301C", "\uFF5E"}, // wave dash
        {"機", "機"}, {"😀", std::nullopt}, {"\u00E9", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(sjisRoundTrip(c.in), c.want);
    }
}

TEST(Sjis, LinesEndWithCrLf) {
    EXPECT_EQ(sjisLines({"1", "", "\u00A5"}), std::string("1\r\n\r\n\x5C\r\n"));
    EXPECT_EQ(sjisLines({}), "");
}

// What a file saved as UTF-8 must be before it is read as UTF-8.
TEST(Text, ValidUtf8) {
    struct Case {
        const char *name;
        std::string text;
        bool want;
    } cases[] = {
        {"ASCII", "abc 123", true},
        {"Japanese and the yen sign", "駅前店 \u00A5", true},
        {"four bytes", "\xF0\x9F\x8E\xB0", true},
        {"empty", "", true},
        {"Shift_JIS", "\x89\x77\x91\x4F", false},
        {"a lone continuation byte", "a\x80", false},
        {"cut short", "\xE9\xA7", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"a surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"five bytes", "\xF8\x88\x80\x80\x80", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isValidUtf8(c.text), c.want);
    }
}

} // namespace
} // namespace zenbalo
