#include "TableCatalogue.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace fontfile {

namespace {

struct TCatalogueRow {
    std::string_view Tag;
    int Kind;
    std::string_view Description;
};

constexpr std::array<TCatalogueRow, 55> kCatalogue = {{
    {"cmap", 1, "Character to glyph mapping"},
    {"head", 6, "Font header"},
    {"hhea", 7, "Horizontal header"},
    {"hmtx", 8, "Horizontal metrics"},
    {"maxp", 11, "Maximum profile"},
    {"name", 12, "Naming table"},
    {"OS/2", 18, "OS/2 and Windows specific metrics"},
    {"post", 13, "PostScript information"},
    {"cvt ", 2, "Control Value Table"},
    {"fpgm", 3, "Font program"},
    {"glyf", 5, "Glyph data"},
    {"loca", 10, "Index to location"},
    {"prep", 14, "CVT Program"},
    {"CFF ", 19, "PostScript font program (compact font format)"},
    {"VORG", 36, "Vertical Origin"},
    {"fvar", 20, "Font variation"},
    {"MMSD", 16, "Multiple master supplementary data"},
    {"MMFX", 17, "Multiple master font metrics"},
    {"BASE", 21, "Baseline data"},
    {"GDEF", 22, "Glyph definition data"},
    {"GPOS", 23, "Glyph positioning data"},
    {"GSUB", 24, "Glyph substitution data"},
    {"JSTF", 25, "Justification data"},
    {"EBDT", 26, "Embedded bitmap data"},
    {"EBLC", 27, "Embedded bitmap location data"},
    {"EBSC", 28, "Embedded bitmap scaling data"},
    {"DSIG", 29, "Digital signature"},
    {"gasp", 4, "Grid-fitting/Scan-conversion"},
    {"hdmx", 30, "Horizontal device metrics"},
    {"kern", 9, "Kerning"},
    {"LTSH", 31, "Linear threshold data"},
    {"PCLT", 32, "PCL 5 data"},
    {"VDMX", 33, "Vertical device metrics"},
    {"vhea", 34, "Vertical Metrics header"},
    {"vmtx", 35, "Vertical Metrics"},
    {"acnt", 37, "Accent attachment"},
    {"avar", 38, "Axis variation"},
    {"bdat", 39, "Bitmap data"},
    {"bhed", 40, "Bitmap font header"},
    {"bloc", 41, "Bitmap location"},
    {"bsln", 42, "Baseline"},
    {"cvar", 43, "CVT variation"},
    {"fdsc", 44, "Font descriptor"},
    {"feat", 45, "Layout feature"},
    {"fmtx", 46, "Font metrics"},
    {"gvar", 47, "Glyph variation"},
    {"hsty", 48, "horizontal style"},
    {"just", 49, "Justification"},
    {"lcar", 50, "Ligature caret"},
    {"mort", 51, "Metamorphosis"},
    {"morx", 52, "Extended metamorphosis"},
    {"opbd", 53, "Optical bounds"},
    {"prop", 54, "Properties"},
    {"trak", 55, "Tracking"},
    {"Zapf", 56, "Glyph reference"},
}};

// Every catalogue tag has four characters; packed into a number, a lookup compares one
// number per row (it runs for every directory entry of every font read).
constexpr std::uint32_t PackedTag(std::string_view tag)
{
    return (std::uint32_t{static_cast<unsigned char>(tag[0])} << 24) | (std::uint32_t{static_cast<unsigned char>(tag[1])} << 16)
        | (std::uint32_t{static_cast<unsigned char>(tag[2])} << 8) | static_cast<unsigned char>(tag[3]);
}

constexpr bool AllTagsHaveFourCharacters()
{
    for (const auto& row : kCatalogue)
        if (row.Tag.size() != 4)
            return false;
    return true;
}
static_assert(AllTagsHaveFourCharacters());

constexpr std::array<std::uint32_t, kCatalogue.size()> PackedTags()
{
    std::array<std::uint32_t, kCatalogue.size()> packed{};
    for (std::size_t i = 0; i < kCatalogue.size(); ++i)
        packed[i] = PackedTag(kCatalogue[i].Tag);
    return packed;
}
constexpr std::array<std::uint32_t, kCatalogue.size()> kPackedTags = PackedTags();

const TCatalogueRow* FindRow(std::string_view tag)
{
    if (tag.size() != 4)
        return nullptr;
    const std::uint32_t packed = PackedTag(tag);
    for (std::size_t i = 0; i < kPackedTags.size(); ++i)
        if (kPackedTags[i] == packed)
            return &kCatalogue[i];
    return nullptr;
}

} // namespace

int TableKind(std::string_view tag)
{
    const auto* row = FindRow(tag);
    return row ? row->Kind : kTableKindUnknown;
}

std::string TableDescription(std::string_view tag)
{
    const auto* row = FindRow(tag);
    return row ? std::string(row->Description) : std::string();
}

std::size_t TableCatalogueSize()
{
    return kCatalogue.size();
}

} // namespace fontfile
