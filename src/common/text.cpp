// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

namespace zenbalo {

char32_t nextCodePoint(std::string_view text, size_t &i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 1;
    char32_t cp = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        cp = lead & 0x07u;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xC0 && lead < 0xE0) {
        length = 2;
        cp = lead & 0x1Fu;
    }
    if (length > 1) {
        bool wellFormed = i + length <= text.size();
        for (size_t k = 1; wellFormed && k < length; ++k) {
            wellFormed = (byte(i + k) & 0xC0) == 0x80;
            cp = (cp << 6) | (byte(i + k) & 0x3Fu);
        }
        if (!wellFormed) {
            ++i;
            return lead;
        }
    }
    i += length;
    return cp;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const size_t begin = i;
        const char32_t cp = nextCodePoint(text, i);
        const size_t length = i - begin;
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (length == 1 || length > 4 || cp < least || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
    }
    return true;
}

std::vector<std::string_view> utf8Characters(std::string_view text) {
    std::vector<std::string_view> chars;
    for (size_t i = 0; i < text.size();) {
        const size_t begin = i;
        nextCodePoint(text, i);
        chars.push_back(text.substr(begin, i - begin));
    }
    return chars;
}

} // namespace zenbalo
