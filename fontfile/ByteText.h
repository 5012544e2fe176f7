#pragma once

// Single-byte texts of the little-endian font formats (.PFM, NE files): zero-terminated
// strings read with a bound, and their conversion to wide text with the system ANSI code page.

#include "FontStream.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace fontfile {

// Reads bytes up to a zero byte, the end of the stream or maxLength bytes, whichever comes
// first. The stream is left after the zero byte (or after the last byte taken).
std::string ReadZeroTerminated(TFontStream& stream, std::size_t maxLength);
// Bytes of a fixed-size field up to its first zero byte.
std::string UpToFirstZero(std::string_view field);
// Wide text of single-byte text in the system ANSI code page.
std::u16string AnsiToWide(std::string_view bytes);

} // namespace fontfile
