#include "common/sjis.h"

#include "common/text.h"

#include <cerrno>
#include <iconv.h>

namespace zenbalo {

namespace {

// Converts the whole input; nullopt on any character the target cannot hold.
std::optional<std::string> convert(const char *to, const char *from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    std::string in(input);
    char *inPtr = in.data();
    size_t inLeft = in.size();
    char buffer[4096];
    bool ok = true;
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        ok = iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
        out.append(buffer, outPtr - buffer);
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> encodeSjis(std::string_view utf8) { return convert("CP932", "UTF-8", utf8); }

std::string encodeSjisLossy(std::string_view utf8) {
    if (auto whole = encodeSjis(utf8))
        return *whole;
    std::string out;
    for (std::string_view c : utf8Characters(utf8)) {
        auto bytes = encodeSjis(c);
        out += bytes ? *bytes : "?";
    }
    return out;
}

std::optional<std::string> decodeSjis(std::string_view bytes) {
    auto text = convert("UTF-8", "CP932", bytes);
    if (!text)
        return std::nullopt;
    std::string out;
    out.reserve(text->size());
    for (char c : *text) {
        if (c == '\\')
            out += kYen;
        else
            out += c;
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
