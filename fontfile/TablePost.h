#pragma once

// The "post" table: PostScript header values and, for formats 1 and 2, the glyph names.

#include "FontTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fontfile {

class TTablePost final : public TFontTable {
public:
    static constexpr std::size_t kStandardNameCount = 258;
    // Indices from this value on name no glyph; they read as an empty name.
    static constexpr std::uint16_t kFirstReservedNameIndex = 32768;

    explicit TTablePost(const std::string& tag = "post");

    void Read(TFontStream& stream) override;

    // The standard Macintosh glyph order.
    static const std::array<std::string_view, kStandardNameCount>& StandardNames();

    std::uint16_t VersionMajor() const { return FVersionMajor; }
    std::uint16_t VersionMinor() const { return FVersionMinor; }
    double ItalicAngle() const { return FItalicAngle; }
    std::int16_t UnderlinePosition() const { return FUnderlinePosition; }
    std::int16_t UnderlineThickness() const { return FUnderlineThickness; }
    std::uint32_t IsFixedPitch() const { return FIsFixedPitch; }
    std::uint32_t MinMemType42() const { return FMinMemType42; }
    std::uint32_t MaxMemType42() const { return FMaxMemType42; }
    std::uint32_t MinMemType1() const { return FMinMemType1; }
    std::uint32_t MaxMemType1() const { return FMaxMemType1; }

    std::size_t GlyphNameCount() const { return FNameIndices.size(); }
    // Empty for a glyph index without a name; at most 255 characters.
    std::string GlyphName(std::size_t glyphIndex) const;

private:
    void ReadFormat2Names(TFontStream& stream);
    void ResetToVersion2();

    std::uint16_t FVersionMajor = 0;
    std::uint16_t FVersionMinor = 0;
    double FItalicAngle = 0;
    std::int16_t FUnderlinePosition = 0;
    std::int16_t FUnderlineThickness = 0;
    std::uint32_t FIsFixedPitch = 0;
    std::uint32_t FMinMemType42 = 0;
    std::uint32_t FMaxMemType42 = 0;
    std::uint32_t FMinMemType1 = 0;
    std::uint32_t FMaxMemType1 = 0;
    // The name index of each glyph; a name is made when it is asked for (most readers want
    // only the header, and a font has thousands of glyphs).
    std::vector<std::uint16_t> FNameIndices;
    // Format 2: the string area after the indices, and where each custom name that a glyph
    // refers to starts in it (its length byte; past the end for names beyond the table).
    std::vector<std::uint8_t> FNameStrings;
    std::vector<std::size_t> FCustomNameStarts;
};

} // namespace fontfile
