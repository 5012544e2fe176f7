#pragma once

// Builds SFNT font files, collections and single tables as bytes, so that every test states
// the exact bytes it reads. Header-only; every field written is named where it is written.

#include <cstdint>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sfnttest {

using TByteVector = std::vector<std::uint8_t>;

// A growing big-endian byte buffer.
class TBytes {
public:
    TBytes& U8(std::uint8_t value)
    {
        FData.push_back(value);
        return *this;
    }
    TBytes& U16(std::uint16_t value) { return U8(static_cast<std::uint8_t>(value >> 8)).U8(static_cast<std::uint8_t>(value)); }
    TBytes& S16(std::int16_t value) { return U16(static_cast<std::uint16_t>(value)); }
    TBytes& U32(std::uint32_t value) { return U16(static_cast<std::uint16_t>(value >> 16)).U16(static_cast<std::uint16_t>(value)); }
    // 16.16 fixed point given as its two halves.
    TBytes& Fixed(std::uint16_t major, std::uint16_t minor) { return U16(major).U16(minor); }
    TBytes& LongDateTime(std::uint64_t seconds)
    {
        return U32(static_cast<std::uint32_t>(seconds >> 32)).U32(static_cast<std::uint32_t>(seconds));
    }
    // Exactly four bytes; shorter tags are padded with blanks.
    TBytes& Tag(std::string_view tag)
    {
        for (std::size_t i = 0; i < 4; ++i)
            U8(i < tag.size() ? static_cast<std::uint8_t>(tag[i]) : ' ');
        return *this;
    }
    TBytes& Raw(std::string_view bytes)
    {
        for (char c : bytes)
            U8(static_cast<std::uint8_t>(c));
        return *this;
    }
    TBytes& Raw(const TByteVector& bytes)
    {
        FData.insert(FData.end(), bytes.begin(), bytes.end());
        return *this;
    }
    TBytes& Utf16BE(std::u16string_view text)
    {
        for (char16_t c : text)
            U16(c);
        return *this;
    }
    // A length byte, then the characters (PostScript glyph names).
    TBytes& Pascal(std::string_view text)
    {
        U8(static_cast<std::uint8_t>(text.size()));
        return Raw(text);
    }
    TBytes& Zeros(std::size_t count)
    {
        FData.insert(FData.end(), count, 0);
        return *this;
    }
    TBytes& PadTo(std::size_t size)
    {
        if (FData.size() < size)
            FData.resize(size, 0);
        return *this;
    }
    TBytes& Align4()
    {
        while (FData.size() % 4 != 0)
            FData.push_back(0);
        return *this;
    }
    // Overwrites a big-endian value already written.
    TBytes& PatchU16(std::size_t at, std::uint16_t value)
    {
        FData.at(at) = static_cast<std::uint8_t>(value >> 8);
        FData.at(at + 1) = static_cast<std::uint8_t>(value);
        return *this;
    }
    TBytes& PatchU32(std::size_t at, std::uint32_t value)
    {
        PatchU16(at, static_cast<std::uint16_t>(value >> 16));
        return PatchU16(at + 2, static_cast<std::uint16_t>(value));
    }

    std::size_t Size() const { return FData.size(); }
    const TByteVector& Data() const { return FData; }
    TByteVector Take() { return std::move(FData); }

private:
    TByteVector FData;
};

inline constexpr std::uint32_t kSfntVersionTrueType = 0x00010000;
inline constexpr std::uint32_t kSfntVersionOTTO = 0x4F54544F;

// One SFNT font: offset table, directory, then the tables in the order added.
class TSfntBuilder {
public:
    explicit TSfntBuilder(std::uint32_t sfntVersion = kSfntVersionTrueType) : FSfntVersion(sfntVersion) {}

    TSfntBuilder& Table(std::string_view tag, TByteVector data)
    {
        FTables.push_back({std::string(tag), std::move(data), 0});
        return *this;
    }
    // Makes the directory claim lengthDelta more bytes for the last table added.
    TSfntBuilder& LengthDelta(std::int64_t lengthDelta)
    {
        FTables.back().LengthDelta = lengthDelta;
        return *this;
    }
    // The number-of-tables field as written (defaults to the real count).
    TSfntBuilder& NumberOfTables(std::uint16_t count)
    {
        FNumberOfTables = count;
        return *this;
    }

