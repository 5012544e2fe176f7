#include "StreamReaders.h"

#include <cstring>

namespace fontfile {

void ReadPadded(TFontStream& stream, void* buffer, std::size_t count)
{
    const auto start = stream.Position();
    const std::size_t got = stream.Read(buffer, count);
    if (got < count)
        std::memset(static_cast<unsigned char*>(buffer) + got, 0, count - got);
    stream.Seek(start + count);
}

namespace {

template <std::size_t N>
void ReadBytes(TFontStream& stream, std::uint8_t (&bytes)[N])
{
    ReadPadded(stream, bytes, N);
}

} // namespace

namespace be {

std::uint8_t ReadByte(TFontStream& stream)
{
    std::uint8_t b[1];
    ReadBytes(stream, b);
    return b[0];
}

bool ReadBoolean(TFontStream& stream)
{
    return ReadByte(stream) != 0;
}

std::uint16_t ReadUInt16(TFontStream& stream)
{
    std::uint8_t b[2];
    ReadBytes(stream, b);
    return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}

std::int16_t ReadInt16(TFontStream& stream)
{
    return static_cast<std::int16_t>(ReadUInt16(stream));
}

std::uint32_t ReadUInt32(TFontStream& stream)
{
    std::uint8_t b[4];
    ReadBytes(stream, b);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

std::int32_t ReadInt32(TFontStream& stream)
{
    return static_cast<std::int32_t>(ReadUInt32(stream));
}

double ReadFixed(TFontStream& stream)
{
    const auto upper = ReadInt16(stream);
    const auto lower = ReadUInt16(stream);
    return upper + lower / 65536.0;
}

std::int64_t ReadLongDateTime(TFontStream& stream)
{
    const std::uint64_t high = ReadUInt32(stream);
    const std::uint64_t low = ReadUInt32(stream);
    return static_cast<std::int64_t>((high << 32) | low);
}

std::string ReadTag(TFontStream& stream)
{
    std::uint8_t b[4];
    ReadBytes(stream, b);
    std::string tag;
    for (auto c : b) {
        if (c == 0)
            break;
        tag.push_back(static_cast<char>(c));
    }
    return tag;
}

std::string ReadLengthPrefixedString(TFontStream& stream)
{
    return ReadAnsiString(stream, ReadByte(stream));
}

std::u16string ReadUTF16String(TFontStream& stream, std::uint32_t byteLength)
{
    const std::uint64_t units = byteLength / 2;
    // Never allocate more than the stream can hold: a hostile length must not allocate
    // gigabytes. A unit cut by the end of the stream reads with a zero low byte.
    const std::uint64_t remaining = stream.Remaining();
    const std::uint64_t readableUnits = units < (remaining + 1) / 2 ? units : (remaining + 1) / 2;
    std::u16string text(static_cast<std::size_t>(readableUnits), u'\0');
    // One read of the bytes, turned into code units in place.
    ReadPadded(stream, text.data(), static_cast<std::size_t>(readableUnits * 2));
    auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
    if (readableUnits < units) {
        // The rest reads as zero characters.
        text.append(static_cast<std::size_t>(units - readableUnits), u'\0');
        stream.Skip(2 * (units - readableUnits));
    }
    return text;
}

std::string ReadAnsiString(TFontStream& stream, std::uint32_t byteLength)
{
    const std::uint64_t available = stream.Remaining();
    const std::size_t readable = static_cast<std::size_t>(byteLength < available ? byteLength : available);
    std::string text(readable, '\0');
    if (readable > 0)
        stream.Read(text.data(), readable);
    if (readable < byteLength) {
        text.append(byteLength - readable, '\0');
        stream.Skip(byteLength - readable);
    }
    return text;
}

} // namespace be

namespace le {

std::uint8_t ReadByte(TFontStream& stream)
{
    return be::ReadByte(stream);
}

std::uint16_t ReadUInt16(TFontStream& stream)
{
    std::uint8_t b[2];
    ReadBytes(stream, b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::int16_t ReadInt16(TFontStream& stream)
{
    return static_cast<std::int16_t>(ReadUInt16(stream));
}

std::uint32_t ReadUInt32(TFontStream& stream)
{
    std::uint8_t b[4];
    ReadBytes(stream, b);
    return b[0] | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
}

std::int32_t ReadInt32(TFontStream& stream)
{
    return static_cast<std::int32_t>(ReadUInt32(stream));
}

} // namespace le

TSfntDateTime SfntDateTimeFromSeconds(std::int64_t storedSeconds)
{
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(storedSeconds) & 0xFFFFFFFFu);
    return {low / 86400u, low % 86400u};
}

} // namespace fontfile
