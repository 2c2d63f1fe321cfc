// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/value_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zenbalo;

namespace {

// Values of a text up to the end or up to a value without its closing quote.
std::vector<std::string> allValues(std::string_view text) {
    ValueReader reader(text);
    std::vector<std::string> values;
    while (auto value = reader.next())
        values.push_back(*value);
    return values;
}

} // namespace

TEST(LibraryValueReader, SplitsValues) {
    struct Case {
        const char *name;
        std::string text;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"one per line, CR LF", "\"a\"\r\n1\r\n", {"a", "1"}},
        {"last line without line end", "\"a\"\r\n1", {"a", "1"}},
        {"lone LF and lone CR", "a\nb\rc", {"a", "b", "c"}},
        {"commas on one line", "1,2, 3 ,\"x,y\"\r\n", {"1", "2", "3", "x,y"}},
        {"leading blanks skipped, trailing trimmed", " \t abc \t\r\n", {"abc"}},
        {"blanks inside quotes kept", "\" a b \"\r\n", {" a b "}},
        {"text after closing quote skipped", "\"ab\"cd,ef\r\n\"g\" h\r\ni", {"ab", "ef", "g", "i"}},
        {"quoted value spans lines", "\"line1\r\nline2\"\r\nnext", {"line1\r\nline2", "next"}},
        {"empty quoted value", "\"\"\r\n\"\"", {"", ""}},
        {"empty line is an empty value", "a\r\n\r\nb", {"a", "", "b"}},
        {"comma before line end gives an empty value", "a,\r\nb", {"a", "", "b"}},
        {"quote inside unquoted value is text", "ab\"c\r\n", {"ab\"c"}},
        {"trailing blanks at the end are no value", "a\r\n  ", {"a"}},
        {"missing closing quote stops", "a\r\n\"bc\r\nd", {"a"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(allValues(c.text), c.want);
    }
}

TEST(LibraryValueReader, ReadsNumbers) {
    struct Case {
        const char *text;
        std::optional<int16_t> want;
    };
    const Case cases[] = {
        {"-1", -1},
        {"\"12\"", 12},
        {" 7 ", 7},
        {".5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {"-2.5", -2},
        {"32767", 32767},
        {"32767.5", std::nullopt},
        {"-32768", -32768},
        {"40000", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"1 2", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ValueReader(c.text).readInt16(), c.want);
    }
    EXPECT_EQ(ValueReader("18.5").readDouble(), 18.5);
    EXPECT_EQ(ValueReader(".5").readDouble(), 0.5);
}

TEST(LibraryValueReader, DoubleQuoteInUnquotedStringBecomesClosingQuoteMark) {
    ValueReader reader("say \"hi\"\r\n\"plain\"");
    EXPECT_EQ(reader.readString(), "say \u201Dhi\u201D");
    EXPECT_EQ(reader.readString(), "plain");
    EXPECT_EQ(reader.readString(), std::nullopt);
}
