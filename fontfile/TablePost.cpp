#include "TablePost.h"

#include "StreamReaders.h"
#include "WarningCollector.h"

#include <algorithm>
#include <utility>

namespace fontfile {

namespace {

constexpr std::uint32_t kSpaceSavingVersion = 0x00025000;

using std::to_string;

std::string FormatType(std::uint16_t major, std::uint16_t minor)
{
    return to_string(major) + "." + to_string(minor);
}

} // namespace

const std::array<std::string_view, TTablePost::kStandardNameCount>& TTablePost::StandardNames()
{
    static constexpr std::array<std::string_view, kStandardNameCount> kNames = {
        ".notdef", "null", "CR", "space", "exclam", "quotedbl", "numbersign", "dollar",
        "percent", "ampersand", "quotesingle", "parenleft", "parenright", "asterisk", "plus",
        "comma", "hyphen", "period", "slash", "zero", "one", "two", "three", "four", "five",
        "six", "seven", "eight", "nine", "colon", "semicolon", "less", "equal", "greater",
        "question", "at", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
        "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "bracketleft",
        "backslash", "bracketright", "asciicircum", "underscore", "grave", "a", "b", "c", "d",
        "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u",
        "v", "w", "x", "y", "z", "braceleft", "bar", "braceright", "asciitilde", "Adieresis",
        "Aring", "Ccedilla", "Eacute", "Ntilde", "Odieresis", "Udieresis", "aacute", "agrave",
        "acircumflex", "adieresis", "atilde", "aring", "ccedilla", "eacute", "egrave",
        "ecircumflex", "edieresis", "iacute", "igrave", "icircumflex", "idieresis", "ntilde",
        "oacute", "ograve", "ocircumflex", "odieresis", "otilde", "uacute", "ugrave",
        "ucircumflex", "udieresis", "dagger", "degree", "cent", "sterling", "section",
        "bullet", "paragraph", "germandbls", "registered", "copyright", "trademark", "acute",
        "dieresis", "notequal", "AE", "Oslash", "infinity", "plusminus", "lessequal",
        "greaterequal", "yen", "mu", "partialdiff", "summation", "product", "pi", "integral",
        "ordfeminine", "ordmasculine", "Omega", "ae", "oslash", "questiondown", "exclamdown",
        "logicalnot", "radical", "florin", "approxequal", "Delta", "guillemotleft",
        "guillemotright", "ellipsis", "nbspace", "Agrave", "Atilde", "Otilde", "OE", "oe",
        "endash", "emdash", "quotedblleft", "quotedblright", "quoteleft", "quoteright",
        "divide", "lozenge", "ydieresis", "Ydieresis", "fraction", "currency",
        "guilsinglleft", "guilsinglright", "fi", "fl", "daggerdbl", "periodcentered",
        "quotesinglbase", "quotedblbase", "perthousand", "Acircumflex", "Ecircumflex",
        "Aacute", "Edieresis", "Egrave", "Iacute", "Icircumflex", "Idieresis", "Igrave",
        "Oacute", "Ocircumflex", "Apple", "Ograve", "Uacute", "Ucircumflex", "Ugrave",
        "dotlessi", "circumflex", "tilde", "macron", "breve", "dotaccent", "ring", "cedilla",
        "hungarumlaut", "ogonek", "caron", "Lslash", "lslash", "Scaron", "scaron", "Zcaron",
        "zcaron", "brokenbar", "Eth", "eth", "Yacute", "yacute", "Thorn", "thorn", "minus",
        "multiply", "onesuperior", "twosuperior", "threesuperior", "onehalf", "onequarter",
        "threequarters", "franc", "Gbreve", "gbreve", "Idot", "Scedilla", "scedilla",
        "Cacute", "cacute", "Ccaron", "ccaron", "dcroat"};
    return kNames;
}

TTablePost::TTablePost(const std::string& tag) : TFontTable(CheckedTag("TTablePost", "post", tag)) {}

void TTablePost::ResetToVersion2()
{
    FVersionMajor = 2;
    FVersionMinor = 0;
}

void TTablePost::Read(TFontStream& stream)
{
    FNameIndices.clear();
    FNameStrings.clear();
    FCustomNameStarts.clear();
    FVersionMajor = be::ReadUInt16(stream);
    FVersionMinor = be::ReadUInt16(stream);
    FItalicAngle = be::ReadFixed(stream);
    FUnderlinePosition = be::ReadInt16(stream);
    FUnderlineThickness = be::ReadInt16(stream);
    FIsFixedPitch = be::ReadUInt32(stream);
    FMinMemType42 = be::ReadUInt32(stream);
    FMaxMemType42 = be::ReadUInt32(stream);
    FMinMemType1 = be::ReadUInt32(stream);
    FMaxMemType1 = be::ReadUInt32(stream);

    const std::uint16_t major = FVersionMajor;
    const std::uint16_t minor = FVersionMinor;
    if (minor != 0) {
        const std::uint32_t version = (std::uint32_t{major} << 16) | minor;
        if (version == kSpaceSavingVersion)
            AddWarning("Unsupported Post Space Saving Table FormatType " + FormatType(major, minor));
        else
            AddWarning("Unknown Post FormatType " + FormatType(major, minor));
        ResetToVersion2();
        return;
    }
    switch (major) {
    case 1:
        for (std::uint16_t index = 0; index < kStandardNameCount; ++index)
            FNameIndices.push_back(index);
        ResetToVersion2();
        break;
    case 2:
        ReadFormat2Names(stream);
        break;
    case 3:
        break;
    case 4:
        AddWarning("[Apple for use with QuickDraw GX] Unsupported Post FormatType " + FormatType(major, 0));
        ResetToVersion2();
        break;
    default:
        AddWarning("Unknown Post FormatType " + FormatType(major, 0));
        ResetToVersion2();
        break;
    }
}

void TTablePost::ReadFormat2Names(TFontStream& stream)
{
    std::uint64_t glyphCount = be::ReadUInt16(stream);
    // Glyphs whose index lies past the end of the stream are not there.
    const std::uint64_t indicesPresent = stream.Remaining() / 2;
    if (glyphCount > indicesPresent)
        glyphCount = indicesPresent;

    // The indices and the string area after them, each in one read.
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(2 * glyphCount));
    ReadPadded(stream, indices.data(), indices.size());
    // No glyph can reach a name beyond the last custom index's, each at most 1 + 255 bytes.
    constexpr std::uint64_t kReachableStringBytes = std::uint64_t{kFirstReservedNameIndex - kStandardNameCount} * 256;
    FNameStrings.resize(static_cast<std::size_t>(std::min(stream.Remaining(), kReachableStringBytes)));
    ReadPadded(stream, FNameStrings.data(), FNameStrings.size());

