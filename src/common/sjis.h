// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

// The data files are Shift_JIS (code page 932) with CR LF line ends; in memory
// text is UTF-8. The byte 0x5C is the yen sign on both sides: "\u00A5" and "\\"
// are written as 0x5C, and 0x5C is read as "\u00A5".

// Strict: nullopt when a character has no Shift_JIS form.
std::optional<std::string> encodeSjis(std::string_view utf8);
// Never fails: a character without Shift_JIS form becomes "?".
std::string encodeSjisLossy(std::string_view utf8);
// nullopt when the bytes are not valid Shift_JIS.
std::optional<std::string> decodeSjis(std::string_view bytes);

// One character (a UTF-8 sequence) as it reads back after a write: "\\" becomes
// "\u00A5", a wave dash its code-page twin; nullopt when it cannot be written.
std::optional<std::string> sjisRoundTrip(std::string_view character);

// Lines joined with CR LF after each, then encoded (lossy).
std::string sjisLines(const std::vector<std::string> &lines);

} // namespace zenbalo
