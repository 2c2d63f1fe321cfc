// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/sjis.h"

#include "common/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace zenbalo {

namespace {

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// The end of the run of ASCII bytes from `i`, looked for eight bytes at a
// time: most of a data file is ASCII.
size_t asciiEnd(std::string_view text, size_t i) {
    for (uint64_t word; i + sizeof word <= text.size(); i += sizeof word) {
        std::memcpy(&word, text.data() + i, sizeof word);
        if (word & 0x8080808080808080u)
            break;
    }
    while (i < text.size() && isAscii(text[i]))
        ++i;
    return i;
}

// One conversion descriptor for a whole text. Code page 932 has no shift
// states, so the text can be converted piece by piece with the same result.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Appends the conversion of `input` to `out` up to the first character the
    // target cannot hold (or the input's end) and returns how many bytes of
    // the input it took; all of them when the whole input converted.
    size_t append(std::string_view input, std::string &out) {
        // iconv never writes through its input pointer.
        char *inPtr = const_cast<char *>(input.data());
        size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG)
                break;
        }
        return input.size() - inLeft;
    }

private:
    iconv_t cd_;
};

// 0x5C is the yen sign on screen.
void appendWithYenSigns(std::string_view text, std::string &out) {
    for (size_t begin = 0; begin < text.size();) {
        const size_t slash = std::min(text.find('\\', begin), text.size());
        out.append(text.substr(begin, slash - begin));
        if (slash < text.size())
            out.append(kYen);
        begin = slash + 1;
    }
}

} // namespace

std::optional<std::string> encodeSjis(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    if (!converter.valid())
        return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    if (converter.append(utf8, out) != utf8.size())
        return std::nullopt;
    return out;
}

std::string encodeSjisLossy(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    // ASCII is the same byte in both encodings (a test holds glibc to it), so
    // only the rest goes through iconv, a run of other characters at a time.
    for (size_t i = 0; i < utf8.size();) {
        // A byte below 0x80 is always a whole character in UTF-8.
        size_t end = asciiEnd(utf8, i);
        out.append(utf8.substr(i, end - i));
        i = end;
        while (end < utf8.size() && !isAscii(utf8[end]))
            ++end;
        // Converted as a run; only a character that has no Shift_JIS form (or
        // is no character) is replaced, and the run goes on after it.
        while (i < end) {
            i += converter.valid() ? converter.append(utf8.substr(i, end - i), out) : 0;
            if (i < end) {
                nextCodePoint(utf8, i);
                i = std::min(i, end);
                out += '?';
            }
        }
    }
    return out;
}

std::optional<std::string> decodeSjis(std::string_view bytes) {
    Converter converter("UTF-8", "CP932");
    if (!converter.valid())
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::string converted;
    for (size_t i = 0; i < bytes.size();) {
        size_t end = asciiEnd(bytes, i);
        appendWithYenSigns(bytes.substr(i, end - i), out);
        i = end;
        // A lead byte is never below 0x80, so a byte below 0x80 after one
        // below 0x80 always starts a character of its own: the run ends there.
        while (end < bytes.size() && !(isAscii(bytes[end]) && isAscii(bytes[end - 1])))
            ++end;
        const std::string_view run = bytes.substr(i, end - i);
        converted.clear();
        if (converter.append(run, converted) != run.size())
            return std::nullopt;
        appendWithYenSigns(converted, out);
        i = end;
    }
    return out;
}

std::optional<std::string> sjisRoundTrip(std::string_view character) {
    auto bytes = encodeSjis(character);
    if (!bytes || bytes->empty())
        return std::nullopt;
    return decodeSjis(*bytes);
}

std::string sjisLines(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines) {
        text += line;
        text += "\r\n";
    }
    return encodeSjisLossy(text);
}

} // namespace zenbalo
