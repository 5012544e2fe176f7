// The columns of the font lists: the text each shows, the order each sorts in, the file
// columns' one- and two-line forms, and the row heights by preview size and resolution.

#include "app/FontListColumns.h"
#include "app/FontListPreviewSize.h"

#include "IsolatedEnvironment.h"
#include "catalogue/FontItem.h"
#include "catalogue/FontOrdering.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using app::TColumnKind;
using catalogue::TFontItem;

std::unique_ptr<TFontItem> Face(const QString& family, int kind, int weight = 400, const QString& file = QString())
{
    auto face = std::make_unique<TFontItem>(family, false);
    face->SetFontKind(static_cast<std::uint8_t>(kind));
    face->SetWeight(weight);
    face->SetFontFile(file);
    face->SetStyleName(QStringLiteral("Regular"));
    return face;
}

std::unique_ptr<TFontItem> OpenTypeFace()
{
    auto face = Face(QStringLiteral("Sample Sans"), 6, 700, QStringLiteral("/fonts/sample/SampleSans-Bold.ttf"));
    face->SetStyleName(QStringLiteral("Bold"));
    face->SetGlyphCount(812);
    face->SetCharacterCount(640);
    face->SetWidthClass(3);
    face->SetMonospaced(true);
    face->SetPanose({2, 11, 6, 4, 2, 2, 2, 2, 2, 4});
    face->SetEmbeddingBits(0x0006);
    face->SetSymbol(false);
    return face;
}

TEST(FontListColumns, CaptionsInColumnOrder)
{
    const QStringList expected{"Preview Text", "Font Family Name", "Font Style", "Font Status", "Font Type",
                               "File Size", "File Name", "Folder", "Glyphs", "Characters", "Weight", "Width",
                               "Monospaced", "PANOSE", "Embedding", "Symbol"};
    ASSERT_EQ(expected.size(), app::kFontListColumnCount);
    for (int column = 0; column < app::kFontListColumnCount; ++column)
        EXPECT_EQ(app::ColumnCaption(app::ColumnKindOf(column)), expected[column]) << column;
    EXPECT_TRUE(app::ColumnRightAligned(TColumnKind::FileSize));
    EXPECT_TRUE(app::ColumnRightAligned(TColumnKind::GlyphCount));
    EXPECT_FALSE(app::ColumnRightAligned(TColumnKind::Folder));
}

