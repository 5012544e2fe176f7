#include "ActiveCommand.h"

#include "ActiveEnumerationRun.h"
#include "JsonLine.h"

#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"

#include <QTextStream>

namespace cli {

namespace {

void PrintFace(const catalogue::TFontItem& face)
{
    TJsonLine line;
    line.String("FamilyName", face.FamilyName())
        .String("FullName", face.FullName())
        .String("StyleName", face.StyleName())
        .String("RegistryName", face.RegistryName())
        .String("DisplayName", face.DisplayName())
        .Number("StatusFlags", face.StatusFlags())
        .String("StatusText", face.StatusText())
        .Number("GdiTypeBits", face.GdiTypeBits())
        .Number("FontKind", face.FontKind())
        .String("TypeText", face.TypeText())
        .String("file", face.FontFile())
        .String("secondFile", face.SecondFile());
    WriteJsonLine(line);
}

} // namespace

int TActiveCommand::Run(const QStringList& arguments)
{
    if (!arguments.isEmpty()) {
        QTextStream(stderr) << "Usage: quillmark-cli active\n";
        return kUsageError;
    }

    // The faces the program loaded get their files from its font cache, as in the program.
    TActiveFontsCatalogue active;
    const bool completed = active.Enumerate();
    catalogue::TFontFamilyList& families = active.Families();
    families.Sort();
    for (int i = 0; i < families.Count(); ++i)
        for (const catalogue::TFontItem* face : families.Family(i)->Items())
            PrintFace(*face);
    return completed ? 0 : 1;
}

} // namespace cli
