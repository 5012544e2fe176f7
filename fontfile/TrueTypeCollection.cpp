#include "TrueTypeCollection.h"

#include "BufferedFontStream.h"
#include "DirectoryWalk.h"
#include "FontException.h"
#include "StreamReaders.h"
#include "TableCatalogue.h"
#include "TableName.h"
#include "TableOS_2.h"

#include <memory>

namespace fontfile {

namespace {

constexpr std::string_view kCollectionTag = "ttcf";
constexpr std::uint64_t kCollectionHeaderSize = 12;
constexpr std::uint64_t kMemberOffsetSize = 4;

bool IsKnownVersion(std::uint32_t version)
{
    return version == TTrueTypeCollection::kVersion1 || version == TTrueTypeCollection::kVersion2;
}

// Whether the member offsets of a header claiming count fonts are all inside the file.
bool OffsetsFit(const TFontStream& stream, std::uint32_t count)
{
    return count <= TTrueTypeCollection::kMaxFonts && kMemberOffsetSize * count <= stream.Remaining();
}

} // namespace

void TTrueTypeCollectionFont::Read(TFontStream& stream, TGeneralFontInfoList& items, TCollectionReadBudget* budget)
{
    FSfntVersion = be::ReadUInt32(stream);
    const std::uint16_t numberOfTables = be::ReadUInt16(stream);
    stream.Skip(6);  // search range, entry selector, range shift
    if (numberOfTables != 0) {
        std::uint64_t nameBudget = TTableName::kMaxDecodedStringBytes;
        if (budget) {
            const std::uint64_t present = stream.Remaining() / kTableDirectoryEntrySize;
            const std::uint64_t entries = numberOfTables < present ? numberOfTables : present;
            if (entries > budget->DirectoryEntries)
                throw FontException("This is not a valid font file.");
            budget->DirectoryEntries -= entries;
            if (budget->NameStringBytes < nameBudget)
                nameBudget = budget->NameStringBytes;
        }
        const auto rule = [nameBudget](const TTableDirectoryEntry& entry, int kind) -> std::unique_ptr<TFontTable> {
            if (kind == kTableKindName) {
                const std::uint64_t ownBudget = TTableName::StringBudgetFor(entry.Length);
                return std::make_unique<TTableName>("name", ownBudget < nameBudget ? ownBudget : nameBudget);
            }
            return SelectNameAndOS2(entry, kind);
        };
        WalkTableDirectory(stream, numberOfTables, FTables, rule);
        if (const auto* names = FTables.FindAs<TTableName>("name"); names && budget)
            budget->NameStringBytes -= names->DecodedStringBytes();
    }

    TGeneralFontInfoItem& item = items.Add();
    item.SetFontKind(FontKind::TrueTypeCollection);
    item.SetGdiTypeBits(GdiTypeBits::TrueType);
    if (const auto* names = FTables.FindAs<TTableName>("name"))
        names->FillGeneralNames(item);
    if (const auto* os2 = FTables.FindAs<TTableOS_2>("OS/2"))
        os2->ApplyTo(item);
}

bool TTrueTypeCollection::IsValidFile(const std::string& fileName)
{
    try {
        TFileFontStream file(fileName);
        TBufferedFontStream stream(file, TBufferedFontStream::kLightReadWindowSize);
        return IsValidStream(stream);
    } catch (...) {
        return false;
    }
}

bool TTrueTypeCollection::IsValidStream(TFontStream& stream)
{
    try {
        stream.Seek(0);
        if (stream.Size() < kMinimumFileSize)
            return false;
        if (be::ReadTag(stream) != kCollectionTag || !IsKnownVersion(be::ReadUInt32(stream)))
            return false;
        const std::uint32_t count = be::ReadUInt32(stream);
        if (!OffsetsFit(stream, count))
            return false;
        for (std::uint32_t i = 0; i < count; ++i)
            if (be::ReadUInt32(stream) > stream.Size())
                return false;
        return true;
    } catch (...) {
        return false;
    }
}

void TTrueTypeCollection::LoadFromFile(const std::string& fileName)
{
    TFileFontStream stream(fileName);
    LoadFromStream(stream);
}

void TTrueTypeCollection::LoadFromStream(TFontStream& stream)
{
    FFileSize = stream.Size();
    FItems.Clear();
    stream.Seek(0);
    if (be::ReadTag(stream) != kCollectionTag || !IsKnownVersion(be::ReadUInt32(stream)))
        return;
    const std::uint32_t count = be::ReadUInt32(stream);
    if (count == 0)
        return;
    if (!OffsetsFit(stream, count))
        throw FontException("This is not a valid font file.");

    TCollectionReadBudget budget;
    for (std::uint32_t i = 0; i < count; ++i) {
        stream.Seek(kCollectionHeaderSize + kMemberOffsetSize * i);
        const std::uint32_t offset = be::ReadUInt32(stream);
        stream.Seek(offset);
        TTrueTypeCollectionFont member;
        member.Read(stream, FItems, &budget);
    }
    SetRegistryNames();
}

void TTrueTypeCollection::SetRegistryNames()
{
    static constexpr std::u16string_view kSeparator = u" & ";
    static constexpr std::u16string_view kSuffix = u" (TrueType)";
    static constexpr std::size_t kMaxJoinedLength = kMaxRegistryNameLength - kSuffix.size();

    std::u16string text;
    for (std::size_t i = 0; i < FItems.Count() && text.size() < kMaxJoinedLength; ++i) {
        if (!text.empty())
            text += kSeparator;
        text += FItems[i].FullName();
    }
    if (text.empty())
        return;
    if (text.size() > kMaxJoinedLength)
        text.resize(kMaxJoinedLength);
    text += kSuffix;
    for (std::size_t i = 0; i < FItems.Count(); ++i)
        FItems[i].SetRegistryName(text);
}

} // namespace fontfile