    std::size_t TableCount() const { return FTables.size(); }

    // The font as it stands at file offset base (non-zero for collection members, whose
    // table offsets count from the start of the collection file). The last table is not
    // padded, so that it ends exactly at the end of the bytes.
    TByteVector Build(std::uint32_t base = 0) const
    {
        const auto count = static_cast<std::uint16_t>(FTables.size());
        TBytes out;
        out.U32(FSfntVersion);                         // sfnt version
        out.U16(FNumberOfTables.value_or(count));      // number of tables
        std::uint16_t power = 1, log2 = 0;
        while (count > 0 && power * 2 <= count) {
            power = static_cast<std::uint16_t>(power * 2);
            ++log2;
        }
        out.U16(static_cast<std::uint16_t>(16 * power));        // search range
        out.U16(log2);                                            // entry selector
        out.U16(static_cast<std::uint16_t>(16 * count - 16 * power));  // range shift

        std::size_t dataStart = 12 + 16 * FTables.size();
        std::vector<std::size_t> offsets;
        std::size_t at = dataStart;
        for (const auto& table : FTables) {
            offsets.push_back(at);
            at += (table.Data.size() + 3) & ~std::size_t{3};
        }
        for (std::size_t i = 0; i < FTables.size(); ++i) {
            const auto& table = FTables[i];
            out.Tag(table.Tag);                                            // tag
            out.U32(0);                                                    // checksum, not verified
            out.U32(static_cast<std::uint32_t>(base + offsets[i]));        // offset from the file start
            out.U32(static_cast<std::uint32_t>(static_cast<std::int64_t>(table.Data.size()) + table.LengthDelta));  // length
        }
        for (std::size_t i = 0; i < FTables.size(); ++i) {
            out.Raw(FTables[i].Data);
            if (i + 1 < FTables.size())
                out.Align4();
        }
        return out.Take();
    }

private:
    struct TTableBlob {
        std::string Tag;
        TByteVector Data;
        std::int64_t LengthDelta;
    };
    std::uint32_t FSfntVersion;
    std::optional<std::uint16_t> FNumberOfTables;
    std::vector<TTableBlob> FTables;
};

// A TrueType collection: header, member offsets, then each member's font.
class TCollectionBuilder {
public:
    explicit TCollectionBuilder(std::uint32_t version = 0x00010000) : FVersion(version) {}

    TCollectionBuilder& Member(TSfntBuilder font)
    {
        FMembers.push_back(std::move(font));
        return *this;
    }
    // Writes this number of fonts instead of the real count.
    TCollectionBuilder& NumberOfFonts(std::uint32_t count)
    {
        FNumberOfFonts = count;
        return *this;
    }
    // Pads the file with zeros to at least this size (the collection check wants 200 bytes).
    TCollectionBuilder& MinimumSize(std::size_t size)
    {
        FMinimumSize = size;
        return *this;
    }

    TByteVector Build() const
    {
        TBytes out;
        out.Tag("ttcf");                                                   // tag
        out.U32(FVersion);                                                 // version
        out.U32(FNumberOfFonts.value_or(static_cast<std::uint32_t>(FMembers.size())));  // number of fonts
        const std::size_t offsetsAt = out.Size();
        for (std::size_t i = 0; i < FMembers.size(); ++i)
            out.U32(0);                                                    // member offset, patched below
        if (FVersion == 0x00020000)
            out.U32(0).U32(0).U32(0);                                      // DSIG tag, length, offset
        for (std::size_t i = 0; i < FMembers.size(); ++i) {
            out.Align4();
            const auto memberAt = static_cast<std::uint32_t>(out.Size());
            out.PatchU32(offsetsAt + 4 * i, memberAt);
            out.Raw(FMembers[i].Build(memberAt));
        }
        out.PadTo(FMinimumSize);
        return out.Take();
    }

private:
    std::uint32_t FVersion;
    std::optional<std::uint32_t> FNumberOfFonts;
    std::size_t FMinimumSize = 0;
    std::vector<TSfntBuilder> FMembers;
};

