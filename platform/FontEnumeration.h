#pragma once

// The system's font enumeration: every face that fontconfig offers, listed on a configuration
// loaded afresh, so that fonts other programs installed since the last listing are seen and the
// program's own private loads never are.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// One face as the system enumeration reports it.
struct TSystemFontFace {
    QString FamilyName;  // the legacy family name (the last English family value)
    QString StyleName;
    QString FullName;    // family and style when the font names none
    std::int32_t Weight = 400;  // 100..900
    bool Italic = false;        // italic or oblique
    std::int32_t TypeBits = 0;  // 1 raster, 2 PostScript outlines, 4 TrueType
    // Where fontconfig found the face; kept beside the enumeration record.
    QString File;
    int Index = 0;
};

// Type bits of a fontconfig font format: TrueType 4; CFF and Type 1 2; bitmap formats 1.
std::int32_t TypeBitsOfFontFormat(const QString& format);

// Every face of the fonts fontconfig offers, in fontconfig's order. Variable fonts appear
// through their named instances only. nullopt when fontconfig cannot load its configuration.
std::optional<std::vector<TSystemFontFace>> EnumerateSystemFonts();

} // namespace platform