TEST(FontListColumns, TextsOfAnOpenTypeFaceAndBlanksOfAType1Face)
{
    const auto openType = OpenTypeFace();
    auto type1 = Face(QStringLiteral("Sample Serif"), 3, 400, QStringLiteral("/fonts/t1/SampleSerif.pfm"));
    type1->SetGlyphCount(200);  // outside the TrueType family the values stay blank
    type1->SetWidthClass(5);

    const struct {
        TColumnKind kind;
        const char* openType;
        const char* type1;
    } cases[] = {
        {TColumnKind::Preview, "Sample Sans", "Sample Serif"},
        {TColumnKind::Family, "Sample Sans", "Sample Serif"},
        {TColumnKind::Style, "Bold", "Regular"},
        {TColumnKind::Type, "OpenType font with TrueType outlines", "PostScript Type 1 font"},
        {TColumnKind::FileSize, "", ""},  // missing files show nothing
        {TColumnKind::FileName, "SampleSans-Bold.ttf", "SampleSerif.pfm"},
        {TColumnKind::Folder, "/fonts/sample/", "/fonts/t1/"},
        {TColumnKind::GlyphCount, "812", ""},
        {TColumnKind::CharacterCount, "640", ""},
        {TColumnKind::Weight, "Bold", "Normal (Regular)"},
        {TColumnKind::Width, "Condensed", ""},
        {TColumnKind::Monospaced, "True", ""},
        {TColumnKind::Panose, "2B64222224", ""},
        {TColumnKind::Embedding, "Restricted License, Preview & Print", ""},
        {TColumnKind::Symbol, "False", ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(app::ColumnText(*openType, row.kind), QString::fromUtf8(row.openType)) << int(row.kind);
        EXPECT_EQ(app::ColumnText(*type1, row.kind), QString::fromUtf8(row.type1)) << int(row.kind);
    }
    // Without glyphs an OpenType face shows no OpenType values either.
    auto empty = Face(QStringLiteral("Empty"), 5);
    EXPECT_EQ(app::ColumnText(*empty, TColumnKind::Monospaced), QString());
}

// Sorts faces ascending by the column and answers their family names in that order.
QStringList SortedFamilies(std::vector<std::unique_ptr<TFontItem>>& faces, TColumnKind kind)
{
    const catalogue::TFontCollator collator;
    std::vector<TFontItem*> order;
    for (auto& face : faces)
        order.push_back(face.get());
    std::stable_sort(order.begin(), order.end(), [&](const TFontItem* a, const TFontItem* b) {
        return app::CompareByColumn(collator, *a, *b, kind) < 0;
    });
    QStringList names;
    for (const TFontItem* face : order)
        names << face->FamilyName();
    return names;
}

TEST(FontListColumns, TypeOrderPutsOpenTypeFirstAndRasterAndVectorLast)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    const struct {
        const char* family;
        int kind;
    } kinds[] = {{"Raster", 1}, {"Vector", 2}, {"Type1", 3}, {"Collection", 4}, {"TrueType", 5},
                 {"OT-TT b", 6}, {"OT-PS", 7}, {"OT-TT a", 6}, {"Unknown", 0}};
    for (const auto& entry : kinds)
        faces.push_back(Face(QString::fromLatin1(entry.family), entry.kind));
    // Equal types fall back to the default order (family name first).
    EXPECT_EQ(SortedFamilies(faces, TColumnKind::Type),
              (QStringList{"OT-TT a", "OT-TT b", "OT-PS", "TrueType", "Collection", "Type1", "Raster", "Vector",
                           "Unknown"}));
}

TEST(FontListColumns, OpenTypeValuesSortTheTrueTypeFamilyFirst)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face(QStringLiteral("A Type1"), 3));
    faces.push_back(Face(QStringLiteral("B Many"), 5));
    faces.back()->SetGlyphCount(900);
    faces.push_back(Face(QStringLiteral("C Raster"), 1));
    faces.push_back(Face(QStringLiteral("D Few"), 7));
    faces.back()->SetGlyphCount(10);
    EXPECT_EQ(SortedFamilies(faces, TColumnKind::GlyphCount), (QStringList{"D Few", "B Many", "A Type1", "C Raster"}));

    faces[1]->SetMonospaced(false);
    faces[3]->SetMonospaced(true);
    EXPECT_EQ(SortedFamilies(faces, TColumnKind::Monospaced), (QStringList{"D Few", "B Many", "A Type1", "C Raster"}));
}

TEST(FontListColumns, DefaultOrderAndStyleOrder)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face(QStringLiteral("Beta"), 5, 700));
    faces.back()->SetStyleName(QStringLiteral("Bold"));
    faces.push_back(Face(QStringLiteral("alpha"), 5, 400));
    faces.push_back(Face(QStringLiteral("Beta"), 5, 400));
    faces.back()->SetItalic(true);
    faces.back()->SetStyleName(QStringLiteral("Italic"));
    faces.push_back(Face(QStringLiteral("Beta"), 5, 400));
    // Family without regard to case, then weight, then upright before italic.
    EXPECT_EQ(SortedFamilies(faces, TColumnKind::Preview), (QStringList{"alpha", "Beta", "Beta", "Beta"}));
    const catalogue::TFontCollator collator;
    EXPECT_LT(app::CompareByColumn(collator, *faces[3], *faces[2], TColumnKind::Family), 0);
    EXPECT_LT(app::CompareByColumn(collator, *faces[2], *faces[0], TColumnKind::Family), 0);
    // Style name, then family name.
    EXPECT_EQ(SortedFamilies(faces, TColumnKind::Style), (QStringList{"Beta", "Beta", "alpha", "Beta"}));
}

