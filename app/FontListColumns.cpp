#include "app/FontListColumns.h"

#include "catalogue/FontItem.h"
#include "catalogue/FontOrdering.h"

#include <QFileInfo>
#include <QLocale>

#include <array>

namespace app {

namespace {

using catalogue::TFontItem;

struct TColumnDefinition {
    const char* Caption;
    int Width;
    bool RightAligned;
};

constexpr std::array<TColumnDefinition, kFontListColumnCount> kColumns{{
    {"Preview Text", 200, false},
    {"Font Family Name", 120, false},
    {"Font Style", 80, false},
    {"Font Status", 90, false},
    {"Font Type", 80, false},
    {"File Size", 60, true},
    {"File Name", 100, false},
    {"Folder", 150, false},
    {"Glyphs", 50, true},
    {"Characters", 50, true},
    {"Weight", 90, false},
    {"Width", 90, false},
    {"Monospaced", 80, false},
    {"PANOSE", 80, false},
    {"Embedding", 70, false},
    {"Symbol", 50, false},
}};

const TColumnDefinition& Definition(TColumnKind kind)
{
    return kColumns.at(static_cast<std::size_t>(static_cast<int>(kind) - 1));
}

// Faces whose OpenType-family values are shown.
bool ShowsOpenTypeValues(const TFontItem& face)
{
    return face.IsOpenTypeFamilyKind() && face.GlyphCount() > 0;
}

QString TrueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// The type key: OpenType with TrueType outlines (A) first, raster fonts (F) and vector
// fonts (G) last, unknown kinds (H) at the very end.
int TypeKey(std::uint8_t kind)
{
    switch (kind) {
    case 6: return 0;
    case 7: return 1;
    case 5: return 2;
    case 4: return 3;
    case 3: return 4;
    case 1: return 5;
    case 2: return 6;
    default: return 7;
    }
}

template <typename T>
int Compare(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

QString FolderWithSeparator(const QString& file)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : file.left(slash + 1);
}

QString FolderWithoutSeparator(const QString& file)
{
    QString folder = FolderWithSeparator(file);
    if (folder.size() > 1)
        folder.chop(1);
    return folder;
}

QString NamePart(const QString& file)
{
    return file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
}

// The key of the column alone, without the default-order tie break.
int CompareKeys(const catalogue::TFontCollator& collator, const TFontItem& a, const TFontItem& b, TColumnKind kind)
{
    const bool otA = a.IsOpenTypeFamilyKind();
    const bool otB = b.IsOpenTypeFamilyKind();
    // Columns whose values exist for the TrueType family only list that family first.
    const auto trueTypeFirst = [&]() { return otA == otB ? 0 : (otA ? -1 : 1); };
    switch (kind) {
    case TColumnKind::Preview:
    case TColumnKind::Family:
        return 0;
    case TColumnKind::Style:
        if (const int byStyle = collator.Compare(a.StyleText(), b.StyleText()))
            return byStyle;
        return collator.Compare(a.FamilyNameText(), b.FamilyNameText());
    case TColumnKind::Status:
        return Compare(static_cast<int>(a.StatusCode()), static_cast<int>(b.StatusCode()));
    case TColumnKind::Type:
        return Compare(TypeKey(a.FontKind()), TypeKey(b.FontKind()));
    case TColumnKind::FileSize:
        return Compare(FileSizeOf(a.FontFile()) + FileSizeOf(a.SecondFile()),
                       FileSizeOf(b.FontFile()) + FileSizeOf(b.SecondFile()));
    case TColumnKind::FileName:
    case TColumnKind::Folder:
        return collator.Compare(ColumnText(a, kind), ColumnText(b, kind));
    case TColumnKind::GlyphCount:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(a.GlyphCount(), b.GlyphCount());
    case TColumnKind::CharacterCount:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(a.CharacterCount(), b.CharacterCount());
    case TColumnKind::Weight:
        return Compare(a.Weight(), b.Weight());
    case TColumnKind::Width:
        return Compare(a.WidthClass(), b.WidthClass());
    case TColumnKind::Monospaced:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(!a.Monospaced(), !b.Monospaced());
    case TColumnKind::Panose:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(a.Panose(), b.Panose());
    case TColumnKind::Embedding:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(a.EmbeddingBits(), b.EmbeddingBits());
    case TColumnKind::Symbol:
        if (const int first = trueTypeFirst())
            return first;
        return Compare(!a.Symbol(), !b.Symbol());
    }
    return 0;
}

} // namespace

TColumnKind ColumnKindOf(int column)
{
    return static_cast<TColumnKind>(column + 1);
}

QString ColumnCaption(TColumnKind kind)
{
    return QString::fromLatin1(Definition(kind).Caption);
}

int ColumnDefaultWidth(TColumnKind kind)
{
    return Definition(kind).Width;
}

bool ColumnRightAligned(TColumnKind kind)
{
    return Definition(kind).RightAligned;
}

QString ColumnText(const TFontItem& face, TColumnKind kind)
{
    switch (kind) {
    case TColumnKind::Preview:
    case TColumnKind::Family:
        return face.FamilyNameText();
    case TColumnKind::Style:
        return face.StyleText();
    case TColumnKind::Status:
        return face.StatusText();
    case TColumnKind::Type:
        return face.TypeText();
    case TColumnKind::FileSize: {
        const std::int64_t size = FileSizeOf(face.FontFile());
        return size > 0 ? QString::number(size) : QString();
    }
    case TColumnKind::FileName:
        return NamePart(face.FontFile());
    case TColumnKind::Folder:
        return FolderWithSeparator(face.FontFile());
    case TColumnKind::Weight:
        return face.WeightText();
    default:
        break;
    }
    if (!ShowsOpenTypeValues(face))
        return QString();
    switch (kind) {
    case TColumnKind::GlyphCount: return QString::number(face.GlyphCount());
    case TColumnKind::CharacterCount: return QString::number(face.CharacterCount());
    case TColumnKind::Width: return face.WidthText();
    case TColumnKind::Monospaced: return TrueFalse(face.Monospaced());
    case TColumnKind::Panose: return face.PanoseText();
    case TColumnKind::Embedding: return face.EmbeddingText();
    case TColumnKind::Symbol: return TrueFalse(face.Symbol());
    default: return QString();
    }
}

int CompareDefaultOrder(const catalogue::TFontCollator& collator, const TFontItem& a, const TFontItem& b)
{
    if (const int byFamily = catalogue::CompareFamilyNames(collator, a.FamilyNameText(), b.FamilyNameText()))
        return byFamily;
    if (const int byWeight = Compare(a.Weight(), b.Weight()))
        return byWeight;
    if (a.Italic() != b.Italic())
        return a.Italic() ? 1 : -1;
    if (const int byKind = Compare(a.FontKind(), b.FontKind()))
        return byKind;
    return collator.Compare(a.FontFile(), b.FontFile());
}

int CompareByColumn(const catalogue::TFontCollator& collator, const TFontItem& a, const TFontItem& b, TColumnKind kind)
{
    if (const int byKey = CompareKeys(collator, a, b, kind))
        return byKey;
    return CompareDefaultOrder(collator, a, b);
}

QString KilobyteText(std::int64_t bytes)
{
    const std::int64_t kilobytes = bytes <= 0 ? 0 : (bytes + 1023) / 1024;
    return QLocale().toString(static_cast<qlonglong>(kilobytes)) + QStringLiteral(" KB");
}

std::int64_t FileSizeOf(const QString& path)
{
    if (path.isEmpty())
        return 0;
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

QStringList FileColumnLines(const TFontItem& face, TColumnKind kind, bool twoLines)
{
    const QString& first = face.FontFile();
    if (first.isEmpty())
        return {};
    const QString& second = face.SecondFile();
    switch (kind) {
    case TColumnKind::FileSize:
        if (second.isEmpty())
            return {KilobyteText(FileSizeOf(first))};
        if (twoLines)
            return {KilobyteText(FileSizeOf(first)), KilobyteText(FileSizeOf(second))};
        return {KilobyteText(FileSizeOf(first) + FileSizeOf(second))};
    case TColumnKind::FileName:
        if (second.isEmpty())
            return {NamePart(first)};
        if (twoLines)
            return {NamePart(first), NamePart(second)};
        return {NamePart(first) + QLatin1Char('|') + NamePart(second)};
    case TColumnKind::Folder: {
        const QString folder = FolderWithoutSeparator(first);
        if (second.isEmpty())
            return {folder};
        const QString secondFolder = FolderWithoutSeparator(second);
        // Paths are compared as the file system does, with case.
        if (folder == secondFolder)
            return {folder};
        if (twoLines)
            return {folder, secondFolder};
        return {folder + QLatin1Char('|') + secondFolder};
    }
    default:
        return {};
    }
}

} // namespace app
