// SPDX-License-Identifier: GPL-3.0-or-later
// The Shift_JIS codec of every data file.
#include "common/sjis.h"
#include "common/text.h"
#include "fuzz/fuzz_support.h"

using namespace zenbalo;
using zenbalo::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);

    if (const auto text = decodeSjis(bytes)) {
        check(fuzz::validUtf8(*text), "decoded text is valid UTF-8");
        // Reading a file and saving it must not lose a character.
        const auto encoded = encodeSjis(*text);
        check(encoded.has_value(), "decoded text encodes");
        const auto again = decodeSjis(*encoded);
        check(again == text, "decoded text encodes to bytes that decode to the same text");
        // The bytes written are canonical: writing them again changes nothing.
        check(encodeSjis(*again) == encoded, "written bytes are canonical");
    }

    // What the writers produce from any text is readable, and a character
    // without a Shift_JIS form becomes one "?" rather than shifting the rest.
    const std::string lossy = encodeSjisLossy(bytes);
    const auto read = decodeSjis(lossy);
    check(read.has_value(), "lossy encoding of any text decodes");
    check(utf8Characters(*read).size() == utf8Characters(bytes).size(), "lossy encoding keeps every character");
    return 0;
}
