#include "DetailsFields.h"

#include "catalogue/FontItem.h"

namespace cli {

void AddDetailsFields(TJsonLine& line, const QString& file, const QString& secondFile,
                      const fontfile::TGeneralFontInfoItem& record, int faceIndex)
{
    catalogue::TFontItem item(QString::fromStdU16String(record.FamilyName()), false);
    item.SetFullName(QString::fromStdU16String(record.FaceFullName()));
    item.SetStyleName(QString::fromStdU16String(record.StyleName()));
    item.SetRegistryName(QString::fromStdU16String(record.RegistryName()));
    item.SetWeight(record.WeightClass());
    item.SetItalic(record.Italic());
    item.SetGdiTypeBits(record.GdiTypeBits());
    item.SetFontKind(record.FontKind());
    item.SetFontFile(file);
    item.SetSecondFile(secondFile);
    // Members of a collection come in file order; other files hold one face or name it.
    if (record.FontKind() == fontfile::FontKind::TrueTypeCollection)
        item.SetFaceIndex(faceIndex);

    item.SetRefCount(1);
    item.ReadDetails();
    item.SetRefCount(0);

    line.String("TypeText", item.TypeText())
        .String("StatusText", item.StatusText())
        .String("WeightText", item.WeightText())
        .String("WidthText", item.WidthText())
        .String("EmbeddingText", item.EmbeddingText())
        .String("PanoseText", item.PanoseText())
        .String("VersionText", item.VersionText())
        .String("DisplayName", item.DisplayName())
        .Number("GlyphCount", item.GlyphCount())
        .Number("CharacterCount", item.CharacterCount())
        .Number("UnitsPerEm", item.UnitsPerEm());
}

} // namespace cli
