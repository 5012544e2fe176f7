#pragma once

// The sixteen columns of the Active, Browse and group font lists: their captions, widths and
// alignment, the text each shows for a face, and the order each sorts in.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace catalogue {
class TFontCollator;
class TFontItem;
} // namespace catalogue

namespace app {

// The content of a column; column i of the main font lists has kind i + 1.
enum class TColumnKind : int {
    Preview = 1,
    Family = 2,
    Style = 3,
    Status = 4,
    Type = 5,
    FileSize = 6,
    FileName = 7,
    Folder = 8,
    GlyphCount = 9,
    CharacterCount = 10,
    Weight = 11,
    Width = 12,
    Monospaced = 13,
    Panose = 14,
    Embedding = 15,
    Symbol = 16,
};

inline constexpr int kFontListColumnCount = 16;

TColumnKind ColumnKindOf(int column);
QString ColumnCaption(TColumnKind kind);
int ColumnDefaultWidth(TColumnKind kind);
bool ColumnRightAligned(TColumnKind kind);

// The column's text for the face (what sorting and incremental search compare). Kinds 9, 10
// and 12..16 are blank for faces outside the TrueType family or without glyphs.
QString ColumnText(const catalogue::TFontItem& face, TColumnKind kind);

// Family name, weight, upright before italic, font kind, then font file path.
int CompareDefaultOrder(const catalogue::TFontCollator& collator, const catalogue::TFontItem& a,
                        const catalogue::TFontItem& b);
// Ascending order of the column; equal keys fall back to the default order.
int CompareByColumn(const catalogue::TFontCollator& collator, const catalogue::TFontItem& a,
                    const catalogue::TFontItem& b, TColumnKind kind);

// Bytes of a file as the list shows them: kilobytes rounded up ("1 KB" for 1..1024 bytes,
// "0 KB" for an empty or missing file), digits grouped by the user's locale.
QString KilobyteText(std::int64_t bytes);
// Size of a file in bytes; 0 when it is missing.
std::int64_t FileSizeOf(const QString& path);

// The lines a file column draws: one per file when twoLines allows it (and, for the folder,
// when the second file lies in another folder), else one line joined by "|" (the file size:
// the sum). Empty for faces without a font file.
QStringList FileColumnLines(const catalogue::TFontItem& face, TColumnKind kind, bool twoLines);

} // namespace app