TEST(FontListColumns, KilobytesRoundUp)
{
    const struct {
        std::int64_t bytes;
        const char* text;
    } cases[] = {{0, "0 KB"}, {-1, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {10 * 1024, "10 KB"}};
    for (const auto& row : cases)
        EXPECT_EQ(app::KilobyteText(row.bytes), QString::fromLatin1(row.text)) << row.bytes;
}

void WriteBytes(const QString& path, int count)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(count, 'x'));
}

TEST(FontListColumns, Type1PairInTwoFoldersShowsBothInTheTwoForms)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString metrics = scratch.filePath(QStringLiteral("metrics"));
    const QString outlines = scratch.filePath(QStringLiteral("outlines"));
    QDir().mkpath(metrics);
    QDir().mkpath(outlines);
    WriteBytes(metrics + QStringLiteral("/Serif.pfm"), 1000);
    WriteBytes(outlines + QStringLiteral("/Serif.pfb"), 3000);
    auto face = Face(QStringLiteral("Serif"), 3, 400, metrics + QStringLiteral("/Serif.pfm"));
    face->SetSecondFile(outlines + QStringLiteral("/Serif.pfb"));

    const struct {
        TColumnKind kind;
        bool twoLines;
        QStringList lines;
    } cases[] = {
        {TColumnKind::Folder, true, {metrics, outlines}},
        {TColumnKind::Folder, false, {metrics + "|" + outlines}},
        {TColumnKind::FileName, true, {"Serif.pfm", "Serif.pfb"}},
        {TColumnKind::FileName, false, {"Serif.pfm|Serif.pfb"}},
        {TColumnKind::FileSize, true, {"1 KB", "3 KB"}},
        {TColumnKind::FileSize, false, {"4 KB"}},
    };
    for (const auto& row : cases)
        EXPECT_EQ(app::FileColumnLines(*face, row.kind, row.twoLines), row.lines)
            << int(row.kind) << " " << row.twoLines;
    // The column text keeps the trailing separator (it is what sorting compares).
    EXPECT_EQ(app::ColumnText(*face, TColumnKind::Folder), metrics + QStringLiteral("/"));
    EXPECT_EQ(app::ColumnText(*face, TColumnKind::FileSize), QStringLiteral("1000"));

    // Both files in one folder: the folder once.
    face->SetSecondFile(metrics + QStringLiteral("/Serif.pfb"));
    EXPECT_EQ(app::FileColumnLines(*face, TColumnKind::Folder, true), QStringList{metrics});
    // No font file: nothing to draw.
    EXPECT_TRUE(app::FileColumnLines(*Face(QStringLiteral("X"), 5), TColumnKind::FileName, true).isEmpty());
}

TEST(FontListColumns, RowHeightsByPreviewSizeAndResolution)
{
    const int heights[] = {21, 24, 27, 30, 36, 45};
    const int points[] = {14, 16, 18, 20, 24, 30};
    for (int index = 0; index < app::kPreviewSizeCount; ++index) {
        EXPECT_EQ(app::FontListRowHeight(true, index, 96), heights[index]) << index;
        EXPECT_EQ(app::PreviewPointSize(index), points[index]) << index;
        EXPECT_EQ(app::FontListRowHeight(false, index, 96), 17) << index;
    }
    EXPECT_EQ(app::FontListRowHeight(true, 2, 192), 54);
    EXPECT_EQ(app::FontListRowHeight(false, 2, 144), 26);  // 17 x 1.5, rounded
    // An index out of range is the default "Medium".
    EXPECT_EQ(app::FontListRowHeight(true, 9, 96), 27);
}

} // namespace
