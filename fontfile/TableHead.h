#pragma once

// The "head" table: font revision, units per em, dates, bounding box and style bits. Read as
// stored; callers check the magic number and convert revision and dates themselves.

#include "FontTable.h"

#include <cstdint>
#include <string>

namespace fontfile {

class TTableHead final : public TFontTable {
public:
    static constexpr std::uint32_t kMagicNumber = 0x5F0F3CF5;

    explicit TTableHead(const std::string& tag = "head");

    void Read(TFontStream& stream) override;

    double Version() const { return FVersion; }
    double FontRevision() const { return FFontRevision; }
    std::uint32_t CheckSumAdjustment() const { return FCheckSumAdjustment; }
    std::uint32_t MagicNumber() const { return FMagicNumber; }
    std::uint16_t Flags() const { return FFlags; }
    std::uint16_t UnitsPerEm() const { return FUnitsPerEm; }
    // Seconds since 1904-01-01 as stored; SfntDateTimeFromSeconds converts them.
    std::int64_t Created() const { return FCreated; }
    std::int64_t Modified() const { return FModified; }
    std::int16_t XMin() const { return FXMin; }
    std::int16_t YMin() const { return FYMin; }
    std::int16_t XMax() const { return FXMax; }
    std::int16_t YMax() const { return FYMax; }
    std::uint16_t MacStyle() const { return FMacStyle; }
    std::uint16_t LowestRecPPEM() const { return FLowestRecPPEM; }
    std::int16_t FontDirectionHint() const { return FFontDirectionHint; }
    std::int16_t IndexToLocFormat() const { return FIndexToLocFormat; }
    std::int16_t GlyphDataFormat() const { return FGlyphDataFormat; }

private:
    double FVersion = 0;
    double FFontRevision = 0;
    std::uint32_t FCheckSumAdjustment = 0;
    std::uint32_t FMagicNumber = 0;
    std::uint16_t FFlags = 0;
    std::uint16_t FUnitsPerEm = 0;
    std::int64_t FCreated = 0;
    std::int64_t FModified = 0;
    std::int16_t FXMin = 0;
    std::int16_t FYMin = 0;
    std::int16_t FXMax = 0;
    std::int16_t FYMax = 0;
    std::uint16_t FMacStyle = 0;
    std::uint16_t FLowestRecPPEM = 0;
    std::int16_t FFontDirectionHint = 0;
    std::int16_t FIndexToLocFormat = 0;
    std::int16_t FGlyphDataFormat = 0;
};

} // namespace fontfile
