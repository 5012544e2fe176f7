#include "PrinterFontMetrics.h"

#include "ByteText.h"
#include "StreamReaders.h"

#include <array>

namespace fontfile {

TPfmHeader ReadPfmHeader(TFontStream& stream)
{
    // One read for header and extension, then the fields from memory.
    std::array<std::uint8_t, kPfmHeaderSize + kPfmExtensionSize> bytes{};
    stream.Seek(0);
    ReadPadded(stream, bytes.data(), bytes.size());
    TMemoryFontStream block(bytes.data(), bytes.size());

    TPfmHeader header;
    header.Version = le::ReadUInt16(block);
    header.Size = le::ReadUInt32(block);
    header.Copyright = UpToFirstZero(std::string(bytes.begin() + 6, bytes.begin() + 66));
    block.Seek(66);
    header.Type = le::ReadUInt16(block);
    block.Seek(80);
    header.Italic = le::ReadByte(block);
    block.Seek(83);
    header.Weight = le::ReadUInt16(block);
    block.Seek(105);
    header.FaceOffset = le::ReadUInt32(block);
    block.Seek(119);
    header.ExtMetricsOffset = le::ReadUInt32(block);
    block.Seek(139);
    header.DriverInfoOffset = le::ReadUInt32(block);
    return header;
}

std::uint16_t ReadPfmKernPairs(TFontStream& stream, std::uint32_t extMetricsOffset)
{
    stream.Seek(std::uint64_t{extMetricsOffset} + kPfmKernPairsOffset);
    return le::ReadUInt16(stream);
}

} // namespace fontfile
