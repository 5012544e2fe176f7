#pragma once

// Character sets of the system's font engine and their code pages, and single characters
// converted between a character set's bytes and Unicode (the text-sample views use them).
// Every conversion traces its steps to the general log.

#include <cstdint>
#include <optional>

namespace fontfile {

// 0 -> 1252, 204 -> 1251, ...; any other character set gives 0, the system ANSI code page.
unsigned CharsetToCodePage(int charset);
// The same table read backwards; no result for a code page outside it.
std::optional<int> CodePageToCharset(unsigned codePage);

// The Unicode character of one byte in a character set, or -1 when the byte is not a
// character there.
std::int32_t FromCodepointToUnicode(int charset, std::uint8_t code);

struct TCharsetCode {
    int Charset = 0;
    std::uint8_t Code = 0;
    bool operator==(const TCharsetCode&) const = default;
};

// A character set and byte that stand for the Unicode character, trying the system ANSI code
// page first and then the other code pages with a character set; no result when none has it.
std::optional<TCharsetCode> FromUnicodeCodepointToCodepageData(std::int32_t unicodeValue);

} // namespace fontfile
