#include "FaceRecordJson.h"

namespace cli {

void AddFaceFields(TJsonLine& line, const fontfile::TGeneralFontInfoItem& item)
{
    line.String("FaceFullName", item.FaceFullName())
        .String("PreferredFamily", item.PreferredFamily())
        .String("RegistryName", item.RegistryName())
        .String("FamilyName", item.FamilyName())
        .String("PreferredSubfamily", item.PreferredSubfamily())
        .String("StyleName", item.StyleName())
        .String("FullName", item.FullName())
        .Number("FsSelection", item.FsSelection())
        .Number("WeightClass", item.WeightClass())
        .Boolean("Italic", item.Italic())
        .Number("GdiTypeBits", item.GdiTypeBits())
        .Boolean("IsRegular", item.IsRegular())
        .Boolean("IsSymbol", item.IsSymbol())
        .Number("FontKind", item.FontKind());
}

void AddExtendedFields(TJsonLine& line, const fontfile::TExtendedFontInfoRecord& record, bool withCopyright)
{
    line.String("TableList", record.TableList).Number("KerningPairs", record.KerningPairs);
    if (withCopyright)
        line.String("CopyrightNotice", record.CopyrightNotice);
}

} // namespace cli
