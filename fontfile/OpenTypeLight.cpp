#include "OpenTypeLight.h"

#include "BufferedFontStream.h"
#include "ByteText.h"
#include "DirectoryWalk.h"
#include "DisposedFileStream.h"
#include "Environment.h"
#include "FileNames.h"
#include "StreamReaders.h"
#include "TableCatalogue.h"
#include "TableKern.h"
#include "TableName.h"
#include "TableOS_2.h"

#include <exception>
#include <memory>

namespace fontfile {

namespace {

std::u16string TableListLine(const TTableDirectoryEntry& entry)
{
    // "%s - %s - %d bytes": the length as a signed 32-bit number.
    const auto length = static_cast<std::int32_t>(entry.Length);
    return AnsiToWide(entry.Tag) + u" - " + Widen(TableDescription(entry.Tag)) + u" - "
        + Widen(std::to_string(length)) + u" bytes";
}

} // namespace

bool TOpenTypeLight::IsValidFile(const std::string& fileName)
{
    try {
        TFileFontStream file(fileName);
        TBufferedFontStream stream(file, TBufferedFontStream::kLightReadWindowSize);
        return IsValidStream(stream, fileName);
    } catch (const std::exception&) {
        return false;
    }
}

bool TOpenTypeLight::IsValidStream(TFontStream& stream, const std::string& fileName)
{
    try {
        const std::string extension = UpperCased(FileExtension(fileName));
        const bool strict = extension != ".TTF" && extension != ".OTF";
        const std::uint64_t fileSize = stream.Size();
        if (fileSize < kMinimumFileSize)
            return false;
        stream.Seek(0);
        const std::uint32_t version = be::ReadUInt32(stream);
        const std::uint16_t numberOfTables = be::ReadUInt16(stream);
        if (strict
            && (numberOfTables < kStrictMinTables || numberOfTables > kStrictMaxTables
                || (version != kTrueTypeVersion && version != kOpenTypeVersion)))
            return false;
        stream.Skip(6);
        for (std::uint16_t i = 0; i < numberOfTables && stream.Remaining() >= kTableDirectoryEntrySize; ++i) {
            const std::string tag = be::ReadTag(stream);
            stream.Skip(4);  // checksum
            const std::uint64_t offset = be::ReadUInt32(stream);
            const std::uint64_t length = be::ReadUInt32(stream);
            if (tag == "head")
                return offset + length <= fileSize;
        }
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

void TOpenTypeLight::LoadFromFile(const std::string& fileName)
{
    TDisposedFileStream file(fileName);
    TBufferedFontStream stream(*file, TBufferedFontStream::kLightReadWindowSize);
    LoadFromStream(stream);
}

void TOpenTypeLight::LoadFromStream(TFontStream& stream)
{
    FTables.Clear();
    FFileSize = stream.Size();
    stream.Seek(0);

    FSfntVersion = be::ReadUInt32(stream);
    if (FSfntVersion == kTrueTypeVersion)
        FItem.SetGdiTypeBits(GdiTypeBits::TrueType);
    else if (FSfntVersion == kOpenTypeVersion) {
        FItem.SetGdiTypeBits(GdiTypeBits::Device);
        FItem.SetFontKind(FontKind::OpenTypePostScript);
    } else
        FItem.SetGdiTypeBits(GdiTypeBits::None);
    const std::uint16_t numberOfTables = be::ReadUInt16(stream);
    stream.Skip(6);
    if (numberOfTables == 0)
        return;

    // The outlines decide the kind, whatever the sfnt version said.
    FItem.SetFontKind(FontKind::TrueType);
    WalkTableDirectory(stream, numberOfTables, FTables, [this](const TTableDirectoryEntry& entry, int kind) {
        if (kind == kTableKindCFF)
            FItem.SetFontKind(FontKind::OpenTypePostScript);
        else if (kind == kTableKindDSIG && FItem.FontKind() == FontKind::TrueType)
            FItem.SetFontKind(FontKind::OpenTypeTrueType);
        return SelectNameAndOS2(entry, kind);
    });

    if (const auto* names = FTables.FindAs<TTableName>("name")) {
        names->FillGeneralNames(FItem);
        const bool postScriptOutlines = FItem.FontKind() == FontKind::OpenTypePostScript;
        FItem.SetRegistryName(FItem.FullName() + (postScriptOutlines ? u" (OpenType)" : u" (TrueType)"));
    }
    if (const auto* os2 = FTables.FindAs<TTableOS_2>("OS/2"))
        os2->ApplyTo(FItem);
}

void TOpenTypeLight::ReadTableList(const std::string& fileName, TExtendedFontInfoRecord& record)
{
    FTables.Clear();
    record.TableList.clear();
    TDisposedFileStream file(fileName);
    TBufferedFontStream stream(*file, TBufferedFontStream::kLightReadWindowSize);
    FFileSize = stream.Size();

    FSfntVersion = be::ReadUInt32(stream);
    const std::uint16_t numberOfTables = be::ReadUInt16(stream);
    stream.Skip(6);
    if (numberOfTables > 0) {
        auto addLine = [&record](const TTableDirectoryEntry& entry) {
            if (!record.TableList.empty())
                record.TableList += u"\r\n";
            record.TableList += TableListLine(entry);
        };
        auto select = [](const TTableDirectoryEntry&, int kind) -> std::unique_ptr<TFontTable> {
            if (kind == kTableKindKern)
                return std::make_unique<TTableKern>();
            if (kind == kTableKindOS2)
                return std::make_unique<TTableOS_2>();
            return nullptr;
        };
        WalkTableDirectory(stream, numberOfTables, FTables, select, addLine);
    }
    const auto* kern = FTables.FindAs<TTableKern>("kern");
    record.KerningPairs = kern ? static_cast<std::int32_t>(kern->PairCount()) : 0;
}

} // namespace fontfile
