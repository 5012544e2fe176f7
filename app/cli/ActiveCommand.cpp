#include "ActiveCommand.h"

#include "JsonLine.h"

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "catalogue/FontEnumBatches.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"
#include "catalogue/GlobalFontManagerUnit.h"

#include <QCoreApplication>
#include <QEventLoop>
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

    catalogue::TFontFamilyList families;
    catalogue::TActiveCatalogueBatches batches(families);
    // The faces the program loaded get their files from its font cache, as in the program.
    catalogue::TGlobalFontManager& manager = catalogue::TGlobalFontManager::Instance();
    manager.SetActiveIndex(&families);
    struct TIndexReset {
        catalogue::TGlobalFontManager& Manager;
        ~TIndexReset() { Manager.SetActiveIndex(nullptr); }
    } indexReset{manager};
    QStringList errors;
    bool completed = false;

    catalogue::TActiveFontsThreadEx thread;
    thread.SetFreeOnTerminate(false);
    thread.ForgetPreviousEnumeration();
    QEventLoop loop;
    thread.OnRemoved = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) { batches.ApplyRemoved(items); };
    thread.OnAdded = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) { batches.ApplyAdded(items); };
    thread.OnChanged = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) { batches.ApplyChanged(items); };
    thread.OnError = [&](const QString& text, catalogue::TBaseFontsThreadEx&) { errors << text; };
    thread.OnFinished = [&](catalogue::TBaseFontsThreadEx&, bool done) {
        completed = done;
        loop.quit();
    };
    thread.Resume();
    // The loop serves the thread's hand-overs until its finished event.
    loop.exec();
    thread.wait();

    for (const QString& error : errors)
        QTextStream(stderr) << "An error occurred while retrieving active fonts: " << error << '\n';

    families.Sort();
    for (int i = 0; i < families.Count(); ++i)
        for (const catalogue::TFontItem* face : families.Family(i)->Items())
            PrintFace(*face);
    return completed && errors.isEmpty() ? 0 : 1;
}

} // namespace cli
