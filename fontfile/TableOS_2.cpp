#include "TableOS_2.h"

#include "FontException.h"
#include "GeneralFontInfo.h"
#include "StreamReaders.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace fontfile {

namespace {

constexpr std::uint16_t kFsSelectionItalic = 1u << 0;
constexpr std::uint16_t kFsSelectionRegular = 1u << 6;
constexpr std::uint32_t kCodePageSymbol = 1u << 31;

} // namespace

TTableOS_2::TTableOS_2(const std::string& tag) : TFontTable(CheckedTag("TTableOS_2", "OS/2", tag)) {}

namespace {

// Big-endian fields of a block read in one piece.
class TFieldBlock {
public:
    explicit TFieldBlock(const std::uint8_t* bytes) : FBytes(bytes) {}
    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>((FBytes[at] << 8) | FBytes[at + 1]); }
    std::int16_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const { return (std::uint32_t{U16(at)} << 16) | U16(at + 2); }
    // Up to the first zero byte, as be::ReadTag reads a tag.
    std::string Tag(std::size_t at) const
    {
        std::string tag;
        for (std::size_t i = at; i < at + 4 && FBytes[i] != 0; ++i)
            tag.push_back(static_cast<char>(FBytes[i]));
        return tag;
    }

private:
    const std::uint8_t* FBytes;
};

// The fields of version 0, the code page ranges of version 1, the fields of version 2.
constexpr std::size_t kVersion0Size = 78;
constexpr std::size_t kVersion1Size = 8;
constexpr std::size_t kVersion2Size = 10;

} // namespace

void TTableOS_2::Read(TFontStream& stream)
{
    // Each block in one read; fields cut by the end of the stream read as zeros.
    std::uint8_t version0[kVersion0Size];
    ReadPadded(stream, version0, sizeof version0);
    const TFieldBlock fields(version0);
    FVersion = fields.U16(0);
    FXAvgCharWidth = fields.I16(2);
    FUsWeightClass = fields.U16(4);
    FUsWidthClass = fields.U16(6);
    FFsType = fields.U16(8);
    FYSubscriptXSize = fields.I16(10);
    FYSubscriptYSize = fields.I16(12);
    FYSubscriptXOffset = fields.I16(14);
    FYSubscriptYOffset = fields.I16(16);
    FYSuperscriptXSize = fields.I16(18);
    FYSuperscriptYSize = fields.I16(20);
    FYSuperscriptXOffset = fields.I16(22);
    FYSuperscriptYOffset = fields.I16(24);
    FYStrikeoutSize = fields.I16(26);
    FYStrikeoutPosition = fields.I16(28);
    FSFamilyClass = fields.I16(30);
    std::copy_n(version0 + 32, FPanose.size(), FPanose.begin());
    for (std::size_t i = 0; i < FUlUnicodeRange.size(); ++i)
        FUlUnicodeRange[i] = fields.U32(42 + 4 * i);
    FAchVendID = fields.Tag(58);
    FFsSelection = fields.U16(62);
    FUsFirstCharIndex = fields.U16(64);
    FUsLastCharIndex = fields.U16(66);
    FSTypoAscender = fields.I16(68);
    FSTypoDescender = fields.I16(70);
    FSTypoLineGap = fields.I16(72);
    FUsWinAscent = fields.I16(74);
    FUsWinDescent = -std::int32_t{fields.U16(76)};

    FUlCodePageRange1 = FUlCodePageRange2 = 0;
    FSxHeight = FSCapHeight = 0;
    FUsDefaultChar = FUsBreakChar = FUsMaxContext = 0;
    if (FVersion >= 1) {
        std::uint8_t version1[kVersion1Size];
        ReadPadded(stream, version1, sizeof version1);
        const TFieldBlock ranges(version1);
        FUlCodePageRange1 = ranges.U32(0);
        FUlCodePageRange2 = ranges.U32(4);
    }
    // Versions above 3 add fields at the end only; they read as versions 2 and 3.
    if (FVersion >= 2) {
        std::uint8_t version2[kVersion2Size];
        ReadPadded(stream, version2, sizeof version2);
        const TFieldBlock more(version2);
        FSxHeight = more.I16(0);
        FSCapHeight = more.I16(2);
        FUsDefaultChar = more.U16(4);
        FUsBreakChar = more.U16(6);
        FUsMaxContext = more.U16(8);
    }
}

std::uint32_t TTableOS_2::UlCodePageRange1() const
{
    if (FVersion == 0)
        throw FontException("[Table OS/2] This version " + std::to_string(FVersion) +
                            " doesn't support ulCodePageRange1!");
    return FUlCodePageRange1;
}

std::uint32_t TTableOS_2::UlCodePageRange2() const
{
    if (FVersion == 0)
        throw FontException("[Table OS/2] This version " + std::to_string(FVersion) +
                            " doesn't support ulCodePageRange2!");
    return FUlCodePageRange2;
}

void TTableOS_2::ApplyTo(TGeneralFontInfoItem& item) const
{
    item.SetWeightClass(FUsWeightClass);
    item.SetFsSelection(FFsSelection);
    item.SetIsRegular((FFsSelection & kFsSelectionRegular) != 0);
    item.SetItalic((FFsSelection & kFsSelectionItalic) != 0);
    if (FVersion != 0 && (FUlCodePageRange1 & kCodePageSymbol) != 0)
        item.SetIsSymbol(true);
}

} // namespace fontfile