// A "name" table. Strings are stored one after another in the order of the records.
class TNameTableBuilder {
public:
    struct TRecord {
        std::uint16_t PlatformID = 3;
        std::uint16_t EncodingID = 1;
        std::uint16_t LanguageID = 0x0409;
        std::uint16_t NameID = 0;
        TByteVector Bytes;                        // the stored string
        std::optional<std::uint16_t> Length;      // overrides the length written
        std::optional<std::uint16_t> Offset;      // overrides the string offset written
    };

    explicit TNameTableBuilder(std::uint16_t formatSelector = 0) : FFormatSelector(formatSelector) {}

    // A Unicode (platform 0) or Microsoft (platform 3) name, stored as UTF-16BE.
    TNameTableBuilder& Name(std::uint16_t platformId, std::uint16_t encodingId, std::uint16_t languageId,
                            std::uint16_t nameId, std::u16string_view text)
    {
        TBytes bytes;
        bytes.Utf16BE(text);
        return Record({platformId, encodingId, languageId, nameId, bytes.Take(), {}, {}});
    }
    // The usual Windows Unicode BMP name.
    TNameTableBuilder& Win(std::uint16_t languageId, std::uint16_t nameId, std::u16string_view text)
    {
        return Name(3, 1, languageId, nameId, text);
    }
    // A single-byte name (Macintosh and other platforms).
    TNameTableBuilder& Bytes(std::uint16_t platformId, std::uint16_t encodingId, std::uint16_t languageId,
                             std::uint16_t nameId, std::string_view bytes)
    {
        TBytes data;
        data.Raw(bytes);
        return Record({platformId, encodingId, languageId, nameId, data.Take(), {}, {}});
    }
    TNameTableBuilder& Record(TRecord record)
    {
        FRecords.push_back(std::move(record));
        return *this;
    }

    TByteVector Build() const
    {
        TBytes out;
        const auto count = static_cast<std::uint16_t>(FRecords.size());
        out.U16(FFormatSelector);                        // format selector
        out.U16(count);                                  // number of name records
        out.U16(static_cast<std::uint16_t>(6 + 12 * count));  // string storage offset
        std::uint16_t stringOffset = 0;
        for (const auto& record : FRecords) {
            out.U16(record.PlatformID);                  // platform ID
            out.U16(record.EncodingID);                  // encoding ID
            out.U16(record.LanguageID);                  // language ID
            out.U16(record.NameID);                      // name ID
            out.U16(record.Length.value_or(static_cast<std::uint16_t>(record.Bytes.size())));  // length
            out.U16(record.Offset.value_or(stringOffset));  // offset in the string storage
            stringOffset = static_cast<std::uint16_t>(stringOffset + record.Bytes.size());
        }
        for (const auto& record : FRecords)
            out.Raw(record.Bytes);
        return out.Take();
    }

private:
    std::uint16_t FFormatSelector;
    std::vector<TRecord> FRecords;
};

// An "OS/2" table of a given version; fields not set are 0.
struct TOS2Fields {
    std::uint16_t Version = 3;
    std::int16_t XAvgCharWidth = 500;
    std::uint16_t UsWeightClass = 400;
    std::uint16_t UsWidthClass = 5;
    std::uint16_t FsType = 0;
    std::int16_t SubscriptAndSuperscript[8] = {650, 600, 0, 75, 650, 600, 0, 350};
    std::int16_t YStrikeoutSize = 50;
    std::int16_t YStrikeoutPosition = 300;
    std::int16_t SFamilyClass = 0;
    std::uint8_t Panose[10] = {2, 11, 6, 3, 3, 8, 4, 2, 2, 4};
    std::uint32_t UlUnicodeRange[4] = {1, 0, 0, 0};
    std::string AchVendID = "TEST";
    std::uint16_t FsSelection = 0x0040;
    std::uint16_t UsFirstCharIndex = 0x20;
    std::uint16_t UsLastCharIndex = 0xFFFD;
    std::int16_t STypoAscender = 760;
    std::int16_t STypoDescender = -240;
    std::int16_t STypoLineGap = 200;
    std::uint16_t UsWinAscent = 900;
    std::uint16_t UsWinDescent = 300;
    std::uint32_t UlCodePageRange1 = 1;
    std::uint32_t UlCodePageRange2 = 0;
    std::int16_t SxHeight = 520;
    std::int16_t SCapHeight = 700;
    std::uint16_t UsDefaultChar = 0;
    std::uint16_t UsBreakChar = 32;
    std::uint16_t UsMaxContext = 2;

