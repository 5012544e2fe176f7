#include "ScanCommand.h"

#include "ActiveEnumerationRun.h"
#include "JsonLine.h"

#include "catalogue/BrowseFontsThreadUnit.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontFileList.h"
#include "catalogue/FontItem.h"
#include "catalogue/GlobalFontManagerUnit.h"

#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

struct TScanOptions {
    bool Recursive = false;
    QString Folder;
};

bool ParseOptions(const QStringList& arguments, TScanOptions& options)
{
    bool endOfOptions = false;
    QStringList folders;
    for (const QString& argument : arguments) {
        if (!endOfOptions && argument == QLatin1String("--"))
            endOfOptions = true;
        else if (!endOfOptions && argument == QLatin1String("--recursive"))
            options.Recursive = true;
        else if (!endOfOptions && argument.startsWith(QLatin1String("--"))) {
            QTextStream(stderr) << "Unknown option: " << argument << '\n';
            return false;
        } else
            folders << argument;
    }
    if (folders.size() != 1)
        return false;
    options.Folder = folders.front();
    return true;
}

// The faces of a fresh Browse scan, in a catalogue of their own.
bool ScanFolder(const TScanOptions& options, catalogue::TFontFamilyList& families)
{
    catalogue::TFontFileList files;
    catalogue::TBrowseFontsThread thread(files, options.Recursive, options.Folder);
    thread.Forget();
    thread.OnAdded = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) {
        for (auto& item : items)
            families.AddItem(std::move(item));
    };
    QStringList errors;
    const bool completed = RunToEnd(thread, errors);
    for (const QString& error : errors)
        QTextStream(stderr) << error << '\n';
    return completed && errors.isEmpty();
}

void PrintFace(const catalogue::TFontItem& face)
{
    using catalogue::FontStatus::FileLoaded;
    using catalogue::FontStatus::Installed;
    using catalogue::FontStatus::Loaded;
    using catalogue::FontStatus::NotDisplayable;
    using catalogue::FontStatus::PrivatelyLoaded;
    using catalogue::FontStatus::SimilarInstalled;
    TJsonLine line;
    line.String("FamilyName", face.FamilyName())
        .String("FullName", face.FullName())
        .String("StyleName", face.StyleName())
        .String("RegistryName", face.RegistryName())
        .String("DisplayName", face.DisplayName())
        .Number("StatusFlags", face.StatusFlags())
        .String("StatusText", face.StatusText())
        .Number("StatusCode", static_cast<int>(face.StatusCode()))
        .Boolean("Loaded", face.HasStatus(Loaded))
        .Boolean("FileLoaded", face.HasStatus(FileLoaded))
        .Boolean("PrivatelyLoaded", face.HasStatus(PrivatelyLoaded))
        .Boolean("Installed", face.HasStatus(Installed))
        .Boolean("SimilarInstalled", face.HasStatus(SimilarInstalled))
        .Boolean("NotDisplayable", face.HasStatus(NotDisplayable))
        .Number("GdiTypeBits", face.GdiTypeBits())
        .Number("FontKind", face.FontKind())
        .String("TypeText", face.TypeText())
        .String("WeightText", face.WeightText())
        .String("WidthText", face.WidthText())
        .String("EmbeddingText", face.EmbeddingText())
        .String("PanoseText", face.PanoseText())
        .String("VersionText", face.VersionText())
        .Number("GlyphCount", face.GlyphCount())
        .Number("CharacterCount", face.CharacterCount())
        .Number("UnitsPerEm", face.UnitsPerEm())
        .String("file", face.FontFile())
        .String("secondFile", face.SecondFile())
        .Boolean("viaShortcut", face.ViaShortcut())
        .String("shortcutPath", face.ShortcutPath());
    WriteJsonLine(line);
}

} // namespace

int TScanCommand::Run(const QStringList& arguments)
{
    TScanOptions options;
    if (!ParseOptions(arguments, options)) {
        QTextStream(stderr) << "Usage: quillmark-cli " << Name() << ' ' << Usage() << '\n';
        return kUsageError;
    }
    if (!QFileInfo(options.Folder).isDir()) {
        WriteJsonLine(TJsonLine()
                          .String("folder", options.Folder)
                          .String("error", QStringLiteral("Folder not found: ") + options.Folder));
        return 1;
    }

    // The index looks into the Active catalogue from the start: the enumeration fills active
    // faces from the font cache and prunes the cache against it, as in the program.
    TActiveFontsCatalogue active;
    const bool enumerated = active.Enumerate();
    catalogue::TGlobalFontManager& manager = catalogue::TGlobalFontManager::Instance();

    catalogue::TFontFamilyList scanned;
    const bool scannedAll = ScanFolder(options, scanned);
    scanned.Sort();
    for (int i = 0; i < scanned.Count(); ++i)
        for (catalogue::TFontItem* face : scanned.Family(i)->Items()) {
            manager.UpdateStatusOfNonActiveFace(*face);
            PrintFace(*face);
        }
    return enumerated && scannedAll ? 0 : 1;
}

} // namespace cli
