// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zenbalo {

// The file format has no escape for a double quote: each becomes "”" so that
// what is written can be read back.
std::string withoutDoubleQuotes(std::string_view text);

// Reads the values of a decoded data file one at a time. Writers put one value
// on each line, but files edited by hand may hold several values on a line
// separated by commas, and strings without quotes; both are read.
class ValueReader {
public:
    explicit ValueReader(std::string_view text) : text_(text) {}

    // The text of the next value; nullopt when the values have run out or a
    // quoted value has no closing quote.
    std::optional<std::string> next();

    // A string value. A double quote can only arrive in an unquoted value; it
    // becomes "”" because the writers could not store it back.
    std::optional<std::string> readString();
    // The same into `out`, for a caller that fills many strings: false, and
    // `out` unchanged, where readString gives nullopt.
    bool readStringInto(std::string &out);
    // nullopt when the value is not a number or does not fit after rounding.
    std::optional<int16_t> readInt16();
    std::optional<double> readDouble();
    // True when nothing but blanks and line ends is left.
    bool atEnd() const;

private:
    // The next value as it stands in the text, without its quotes.
    std::optional<std::string_view> nextView(bool &quoted);
    bool atLineEnd() const;
    void skipSeparator();

    std::string_view text_;
    size_t pos_ = 0;
};

} // namespace zenbalo
