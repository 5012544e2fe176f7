#pragma once

// Typed reads on a TFontStream. Big-endian (SFNT) and little-endian (.PFM, NE files) are
// kept apart by namespace. A read that meets the end of the stream yields 0 for the bytes
// it could not read, and the position still advances by the full width.

#include "FontStream.h"

#include <cstdint>
#include <string>

namespace fontfile {

// Reads count bytes into buffer, filling the part past the end of the stream with zeros.
// The stream position advances by count in every case.
void ReadPadded(TFontStream& stream, void* buffer, std::size_t count);

namespace be {

std::uint8_t ReadByte(TFontStream& stream);
bool ReadBoolean(TFontStream& stream);
std::uint16_t ReadUInt16(TFontStream& stream);
std::int16_t ReadInt16(TFontStream& stream);
std::uint32_t ReadUInt32(TFontStream& stream);
std::int32_t ReadInt32(TFontStream& stream);
// 16.16 fixed point as a real number: signed upper half plus lower half / 65536.
double ReadFixed(TFontStream& stream);
// The raw 8-byte seconds since 1904-01-01 00:00:00.
std::int64_t ReadLongDateTime(TFontStream& stream);
// Four single-byte characters; a NUL byte ends the tag early.
std::string ReadTag(TFontStream& stream);
// A length byte n followed by n single-byte characters.
std::string ReadLengthPrefixedString(TFontStream& stream);
// byteLength / 2 big-endian code units; an odd last byte is not read.
std::u16string ReadUTF16String(TFontStream& stream, std::uint32_t byteLength);
// byteLength single-byte characters, converted to wide text later by the caller.
std::string ReadAnsiString(TFontStream& stream, std::uint32_t byteLength);

} // namespace be

namespace le {

std::uint8_t ReadByte(TFontStream& stream);
std::uint16_t ReadUInt16(TFontStream& stream);
std::int16_t ReadInt16(TFontStream& stream);
std::uint32_t ReadUInt32(TFontStream& stream);
std::int32_t ReadInt32(TFontStream& stream);

} // namespace le

// Days and seconds since the SFNT epoch 1904-01-01: only the low 32 bits of the stored
// value count, as an unsigned number.
struct TSfntDateTime {
    std::uint32_t Days = 0;          // whole days since 1904-01-01
    std::uint32_t SecondsOfDay = 0;  // 0..86399
};
TSfntDateTime SfntDateTimeFromSeconds(std::int64_t storedSeconds);

} // namespace fontfile
