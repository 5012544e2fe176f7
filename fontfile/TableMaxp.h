#pragma once

// The "maxp" table: the number of glyphs and, for version 1.0, the TrueType maximum profile.

#include "FontTable.h"

#include <cstdint>
#include <string>

namespace fontfile {

class TTableMaxp final : public TFontTable {
public:
    explicit TTableMaxp(const std::string& tag = "maxp");

    // Raises "Unknown maxp table version (major,minor)" for a major version above 1.
    void Read(TFontStream& stream) override;

    std::uint16_t VersionMajor() const { return FVersionMajor; }
    std::uint16_t VersionMinor() const { return FVersionMinor; }
    std::uint16_t NumGlyphs() const { return FNumGlyphs; }
    // Version 1.0 only; 0 otherwise.
    std::uint16_t MaxPoints() const { return FMaxPoints; }
    std::uint16_t MaxContours() const { return FMaxContours; }
    std::uint16_t MaxCompositePoints() const { return FMaxCompositePoints; }
    std::uint16_t MaxCompositeContours() const { return FMaxCompositeContours; }
    std::uint16_t MaxZones() const { return FMaxZones; }
    std::uint16_t MaxTwilightPoints() const { return FMaxTwilightPoints; }
    std::uint16_t MaxStorage() const { return FMaxStorage; }
    std::uint16_t MaxFunctionDefs() const { return FMaxFunctionDefs; }
    std::uint16_t MaxInstructionDefs() const { return FMaxInstructionDefs; }
    std::uint16_t MaxStackElements() const { return FMaxStackElements; }
    std::uint16_t MaxSizeOfInstructions() const { return FMaxSizeOfInstructions; }
    std::uint16_t MaxComponentElements() const { return FMaxComponentElements; }
    std::uint16_t MaxComponentDepth() const { return FMaxComponentDepth; }

private:
    std::uint16_t FVersionMajor = 0;
    std::uint16_t FVersionMinor = 0;
    std::uint16_t FNumGlyphs = 0;
    std::uint16_t FMaxPoints = 0;
    std::uint16_t FMaxContours = 0;
    std::uint16_t FMaxCompositePoints = 0;
    std::uint16_t FMaxCompositeContours = 0;
    std::uint16_t FMaxZones = 0;
    std::uint16_t FMaxTwilightPoints = 0;
    std::uint16_t FMaxStorage = 0;
    std::uint16_t FMaxFunctionDefs = 0;
    std::uint16_t FMaxInstructionDefs = 0;
    std::uint16_t FMaxStackElements = 0;
    std::uint16_t FMaxSizeOfInstructions = 0;
    std::uint16_t FMaxComponentElements = 0;
    std::uint16_t FMaxComponentDepth = 0;
};

} // namespace fontfile
