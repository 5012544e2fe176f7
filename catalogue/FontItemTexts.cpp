#include "FontItemTexts.h"

#include "FontItem.h"

#include <QFileInfo>

#include <cmath>
#include <utility>

namespace catalogue {

QString WeightText(int weight)
{
    switch (weight) {
    case 100: return QStringLiteral("Thin");
    case 200: return QStringLiteral("Extra-light (Ultra-light)");
    case 300: return QStringLiteral("Light");
    case 400: return QStringLiteral("Normal (Regular)");
    case 500: return QStringLiteral("Medium");
    case 600: return QStringLiteral("Semi-bold (Demi-bold)");
    case 700: return QStringLiteral("Bold");
    case 800: return QStringLiteral("Extra-bold (Ultra-bold)");
    case 900: return QStringLiteral("Black (Heavy)");
    default: return QString::number(weight);
    }
}

QString WidthText(int widthClass)
{
    switch (widthClass) {
    case 1: return QStringLiteral("Ultra-condensed");
    case 2: return QStringLiteral("Extra-condensed");
    case 3: return QStringLiteral("Condensed");
    case 4: return QStringLiteral("Semi-condensed");
    case 5: return QStringLiteral("Medium (normal)");
    case 6: return QStringLiteral("Semi-expanded");
    case 7: return QStringLiteral("Expanded");
    case 8: return QStringLiteral("Extra-expanded");
    case 9: return QStringLiteral("Ultra-expanded");
    default: return QString::number(widthClass);
    }
}

QString EmbeddingText(std::uint16_t embeddingBits)
{
    static const std::pair<std::uint16_t, const char*> kNamedBits[] = {
        {0x0002, "Restricted License"}, {0x0004, "Preview & Print"},       {0x0008, "Editable"},
        {0x0100, "No subsetting"},      {0x0200, "Bitmap embedding only"},
    };
    QStringList names;
    for (const auto& [bit, name] : kNamedBits) {
        if (embeddingBits & bit)
            names << QString::fromLatin1(name);
    }
    return names.isEmpty() ? QStringLiteral("Installable") : names.join(QStringLiteral(", "));
}

QString PanoseText(const std::array<std::uint8_t, 10>& panose)
{
    QString text;
    for (const std::uint8_t value : panose)
        text += QString::number(value, 16).toUpper();
    return text;
}

QString VersionText(double fontRevision)
{
    const long long thousandths = std::llround(fontRevision * 1000.0);
    if (thousandths % 10 != 0)
        return QString::asprintf("Version %.3f", fontRevision);
    return QString::asprintf("Version %.2f", fontRevision);
}

QString FontKindText(std::uint8_t kind)
{
    switch (kind) {
    case 1: return QStringLiteral("Raster font");
    case 2: return QStringLiteral("Vector font");
    case 3: return QStringLiteral("PostScript Type 1 font");
    case 4: return QStringLiteral("TrueType font Collection");
    case 5: return QStringLiteral("TrueType font");
    case 6: return QStringLiteral("OpenType font with TrueType outlines");
    case 7: return QStringLiteral("OpenType font with PostScript outlines");
    default: return QStringLiteral("Unknown font type");
    }
}

QString FontKindShortText(std::uint8_t kind)
{
    switch (kind) {
    case 1: return QStringLiteral("R");
    case 2: return QStringLiteral("V");
    case 3: return QStringLiteral("PS");
    case 4: return QStringLiteral("TTC");
    case 5: return QStringLiteral("TT");
    case 6: return QStringLiteral("OT(TT)");
    case 7: return QStringLiteral("OT(PS)");
    default: return QStringLiteral("?");
    }
}

QString StatusCodeText(TFontStatusCode code)
{
    switch (code) {
    case TFontStatusCode::Installed: return QStringLiteral("Installed");
    case TFontStatusCode::SimilarInstalled: return QStringLiteral("Similar font installed");
    case TFontStatusCode::InstalledNotLoaded: return QStringLiteral("Installed but not loaded");
    case TFontStatusCode::SimilarInstalledNotLoaded: return QStringLiteral("Similar font installed but not loaded");
    case TFontStatusCode::Loaded: return QStringLiteral("Loaded");
    case TFontStatusCode::SimilarLoaded: return QStringLiteral("Similar font loaded");
    case TFontStatusCode::NotInstalledNotLoaded: break;
    }
    return QStringLiteral("Not installed and not loaded");
}

namespace {

QString NamePart(const QString& file) { return file.isEmpty() ? QString() : QFileInfo(file).fileName(); }

QString FolderWithSeparator(const QString& file)
{
    if (file.isEmpty())
        return {};
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : file.left(slash + 1);
}

QString JoinedWithSecond(const QString& first, const QString& second)
{
    return second.isEmpty() ? first : first + QLatin1Char('|') + second;
}

} // namespace

QString ExpandFontPlaceholders(const QString& text, const TFontItem& item)
{
    // The order matters: {FONT_FILE_NAME} before {FONT_FILE_NAMES}, told apart by the brace.
    const std::pair<const char*, QString> kReplacements[] = {
        {"{FONT_NAME}", item.DisplayName()},
        {"{FONT_FAMILY_NAME}", item.FamilyNameText()},
        {"{FONT_STYLE}", item.StyleText()},
        {"{FONT_VERSION_STRING}", QString::fromStdU16String(item.NameInfo().Version)},
        {"{FONT_TYPE}", item.TypeText()},
        {"{FONT_TYPE_SHORT}", item.ShortTypeText()},
        {"{FONT_EMBEDDING}", item.EmbeddingText()},
        {"{FONT_STATUS}", item.StatusText()},
        {"{FONT_PANOSE}", item.PanoseText()},
        {"{FONT_WEIGHT}", item.WeightText()},
        {"{FONT_WIDTH}", item.WidthText()},
        {"{FONT_FILE_NAME}", item.FontFile()},
        {"{FONT_FILE_NAMES}", JoinedWithSecond(item.FontFile(), item.SecondFile())},
        {"{FONT_FILE_NAME_EX}", NamePart(item.FontFile())},
        {"{FONT_FILE_NAMES_EX}", JoinedWithSecond(NamePart(item.FontFile()), NamePart(item.SecondFile()))},
        {"{FONT_FILE_PATH}", FolderWithSeparator(item.FontFile())},
    };
    QString result = text;
    for (const auto& [placeholder, value] : kReplacements)
        result.replace(QLatin1String(placeholder), value, Qt::CaseInsensitive);
    return result;
}

} // namespace catalogue
