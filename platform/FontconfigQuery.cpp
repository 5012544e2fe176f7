#include "FontconfigQuery.h"

#include "platform/FontconfigHandles.h"

#include <cmath>
#include <memory>

namespace platform {

namespace {


QString StringOf(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

std::optional<TFontconfigFace> FaceOf(FcPattern* pattern, const QString& family)
{
    double weight = 0;
    // Variable fonts list their weight as a range; only a fixed weight is a style.
    if (FcPatternGetDouble(pattern, FC_WEIGHT, 0, &weight) != FcResultMatch)
        return std::nullopt;
    TFontconfigFace face;
    face.Family = family;
    face.Style = StringOf(pattern, FC_STYLE);
    face.Weight = static_cast<int>(std::lround(FcWeightToOpenTypeDouble(weight)));
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(pattern, FC_SLANT, 0, &slant) != FcResultMatch)
        slant = FC_SLANT_ROMAN;
    face.Italic = slant != FC_SLANT_ROMAN;
    face.File = StringOf(pattern, FC_FILE);
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &face.Index) != FcResultMatch)
        face.Index = 0;
    return face;
}

} // namespace

std::optional<std::vector<TFontconfigFace>> FacesOfFamily(const QString& family)
{
    const fc::TConfigOwner config(FcInitLoadConfigAndFonts());
    if (!config)
        return std::nullopt;

    const fc::TPatternOwner pattern(FcPatternCreate());
    const QByteArray familyUtf8 = family.toUtf8();
    if (!pattern ||
        !FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.constData())))
        return std::nullopt;
    const fc::TObjectSetOwner objects(
        FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_FILE, FC_INDEX, nullptr));
    if (!objects)
        return std::nullopt;
    const fc::TFontSetOwner fonts(FcFontList(config.get(), pattern.get(), objects.get()));
    if (!fonts)
        return std::nullopt;

    std::vector<TFontconfigFace> faces;
    for (int i = 0; i < fonts->nfont; ++i)
        if (auto face = FaceOf(fonts->fonts[i], family))
            faces.push_back(std::move(*face));
    return faces;
}

} // namespace platform
