#pragma once

// The "OS/2" table: metrics, weight and width classes, embedding rights, PANOSE, character
// ranges and selection bits.

#include "FontTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace fontfile {

class TGeneralFontInfoItem;

class TTableOS_2 final : public TFontTable {
public:
    explicit TTableOS_2(const std::string& tag = "OS/2");

    void Read(TFontStream& stream) override;

    // Weight class, selection bits (regular, italic) and the symbol flag of the face.
    void ApplyTo(TGeneralFontInfoItem& item) const;

    // Version 0 tables have no code-page ranges: these raise there; test Version() first.
    std::uint32_t UlCodePageRange1() const;
    std::uint32_t UlCodePageRange2() const;

    std::uint16_t Version() const { return FVersion; }
    std::int16_t XAvgCharWidth() const { return FXAvgCharWidth; }
    std::uint16_t UsWeightClass() const { return FUsWeightClass; }
    std::uint16_t UsWidthClass() const { return FUsWidthClass; }
    std::uint16_t FsType() const { return FFsType; }
    std::int16_t YSubscriptXSize() const { return FYSubscriptXSize; }
    std::int16_t YSubscriptYSize() const { return FYSubscriptYSize; }
    std::int16_t YSubscriptXOffset() const { return FYSubscriptXOffset; }
    std::int16_t YSubscriptYOffset() const { return FYSubscriptYOffset; }
    std::int16_t YSuperscriptXSize() const { return FYSuperscriptXSize; }
    std::int16_t YSuperscriptYSize() const { return FYSuperscriptYSize; }
    std::int16_t YSuperscriptXOffset() const { return FYSuperscriptXOffset; }
    std::int16_t YSuperscriptYOffset() const { return FYSuperscriptYOffset; }
    std::int16_t YStrikeoutSize() const { return FYStrikeoutSize; }
    std::int16_t YStrikeoutPosition() const { return FYStrikeoutPosition; }
    std::int16_t SFamilyClass() const { return FSFamilyClass; }
    const std::array<std::uint8_t, 10>& Panose() const { return FPanose; }
    std::uint32_t UlUnicodeRange1() const { return FUlUnicodeRange[0]; }
    std::uint32_t UlUnicodeRange2() const { return FUlUnicodeRange[1]; }
    std::uint32_t UlUnicodeRange3() const { return FUlUnicodeRange[2]; }
    std::uint32_t UlUnicodeRange4() const { return FUlUnicodeRange[3]; }
    const std::string& AchVendID() const { return FAchVendID; }
    std::uint16_t FsSelection() const { return FFsSelection; }
    std::uint16_t UsFirstCharIndex() const { return FUsFirstCharIndex; }
    std::uint16_t UsLastCharIndex() const { return FUsLastCharIndex; }
    std::int16_t STypoAscender() const { return FSTypoAscender; }
    std::int16_t STypoDescender() const { return FSTypoDescender; }
    std::int16_t STypoLineGap() const { return FSTypoLineGap; }
    std::int16_t UsWinAscent() const { return FUsWinAscent; }
    // Held negated: a usWinDescent of 500 in the file answers -500.
    std::int32_t UsWinDescent() const { return FUsWinDescent; }
    std::int16_t SxHeight() const { return FSxHeight; }
    std::int16_t SCapHeight() const { return FSCapHeight; }
    std::uint16_t UsDefaultChar() const { return FUsDefaultChar; }
    std::uint16_t UsBreakChar() const { return FUsBreakChar; }
    std::uint16_t UsMaxContext() const { return FUsMaxContext; }

private:
    std::uint16_t FVersion = 0;
    std::int16_t FXAvgCharWidth = 0;
    std::uint16_t FUsWeightClass = 0;
    std::uint16_t FUsWidthClass = 0;
    std::uint16_t FFsType = 0;
    std::int16_t FYSubscriptXSize = 0;
    std::int16_t FYSubscriptYSize = 0;
    std::int16_t FYSubscriptXOffset = 0;
    std::int16_t FYSubscriptYOffset = 0;
    std::int16_t FYSuperscriptXSize = 0;
    std::int16_t FYSuperscriptYSize = 0;
    std::int16_t FYSuperscriptXOffset = 0;
    std::int16_t FYSuperscriptYOffset = 0;
    std::int16_t FYStrikeoutSize = 0;
    std::int16_t FYStrikeoutPosition = 0;
    std::int16_t FSFamilyClass = 0;
    std::array<std::uint8_t, 10> FPanose{};
    std::array<std::uint32_t, 4> FUlUnicodeRange{};
    std::string FAchVendID;
    std::uint16_t FFsSelection = 0;
    std::uint16_t FUsFirstCharIndex = 0;
    std::uint16_t FUsLastCharIndex = 0;
    std::int16_t FSTypoAscender = 0;
    std::int16_t FSTypoDescender = 0;
    std::int16_t FSTypoLineGap = 0;
    std::int16_t FUsWinAscent = 0;
    std::int32_t FUsWinDescent = 0;
    std::uint32_t FUlCodePageRange1 = 0;
    std::uint32_t FUlCodePageRange2 = 0;
    std::int16_t FSxHeight = 0;
    std::int16_t FSCapHeight = 0;
    std::uint16_t FUsDefaultChar = 0;
    std::uint16_t FUsBreakChar = 0;
    std::uint16_t FUsMaxContext = 0;
};

} // namespace fontfile