    // Writes the fields that exist in Version (versions above 3 are written as 3 is).
    TByteVector Build() const
    {
        TBytes out;
        out.U16(Version);                 // version
        out.S16(XAvgCharWidth);           // xAvgCharWidth
        out.U16(UsWeightClass);           // usWeightClass
        out.U16(UsWidthClass);            // usWidthClass
        out.U16(FsType);                  // fsType
        for (auto value : SubscriptAndSuperscript)
            out.S16(value);               // ySubscript*, ySuperscript* (X size, Y size, X offset, Y offset)
        out.S16(YStrikeoutSize);          // yStrikeoutSize
        out.S16(YStrikeoutPosition);      // yStrikeoutPosition
        out.S16(SFamilyClass);            // sFamilyClass
        for (auto value : Panose)
            out.U8(value);                // panose
        for (auto value : UlUnicodeRange)
            out.U32(value);               // ulUnicodeRange1..4
        out.Tag(AchVendID);               // achVendID
        out.U16(FsSelection);             // fsSelection
        out.U16(UsFirstCharIndex);        // usFirstCharIndex
        out.U16(UsLastCharIndex);         // usLastCharIndex
        out.S16(STypoAscender);           // sTypoAscender
        out.S16(STypoDescender);          // sTypoDescender
        out.S16(STypoLineGap);            // sTypoLineGap
        out.U16(UsWinAscent);             // usWinAscent
        out.U16(UsWinDescent);            // usWinDescent
        if (Version >= 1) {
            out.U32(UlCodePageRange1);    // ulCodePageRange1
            out.U32(UlCodePageRange2);    // ulCodePageRange2
        }
        if (Version >= 2) {
            out.S16(SxHeight);            // sxHeight
            out.S16(SCapHeight);          // sCapHeight
            out.U16(UsDefaultChar);       // usDefaultChar
            out.U16(UsBreakChar);         // usBreakChar
            out.U16(UsMaxContext);        // usMaxContext
        }
        return out.Take();
    }
};

struct THeadFields {
    std::uint16_t VersionMajor = 1, VersionMinor = 0;
    std::uint16_t RevisionMajor = 2, RevisionMinor = 0x8000;  // 2.5
    std::uint32_t CheckSumAdjustment = 0x12345678;
    std::uint32_t MagicNumber = 0x5F0F3CF5;
    std::uint16_t Flags = 0x000B;
    std::uint16_t UnitsPerEm = 2048;
    std::uint64_t Created = 86400;       // 1904-01-02
    std::uint64_t Modified = 2 * 86400 + 3661;
    std::int16_t XMin = -100, YMin = -200, XMax = 1000, YMax = 900;
    std::uint16_t MacStyle = 1;
    std::uint16_t LowestRecPPEM = 9;
    std::int16_t FontDirectionHint = 2;
    std::int16_t IndexToLocFormat = 1;
    std::int16_t GlyphDataFormat = 0;

    TByteVector Build() const
    {
        TBytes out;
        out.Fixed(VersionMajor, VersionMinor);    // version
        out.Fixed(RevisionMajor, RevisionMinor);  // fontRevision
        out.U32(CheckSumAdjustment);              // checkSumAdjustment
        out.U32(MagicNumber);                     // magicNumber
        out.U16(Flags);                           // flags
        out.U16(UnitsPerEm);                      // unitsPerEm
        out.LongDateTime(Created);                // created
        out.LongDateTime(Modified);               // modified
        out.S16(XMin).S16(YMin).S16(XMax).S16(YMax);  // bounding box
        out.U16(MacStyle);                        // macStyle
        out.U16(LowestRecPPEM);                   // lowestRecPPEM
        out.S16(FontDirectionHint);               // fontDirectionHint
        out.S16(IndexToLocFormat);                // indexToLocFormat
        out.S16(GlyphDataFormat);                 // glyphDataFormat
        return out.Take();
    }
};

