#include "FontEnumeration.h"

#include "platform/FontDirsConfiguration.h"

#include "platform/FontconfigHandles.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform {

namespace {


QString StringAt(FcPattern* pattern, const char* object, int index)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

enum class TPick { FirstEnglish, LastEnglish };

// fontconfig lists a face's typographic family and style before the legacy (Windows-compatible)
// ones, and the name table's full name before names from other tables; the font files' own
// readers give the legacy family and style and the name table's full name. Without English
// values the last value of all.
QString LegacyName(FcPattern* pattern, const char* object, const char* langObject, TPick pick)
{
    QString last;
    QString lastEnglish;
    QString firstEnglish;
    for (int i = 0;; ++i) {
        const QString value = StringAt(pattern, object, i);
        if (value.isNull())
            break;
        last = value;
        const QString lang = StringAt(pattern, langObject, i);
        if (lang.isEmpty() || lang == QLatin1String("en") || lang.startsWith(QLatin1String("en-")))
        {
            lastEnglish = value;
            if (firstEnglish.isEmpty())
                firstEnglish = value;
        }
    }
    const QString& english = pick == TPick::FirstEnglish ? firstEnglish : lastEnglish;
    return english.isEmpty() ? last : english;
}

bool IsVariableDefault(FcPattern* pattern)
{
    FcBool variable = FcFalse;
    return FcPatternGetBool(pattern, FC_VARIABLE, 0, &variable) == FcResultMatch && variable;
}

std::int32_t WeightOf(FcPattern* pattern)
{
    double weight = 0;
    if (FcPatternGetDouble(pattern, FC_WEIGHT, 0, &weight) != FcResultMatch)
        return 400;
    const long openType = std::lround(FcWeightToOpenTypeDouble(weight));
    return static_cast<std::int32_t>(std::clamp(openType, 100L, 900L));
}

TSystemFontFace FaceOf(FcPattern* pattern)
{
    TSystemFontFace face;
    face.FamilyName = LegacyName(pattern, FC_FAMILY, FC_FAMILYLANG, TPick::LastEnglish);
    face.StyleName = LegacyName(pattern, FC_STYLE, FC_STYLELANG, TPick::LastEnglish);
    face.FullName = LegacyName(pattern, FC_FULLNAME, FC_FULLNAMELANG, TPick::FirstEnglish);
    if (face.FullName.isEmpty())
        face.FullName = face.StyleName.isEmpty() ? face.FamilyName : face.FamilyName + QLatin1Char(' ') + face.StyleName;
    face.Weight = WeightOf(pattern);
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(pattern, FC_SLANT, 0, &slant) != FcResultMatch)
        slant = FC_SLANT_ROMAN;
    face.Italic = slant != FC_SLANT_ROMAN;
    face.TypeBits = TypeBitsOfFontFormat(StringAt(pattern, FC_FONTFORMAT, 0));
    face.File = StringAt(pattern, FC_FILE, 0);
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &face.Index) != FcResultMatch)
        face.Index = 0;
    return face;
}

} // namespace

std::int32_t TypeBitsOfFontFormat(const QString& format)
{
    if (format == QLatin1String("TrueType"))
        return 4;
    if (format == QLatin1String("CFF") || format == QLatin1String("Type 1") || format == QLatin1String("CID Type 1"))
        return 2;
    if (format == QLatin1String("PCF") || format == QLatin1String("BDF") || format == QLatin1String("Windows FNT"))
        return 1;
    return 0;
}

std::optional<std::vector<TSystemFontFace>> EnumerateSystemFonts()
{
    const fc::TConfigOwner config(FcInitLoadConfig());
    if (!config)
        return std::nullopt;
    // Its folder list, read before the fonts are scanned, also serves the installed-font view.
    OfferFontconfigConfiguration(config.get());
    if (!FcConfigBuildFonts(config.get()))
        return std::nullopt;
    const fc::TPatternOwner pattern(FcPatternCreate());
    const fc::TObjectSetOwner objects(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_STYLELANG, FC_FULLNAME, FC_FULLNAMELANG,
                         FC_WEIGHT, FC_SLANT, FC_FONTFORMAT, FC_FILE, FC_INDEX, FC_VARIABLE, nullptr));
    if (!pattern || !objects)
        return std::nullopt;
    const fc::TFontSetOwner fonts(FcFontList(config.get(), pattern.get(), objects.get()));
    if (!fonts)
        return std::nullopt;

    std::vector<TSystemFontFace> faces;
    faces.reserve(static_cast<std::size_t>(std::max(fonts->nfont, 0)));
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        if (IsVariableDefault(font))
            continue;
        TSystemFontFace face = FaceOf(font);
        if (!face.FamilyName.isEmpty())
            faces.push_back(std::move(face));
    }
    return faces;
}

} // namespace platform
