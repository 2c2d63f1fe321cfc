// The Shift_JIS codec of every data file.
#include "common/sjis.h"
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

    // What the writers produce from any text is always readable.
    const std::string lossy = encodeSjisLossy(bytes);
    const auto read = decodeSjis(lossy);
    check(read.has_value(), "lossy encoding of any text decodes");
    if (const auto strict = encodeSjis(bytes))
        check(*strict == lossy, "lossy encoding of an encodable text is the strict one");
    return 0;
}
