#include "FNTLight.h"

#include "BufferedFontStream.h"
#include "ByteText.h"
#include "StreamReaders.h"

#include <array>
#include <exception>

namespace fontfile {

namespace {

constexpr std::uint16_t kMzSignature = 0x5A4D;  // "MZ"
constexpr std::uint16_t kNeSignature = 0x454E;  // "NE"
constexpr std::uint16_t kFontDirectoryType = 0x8007;
constexpr std::uint64_t kResourceEntrySize = 12;
constexpr std::uint64_t kFontHeaderSize = 113;
constexpr std::size_t kMaxFaceNameLength = 256;
// Real files hold a few dozen faces; resource entries of a hostile file could point at the
// same directory again and again.
constexpr std::size_t kMaxFacesPerFile = 1024;

// dfType of a face entry (its low byte).
constexpr std::uint8_t kRasterFace = 0;
constexpr std::uint8_t kVectorFace = 1;
constexpr std::uint8_t kTrueTypeFace = 3;

std::u16string TrimmedDescription(const std::u16string& moduleDescription)
{
    const auto colon = moduleDescription.find(u':');
    if (colon == std::u16string::npos)
        return TrimmedText(moduleDescription);
    return TrimmedText(std::u16string_view(moduleDescription).substr(colon + 1));
}

class TFontDirectoryReader {
public:
    TFontDirectoryReader(TFontStream& stream, TGeneralFontInfoList& items, std::u16string description)
        : FStream(stream), FItems(items), FDescription(std::move(description))
    {
    }

    // Reads every entry of the directory at the stream position; answers whether any counted.
    bool Read()
    {
        const std::uint16_t count = le::ReadUInt16(FStream);
        bool usable = false;
        for (std::uint16_t i = 0; i < count && FStream.Remaining() > 0 && FItems.Count() < kMaxFacesPerFile; ++i)
            usable = ReadEntry() || usable;
        return usable;
    }

private:
    bool ReadEntry()
    {
        TGeneralFontInfoItem& item = FItems.Add();
        le::ReadUInt16(FStream);  // font ordinal
        std::array<std::uint8_t, kFontHeaderSize> header{};
        ReadPadded(FStream, header.data(), header.size());
        TMemoryFontStream fields(header.data(), header.size());
        fields.Seek(66);
        const std::uint8_t type = le::ReadByte(fields);
        fields.Seek(80);
        const std::uint8_t italic = le::ReadByte(fields);
        fields.Seek(83);
        const std::uint16_t weight = le::ReadUInt16(fields);

        std::string name = ReadZeroTerminated(FStream, kMaxFaceNameLength);  // device name
        name += ReadZeroTerminated(FStream, kMaxFaceNameLength);              // face name
        if (name.size() > kMaxFaceNameLength)
            name.resize(kMaxFaceNameLength);
        const std::u16string faceName = AnsiToWide(name);

        bool counts = false;
        switch (type) {
        case kRasterFace:
            item.SetGdiTypeBits(GdiTypeBits::Raster);
            counts = true;
            break;
        case kVectorFace:
            item.SetGdiTypeBits(GdiTypeBits::None);
            counts = true;
            break;
        case kTrueTypeFace:
            item.SetGdiTypeBits(GdiTypeBits::TrueType);
            break;
        default:
            item.SetGdiTypeBits(GdiTypeBits::None);
            break;
        }
        item.SetRegistryName(FDescription);
        item.SetFamilyName(faceName);
        item.SetFaceFullName(faceName);
        item.SetWeightClass(weight);
        item.SetItalic(italic != 0);
        item.ApplyDerivedStyle();
        return counts;
    }

    TFontStream& FStream;
    TGeneralFontInfoList& FItems;
    const std::u16string FDescription;
};

} // namespace

bool TFNTLight::IsValidFile(const std::string& fileName)
{
    try {
        TFNTLight scratch;
        return scratch.LoadFromFile(fileName);
    } catch (const std::exception&) {
        return false;
    }
}

bool TFNTLight::LoadFromFile(const std::string& fileName)
{
    FItems.Clear();
    TFileFontStream file(fileName);
    TBufferedFontStream stream(file, TBufferedFontStream::kLightReadWindowSize);
    return LoadFromStream(stream);
}

bool TFNTLight::LoadFromStream(TFontStream& stream)
{
    FItems.Clear();
    stream.Seek(0);
    const std::uint64_t fileSize = stream.Size();
    if (fileSize <= 61 || le::ReadUInt16(stream) != kMzSignature)
        return false;
    stream.Seek(24);
    if (le::ReadByte(stream) <= 63)
        return false;
    stream.Seek(60);
    const std::uint16_t newHeader = le::ReadUInt16(stream);  // low half of the 32-bit field
    if (newHeader <= 62 || newHeader >= fileSize)
        return false;
    stream.Seek(newHeader);
    if (le::ReadUInt16(stream) != kNeSignature)
        return false;
    stream.Seek(std::uint64_t{newHeader} + 36);
    const std::uint64_t resourceTable = std::uint64_t{newHeader} + le::ReadUInt16(stream);
    stream.Seek(std::uint64_t{newHeader} + 44);
    const std::uint16_t nonResidentNames = le::ReadUInt16(stream);  // low half, from the file start

    stream.Seek(nonResidentNames);
    const std::uint8_t descriptionLength = le::ReadByte(stream);
    const std::u16string description = TrimmedDescription(AnsiToWide(ReadZeroTerminated(stream, descriptionLength)));

    stream.Seek(resourceTable);
    const unsigned shift = le::ReadUInt16(stream) & 0x1F;
    bool usable = false;
    while (stream.Remaining() > 0) {
        const std::uint16_t typeId = le::ReadUInt16(stream);
        if (typeId == 0)
            break;
        const std::uint64_t count = le::ReadUInt16(stream);
        stream.Skip(4);  // reserved
        for (std::uint64_t i = 0; i < count && stream.Remaining() >= kResourceEntrySize; ++i) {
            const std::uint64_t offset = std::uint64_t{le::ReadUInt16(stream)} << shift;
            const std::uint64_t length = std::uint64_t{le::ReadUInt16(stream)} << shift;
            stream.Skip(8);  // flags, ID, handle, usage
            if (typeId != kFontDirectoryType || offset == 0 || length == 0 || offset + length > fileSize)
                continue;
            const std::uint64_t next = stream.Position();
            stream.Seek(offset);
            usable = TFontDirectoryReader(stream, FItems, description).Read() || usable;
            stream.Seek(next);
        }
    }
    return usable;
}

} // namespace fontfile
