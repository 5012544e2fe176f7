// The --details fields of quillmark-cli info: the catalogue's view of each face of a file.

#include "CatalogueTestFonts.h"

#include "app/cli/DetailsFields.h"
#include "fontfile/FontFileFaces.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonObject DetailsOf(const QString& file, std::size_t face)
{
    fontfile::TFontReadRequest request;
    request.FirstFile = QFile::encodeName(file).toStdString();
    const fontfile::TFontReadResult result = fontfile::ReadFontFileFaces(request);
    if (face >= result.Items.Count())
        return {};
    cli::TJsonLine line;
    cli::AddDetailsFields(line, file, QString(), result.Items[face], static_cast<int>(face));
    return QJsonDocument::fromJson(QByteArray::fromStdString(line.Text())).object();
}

TEST(DetailsFields, EveryFieldOfAFace)
{
    if (!QFileInfo::exists(cataloguetest::DejaVuSans()))
        GTEST_SKIP() << "missing DejaVu Sans";
    const QJsonObject details = DetailsOf(cataloguetest::DejaVuSans(), 0);
    const QStringList keys{"TypeText",    "StatusText",  "WeightText",  "WidthText",      "EmbeddingText", "PanoseText",
                           "VersionText", "DisplayName", "GlyphCount",  "CharacterCount", "UnitsPerEm"};
    EXPECT_EQ(details.keys().size(), keys.size());
    for (const QString& key : keys)
        EXPECT_TRUE(details.contains(key)) << key.toStdString();
    EXPECT_EQ(details.value("TypeText").toString(), QStringLiteral("TrueType font"));
    EXPECT_EQ(details.value("StatusText").toString(), QStringLiteral("Not installed and not loaded"));
    EXPECT_EQ(details.value("DisplayName").toString(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(details.value("UnitsPerEm").toInt(), 2048);
    EXPECT_GT(details.value("GlyphCount").toInt(), 0);
    EXPECT_GT(details.value("CharacterCount").toInt(), 0);
}

TEST(DetailsFields, CollectionMembersAndUnreadableFiles)
{
    if (QFileInfo::exists(cataloguetest::Collection())) {
        const QJsonObject first = DetailsOf(cataloguetest::Collection(), 0);
        const QJsonObject second = DetailsOf(cataloguetest::Collection(), 1);
        EXPECT_EQ(first.value("TypeText").toString(), QStringLiteral("TrueType font Collection"));
        EXPECT_NE(first.value("DisplayName").toString(), second.value("DisplayName").toString());
        // Each member is read from its own tables.
        EXPECT_NE(first.value("CharacterCount").toInt(), second.value("CharacterCount").toInt());
    }
    const QJsonObject damaged = DetailsOf(cataloguetest::DamagedFont(QStringLiteral("Cli.ttf")), 0);
    EXPECT_EQ(damaged.value("TypeText").toString(), QStringLiteral("Unknown font type"));
    EXPECT_EQ(damaged.value("GlyphCount").toInt(), 0);
}

} // namespace
