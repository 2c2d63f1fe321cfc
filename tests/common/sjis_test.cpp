#include "common/sjis.h"

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

} // namespace
} // namespace zenbalo