    FNameIndices.resize(static_cast<std::size_t>(glyphCount));
    std::size_t customNames = 0;
    for (std::size_t glyph = 0; glyph < FNameIndices.size(); ++glyph) {
        const std::uint16_t index = static_cast<std::uint16_t>((indices[2 * glyph] << 8) | indices[2 * glyph + 1]);
        FNameIndices[glyph] = index;
        if (index >= kStandardNameCount && index < kFirstReservedNameIndex)
            customNames = std::max<std::size_t>(customNames, index - kStandardNameCount + 1);
    }
    // The custom names follow each other, a length byte before each; a length byte past the
    // end of the table reads as 0.
    FCustomNameStarts.resize(customNames);
    std::size_t next = 0;
    for (std::size_t& start : FCustomNameStarts) {
        start = next;
        next += 1 + (next < FNameStrings.size() ? FNameStrings[next] : 0);
    }
}

std::string TTablePost::GlyphName(std::size_t glyphIndex) const
{
    if (glyphIndex >= FNameIndices.size())
        return {};
    const std::uint16_t index = FNameIndices[glyphIndex];
    if (index < kStandardNameCount)
        return std::string(StandardNames()[index]);
    if (index >= kFirstReservedNameIndex)
        return {};
    // A name cut by the end of the table keeps its length; the missing characters read as
    // zeros, a name past the end is empty.
    const std::size_t start = FCustomNameStarts[index - kStandardNameCount];
    if (start >= FNameStrings.size())
        return {};
    const std::size_t length = FNameStrings[start];
    std::string name(length, '\0');
    const std::size_t available = std::min(length, FNameStrings.size() - start - 1);
    std::copy_n(FNameStrings.begin() + static_cast<std::ptrdiff_t>(start + 1), available, name.begin());
    return name;
}

} // namespace fontfile
