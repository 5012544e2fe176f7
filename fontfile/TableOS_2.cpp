#include "TableOS_2.h"

#include "FontException.h"
#include "GeneralFontInfo.h"
#include "StreamReaders.h"

namespace fontfile {

namespace {

constexpr std::uint16_t kFsSelectionItalic = 1u << 0;
constexpr std::uint16_t kFsSelectionRegular = 1u << 6;
constexpr std::uint32_t kCodePageSymbol = 1u << 31;

} // namespace

TTableOS_2::TTableOS_2(const std::string& tag) : TFontTable(CheckedTag("TTableOS_2", "OS/2", tag)) {}

void TTableOS_2::Read(TFontStream& stream)
{
    FVersion = be::ReadUInt16(stream);
    FXAvgCharWidth = be::ReadInt16(stream);
    FUsWeightClass = be::ReadUInt16(stream);
    FUsWidthClass = be::ReadUInt16(stream);
    FFsType = be::ReadUInt16(stream);
    FYSubscriptXSize = be::ReadInt16(stream);
    FYSubscriptYSize = be::ReadInt16(stream);
    FYSubscriptXOffset = be::ReadInt16(stream);
    FYSubscriptYOffset = be::ReadInt16(stream);
    FYSuperscriptXSize = be::ReadInt16(stream);
    FYSuperscriptYSize = be::ReadInt16(stream);
    FYSuperscriptXOffset = be::ReadInt16(stream);
    FYSuperscriptYOffset = be::ReadInt16(stream);
    FYStrikeoutSize = be::ReadInt16(stream);
    FYStrikeoutPosition = be::ReadInt16(stream);
    FSFamilyClass = be::ReadInt16(stream);
    ReadPadded(stream, FPanose.data(), FPanose.size());
    for (auto& range : FUlUnicodeRange)
        range = be::ReadUInt32(stream);
    FAchVendID = be::ReadTag(stream);
    FFsSelection = be::ReadUInt16(stream);
    FUsFirstCharIndex = be::ReadUInt16(stream);
    FUsLastCharIndex = be::ReadUInt16(stream);
    FSTypoAscender = be::ReadInt16(stream);
    FSTypoDescender = be::ReadInt16(stream);
    FSTypoLineGap = be::ReadInt16(stream);
    FUsWinAscent = be::ReadInt16(stream);
    FUsWinDescent = -std::int32_t{be::ReadUInt16(stream)};

    FUlCodePageRange1 = FUlCodePageRange2 = 0;
    FSxHeight = FSCapHeight = 0;
    FUsDefaultChar = FUsBreakChar = FUsMaxContext = 0;
    if (FVersion >= 1) {
        FUlCodePageRange1 = be::ReadUInt32(stream);
        FUlCodePageRange2 = be::ReadUInt32(stream);
    }
    // Versions above 3 add fields at the end only; they read as versions 2 and 3.
    if (FVersion >= 2) {
        FSxHeight = be::ReadInt16(stream);
        FSCapHeight = be::ReadInt16(stream);
        FUsDefaultChar = be::ReadUInt16(stream);
        FUsBreakChar = be::ReadUInt16(stream);
        FUsMaxContext = be::ReadUInt16(stream);
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
