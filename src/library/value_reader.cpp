// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/value_reader.h"

#include "common/number.h"

namespace zenbalo {

namespace {

bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string withoutDoubleQuotes(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '"')
            result += "\u201D";
        else
            result += c;
    }
    return result;
}

bool ValueReader::atLineEnd() const { return text_[pos_] == '\r' || text_[pos_] == '\n'; }

// Moves past the comma or line end (CR LF, LF or CR) that ends a value.
void ValueReader::skipSeparator() {
    if (pos_ >= text_.size())
        return;
    if (text_[pos_] == ',') {
        ++pos_;
    } else if (text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    } else if (text_[pos_] == '\n') {
        ++pos_;
    }
}

std::optional<std::string_view> ValueReader::nextView(bool &quoted) {
    while (pos_ < text_.size() && isSpaceOrTab(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size())
        return std::nullopt;
    quoted = text_[pos_] == '"';
    if (quoted) {
        const size_t close = text_.find('"', pos_ + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view value = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd())
            ++pos_;
        skipSeparator();
        return value;
    }
    const size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd())
        ++pos_;
    size_t end = pos_;
    while (end > begin && isSpaceOrTab(text_[end - 1]))
        --end;
    skipSeparator();
    return text_.substr(begin, end - begin);
}

std::optional<std::string> ValueReader::next() {
    bool quoted = false;
    const auto value = nextView(quoted);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

bool ValueReader::atEnd() const { return text_.find_first_not_of(" \t\r\n", pos_) == std::string_view::npos; }

std::optional<std::string> ValueReader::readString() {
    std::string value;
    if (!readStringInto(value))
        return std::nullopt;
    return value;
}

bool ValueReader::readStringInto(std::string &out) {
    // The form every writer of this program uses, a quoted value alone on its
    // line, read at once; anything else the general way, to the same result.
    if (pos_ < text_.size() && text_[pos_] == '"') {
        const size_t close = text_.find('"', pos_ + 1);
        if (close != std::string_view::npos && close + 2 < text_.size() && text_[close + 1] == '\r' &&
            text_[close + 2] == '\n') {
            out.assign(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 3;
            return true;
        }
    }
    bool quoted = false;
    const auto value = nextView(quoted);
    if (!value)
        return false;
    // A quoted value ends at its first double quote, so only an unquoted one can hold any.
    if (quoted || value->find('"') == std::string_view::npos)
        out.assign(*value);
    else
        out = withoutDoubleQuotes(*value);
    return true;
}

std::optional<int16_t> ValueReader::readInt16() {
    const auto number = readDouble();
    return number ? toInt16(*number) : std::nullopt;
}

std::optional<double> ValueReader::readDouble() {
    const auto value = next();
    return value ? parseFileNumber(*value) : std::nullopt;
}

} // namespace zenbalo
