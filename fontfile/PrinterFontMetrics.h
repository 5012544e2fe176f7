#pragma once

// The parts of a printer font metrics file (.PFM, little-endian) that the Type 1 reader uses:
// the 117-byte header and the 30-byte extension after it.

#include "FontStream.h"

#include <cstdint>
#include <string>

namespace fontfile {

struct TPfmHeader {
    std::uint16_t Version = 0;         // dfVersion
    std::uint32_t Size = 0;            // dfSize: the file size the header claims
    std::string Copyright;             // dfCopyright, up to its first zero byte (at most 60)
    std::uint16_t Type = 0;            // dfType: 129 for a PostScript font
    std::uint8_t Italic = 0;           // dfItalic
    std::uint16_t Weight = 0;          // dfWeight
    std::uint32_t FaceOffset = 0;      // dfFace: offset of the zero-terminated face name
    // The extension.
    std::uint32_t ExtMetricsOffset = 0;  // dfExtMetricsOffset
    std::uint32_t DriverInfoOffset = 0;  // dfDriverInfo: offset of the PostScript name
};

inline constexpr std::uint64_t kPfmHeaderSize = 117;
inline constexpr std::uint64_t kPfmExtensionSize = 30;
// The extended text metrics: 26 signed 16-bit values, etmKernPairs the 25th.
inline constexpr std::uint64_t kPfmExtTextMetricsSize = 52;
inline constexpr std::uint64_t kPfmKernPairsOffset = 48;
inline constexpr std::uint16_t kPfmPostScriptType = 129;
// Names are read byte by byte up to a zero byte or this many characters.
inline constexpr std::size_t kPfmMaxNameLength = 256;

// Reads header and extension from the start of the stream; bytes past the end read as 0.
TPfmHeader ReadPfmHeader(TFontStream& stream);
// etmKernPairs of the extended text metrics at their offset.
std::uint16_t ReadPfmKernPairs(TFontStream& stream, std::uint32_t extMetricsOffset);

} // namespace fontfile