// "maxp": version halves, numGlyphs, and for version 1.0 the thirteen TrueType maxima 1..13.
inline TByteVector MaxpTable(std::uint16_t major, std::uint16_t minor, std::uint16_t numGlyphs, bool withProfile)
{
    TBytes out;
    out.Fixed(major, minor);  // version
    out.U16(numGlyphs);       // numGlyphs
    if (withProfile)
        for (std::uint16_t i = 1; i <= 13; ++i)
            out.U16(i);       // maxPoints .. maxComponentDepth
    return out.Take();
}

// The 32-byte "post" header.
inline TBytes PostHeader(std::uint16_t major, std::uint16_t minor)
{
    TBytes out;
    out.Fixed(major, minor);  // version
    out.Fixed(0xFFF4, 0);     // italicAngle -12.0
    out.S16(-75);             // underlinePosition
    out.S16(50);              // underlineThickness
    out.U32(1);               // isFixedPitch
    out.U32(0).U32(0).U32(0).U32(0);  // min/max memory Type 42 and Type 1
    return out;
}

// A format 2.0 "post" table: glyph name indices and the custom names in storage order.
inline TByteVector PostFormat2(const std::vector<std::uint16_t>& nameIndices, const std::vector<std::string>& customNames)
{
    TBytes out = PostHeader(2, 0);
    out.U16(static_cast<std::uint16_t>(nameIndices.size()));  // numGlyphs
    for (auto index : nameIndices)
        out.U16(index);                                        // glyphNameIndex[i]
    for (const auto& name : customNames)
        out.Pascal(name);                                      // names, length-prefixed
    return out.Take();
}

struct TKernPairSpec {
    std::uint16_t Left, Right;
    std::int16_t Value;
};

// One "kern" subtable; the binary-search fields are the correct ones unless overridden.
struct TKernSubtable {
    std::uint16_t Version = 0;
    std::uint16_t Coverage = 0x0001;  // format in the upper byte, horizontal
    std::vector<TKernPairSpec> Pairs;
    std::optional<std::uint16_t> PairCount, SearchRange, EntrySelector, RangeShift;
    std::optional<std::uint16_t> Length;  // overrides the subtable length

    TByteVector Build() const
    {
        const auto count = PairCount.value_or(static_cast<std::uint16_t>(Pairs.size()));
        std::uint32_t power = count ? 1 : 0, log2 = 0;
        while (count && power * 2 <= count) {
            power *= 2;
            ++log2;
        }
        TBytes body;
        if ((Coverage >> 8) == 0) {
            body.U16(count);                                                            // nPairs
            body.U16(SearchRange.value_or(static_cast<std::uint16_t>(6 * power)));     // searchRange
            body.U16(EntrySelector.value_or(static_cast<std::uint16_t>(log2)));        // entrySelector
            body.U16(RangeShift.value_or(static_cast<std::uint16_t>(6 * count - 6 * power)));  // rangeShift
            for (const auto& pair : Pairs)
                body.U16(pair.Left).U16(pair.Right).S16(pair.Value);                 // left, right, value
        }
        TBytes out;
        out.U16(Version);                                                              // subtable version
        out.U16(Length.value_or(static_cast<std::uint16_t>(6 + body.Size())));       // length, header included
        out.U16(Coverage);                                                             // coverage
        out.Raw(body.Data());
        return out.Take();
    }
};

inline TByteVector KernTable(const std::vector<TKernSubtable>& subtables, std::uint16_t version = 0)
{
    TBytes out;
    out.U16(version);                                           // version
    out.U16(static_cast<std::uint16_t>(subtables.size()));     // number of subtables
    for (const auto& subtable : subtables)
        out.Raw(subtable.Build());
    return out.Take();
}

inline void WriteFile(const std::string& path, const TByteVector& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace sfnttest
