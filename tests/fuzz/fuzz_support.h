// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo::fuzz {

// A broken property must stop libFuzzer and leave the input behind, exactly
// as a sanitizer report does.
inline void check(bool holds, const char *property) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

inline std::string_view bytesOf(const uint8_t *data, size_t size) {
    return {reinterpret_cast<const char *>(data), size};
}

// Cuts the input into `count` texts at the separator; missing texts are empty
// and the last one keeps any further separators.
inline std::vector<std::string> splitInput(std::string_view input, char separator, size_t count) {
    std::vector<std::string> texts;
    while (texts.size() + 1 < count) {
        const size_t at = input.find(separator);
        if (at == std::string_view::npos)
            break;
        texts.emplace_back(input.substr(0, at));
        input.remove_prefix(at + 1);
    }
    texts.emplace_back(input);
    texts.resize(count);
    return texts;
}

// Takes a fixed-size value from the front of the input; zero when it has run out.
template <typename T> T takeValue(std::string_view &input) {
    T value{};
    const size_t n = input.size() < sizeof value ? input.size() : sizeof value;
    std::memcpy(&value, input.data(), n);
    input.remove_prefix(n);
    return value;
}

inline bool validUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and code points beyond Unicode.
        const uint32_t least = length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u;
        if (cp < least || (cp >= 0xD800u && cp <= 0xDFFFu) || cp > 0x10FFFFu)
            return false;
        i += length;
    }
    return true;
}

} // namespace zenbalo::fuzz
