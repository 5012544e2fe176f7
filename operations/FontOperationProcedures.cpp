#include "FontOperationThreadEngine.h"

#include "FontFileMover.h"
#include "FontRegistryUnit.h"
#include "PlaceFiles.h"
#include "RemovableDrive.h"

#include "platform/FileUnderOperation.h"
#include "support/LoggerUnit.h"

#include <QFileInfo>

namespace operations {

using catalogue::TFontItem;
namespace FontStatus = catalogue::FontStatus;

namespace {

TTaskResult Failure(const QString& text) { return {false, text}; }
TTaskResult SuccessWith(const QString& text = {}) { return {true, text}; }

QString ExistingOrEmpty(const QString& file) { return PathEntryExists(file) ? file : QString(); }

bool SameFile(const TFontItem& item, const TFontItem& match) { return item.FontFile() == match.FontFile(); }

bool MatchIsLoaded(const TFontItem& match) { return IsLoadedItem(match); }

bool MatchIsInstalled(const TFontItem& match)
{
    return match.HasStatus(FontStatus::Installed) || match.HasStatus(FontStatus::SimilarInstalled);
}

} // namespace

QString FolderOfFile(const QString& file)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : file.left(slash + 1);
}

bool LiesInFolder(const QString& file, const QString& folder)
{
    return !file.isEmpty() && !folder.isEmpty() && FolderOfFile(file) == folder;
}

bool IsLoadedItem(const TFontItem& item)
{
    return item.HasStatus(FontStatus::Loaded) || item.HasStatus(FontStatus::FileLoaded);
}

bool IsActiveItem(const TFontItem& item)
{
    return (item.HasStatus(FontStatus::Installed) || IsLoadedItem(item)) && !item.HasStatus(FontStatus::SimilarInstalled);
}

TFontRegistryItem RegistryItemOf(const TFontItem& item)
{
    return {item.RegistryName(), item.FontKind(), item.FontFile(), item.SecondFile()};
}

// --- Dispatch

TTaskResult TFontOperationThread::TEngine::Run(TFontOperation operation, TFontItem& item)
{
    switch (operation) {
    case TFontOperation::Install: return Install(item);
    case TFontOperation::Uninstall: return Uninstall(item);
    case TFontOperation::Load:
    case TFontOperation::LoadGroup: return Load(item);
    case TFontOperation::Unload:
    case TFontOperation::UnloadGroup: return Unload(item);
    case TFontOperation::Delete: return Delete(item);
    case TFontOperation::Move: return Move(item);
    case TFontOperation::Copy: return Copy(item);
    case TFontOperation::CreateShortcut: return CreateShortcut(item);
    }
    return Failure(QStringLiteral("Failed to install the font."));
}

QString TFontOperationThread::TEngine::ExceptionText(TFontOperation operation, const TFontItem& item)
{
    switch (operation) {
    case TFontOperation::Install: return QStringLiteral("Failed to install the font.");
    case TFontOperation::Uninstall: return QStringLiteral("Failed to uninstall the font.");
    case TFontOperation::Load:
    case TFontOperation::LoadGroup: return QStringLiteral("Failed to load the font.");
    case TFontOperation::Unload:
    case TFontOperation::UnloadGroup: return QStringLiteral("Failed to unload the font.");
    case TFontOperation::Delete: return QStringLiteral("Could not delete font file %1.").arg(item.FontFile());
    case TFontOperation::Move: return QStringLiteral("Could not move the font to the destination folder.");
    case TFontOperation::Copy: return QStringLiteral("Could not copy the font to the destination folder.");
    case TFontOperation::CreateShortcut: return QStringLiteral("Could not create shortcut in the destination folder.");
    }
    return {};
}

// --- The smart step

std::unique_ptr<TFontItem> TFontOperationThread::TEngine::MatchAfterSmartStep(TFontItem& item, bool smartOption,
                                                                             bool forgetAfterUninstall, bool swallow)
{
    std::unique_ptr<TFontItem> match = F.Catalogue.MatchingFont(item);
    // Only a similar font (another file) is taken away first: uninstalling the very file of
    // the item would move away the file that the operation is about to work on.
    if (!match || !smartOption || match->IsSystemFont() || SameFile(item, *match))
        return match;
    try {
        UninstallFont(*match, TUninstallMode::MoveFiles);
    } catch (...) {
        if (!swallow)
            throw;
    }
    if (forgetAfterUninstall)
        match.reset();
    return match;
}

// --- Operations

TTaskResult TFontOperationThread::TEngine::Install(TFontItem& item)
{
    const auto match = MatchAfterSmartStep(item, F.Options.SmartInstallFonts, true, false);
    if (!match)
        return InstallFont(item);
    const bool same = SameFile(item, *match);
    if (MatchIsInstalled(*match)) {
        if (MatchIsLoaded(*match))
            return Failure(same ? QStringLiteral("This font is already installed.")
                                : QStringLiteral("A similar font is already installed."));
        if (!same)
            return Failure(QStringLiteral("A similar font is already installed but not loaded."));
        if (!F.Registry.UnregisterFont(RegistryItemOf(item)))
            return Failure(QStringLiteral("Failed to install the font."));
        return InstallFont(item);
    }
    if (MatchIsLoaded(*match)) {
        if (!same)
            return Failure(QStringLiteral("A similar font is already loaded."));
        return InstallFont(item);
    }
    return Failure(same ? QStringLiteral("This font is already active.") : QStringLiteral("A similar font is already active."));
}

TTaskResult TFontOperationThread::TEngine::Uninstall(TFontItem& item)
{
    if (item.IsSystemFont())
        return Failure(QStringLiteral(
            "Uninstall not allowed on system fonts. See the help file for more information about system fonts."));
    MatchAfterSmartStep(item, F.Options.SmartUninstallFonts, false, false);
    return UninstallFont(item, TUninstallMode::MoveFiles);
}

TTaskResult TFontOperationThread::TEngine::Load(TFontItem& item)
{
    support::LogError(item.FullName());
    const auto match = MatchAfterSmartStep(item, F.Options.SmartLoadFonts, true, true);
    if (!match)
        return LoadFontTask(item);
    const bool same = SameFile(item, *match);
    if (MatchIsInstalled(*match)) {
        if (MatchIsLoaded(*match))
            return Failure(same ? QStringLiteral("This font is already installed.")
                                : QStringLiteral("A similar font is already installed."));
        if (!same)
            return Failure(QStringLiteral("A similar font is already installed but not loaded."));
        return LoadFontTask(item);
    }
    if (MatchIsLoaded(*match))
        return Failure(same ? QStringLiteral("This font is already loaded.")
                            : QStringLiteral("A similar font is already loaded."));
    return Failure(same ? QStringLiteral("This font is already active.") : QStringLiteral("A similar font is already active."));
}

TTaskResult TFontOperationThread::TEngine::Unload(TFontItem& item)
{
    if (item.IsSystemFont())
        return Failure(QStringLiteral(
            "Unload not allowed on system fonts. See the help file for more information about system fonts."));
    MatchAfterSmartStep(item, F.Options.SmartUnloadFonts, false, false);
    const catalogue::TUnloadResult unloaded = item.UnloadFont();
    if (!unloaded.Success)
        return Failure(unloaded.FailureText);
    F.Catalogue.Remove(item);
    return SuccessWith();
}

TTaskResult TFontOperationThread::TEngine::Delete(TFontItem& item)
{
    if (!item.ViaShortcut() && IsActiveItem(item) && item.IsSystemFont())
        return Failure(QStringLiteral(
            "Delete not allowed on system fonts. See the help file for more information about system fonts."));
    return DeleteFont(item);
}

TTaskResult TFontOperationThread::TEngine::Move(TFontItem& item)
{
    if (item.FontFile().isEmpty())
        return Failure(QStringLiteral(
            "Could not move the font to the destination folder, because the source file is unknown."));
    if (AllFilesInDestination(item))
        return Failure(QStringLiteral("This font is already located in the destination folder."));
    if (DestinationIsFontsFolder() && !item.HasStatus(FontStatus::Installed))
        return Failure(QStringLiteral("Only installed fonts can be moved to fonts folder."));
    if (!item.ViaShortcut() && IsActiveItem(item)) {
        if (item.IsSystemFont())
            return Failure(QStringLiteral("Move not allowed on installed or loaded system fonts. See the help file "
                                          "for more information about system fonts."));
        if (IsRemovableOrCdRomDrive(F.Destination))
            return Failure(QStringLiteral("Move to a removable drive not allowed on installed or loaded fonts."));
    }
    return MoveFont(item);
}

TTaskResult TFontOperationThread::TEngine::Copy(TFontItem& item)
{
    if (item.FontFile().isEmpty())
        return Failure(QStringLiteral(
            "Could not copy the font to the destination folder, because the source file is unknown."));
    if (AllFilesInDestination(item))
        return Failure(QStringLiteral("This font is already located in the destination folder."));
    if (DestinationIsFontsFolder() && !item.HasStatus(FontStatus::Installed))
        return Failure(QStringLiteral(
            "Can't copy fonts to fonts folder. See the help file for more information about fonts folder."));
    return CopyFont(item);
}

TTaskResult TFontOperationThread::TEngine::CreateShortcut(TFontItem& item)
{
    if (item.FontFile().isEmpty())
        return Failure(QStringLiteral("Could not create shortcut, because the source file is unknown."));
    if (DestinationIsFontsFolder() && !item.HasStatus(FontStatus::Installed))
        return Failure(QStringLiteral(
            "Can't create shortcuts to fonts folder. See the help file for more information about fonts folder."));
    return CreateFontShortcut(item);
}

// --- Procedures

TTaskResult TFontOperationThread::TEngine::InstallFont(TFontItem& item)
{
    if (item.FontFile().isEmpty() && item.SecondFile().isEmpty())
        return Failure(QStringLiteral("Could not install the font, because the source file is unknown."));
    const std::unique_ptr<TFontItem> copy = DetachedCopy(item);
    const QString file1 = ExistingOrEmpty(item.FontFile());
    const QString file2 = ExistingOrEmpty(item.SecondFile());
    const bool copyFiles = (!LiesInFolder(item.FontFile(), F.FontsFolder) && CopyOptionFor(item.FontKind()))
        || IsRemovableOrCdRomDrive(item.FontFile())
        || (!item.SecondFile().isEmpty() && IsRemovableOrCdRomDrive(item.SecondFile()));
    QString text;
    QStringList copiedFiles;  // only files this run wrote, never a reused one
    if (copyFiles) {
        const TPlacedFiles placed = PlaceFiles(TPlaceMode::Copy, file1, file2, F.FontsFolder);
        if (!placed.Success)
            return Failure(QStringLiteral("Could not copy and install the font into fonts folder."));
        text = QStringLiteral("Font copied and installed in fonts folder.");
        copy->SetFontFile(placed.File1);
        copy->SetSecondFile(placed.File2);
        if (!placed.Reused) {
            for (const QString& file : {placed.File1, placed.File2})
                if (!file.isEmpty())
                    copiedFiles << file;
        }
        Changed(placed.File1);
        item.UnloadFont();
    }
    const auto removeCopies = [&] {
        for (const QString& file : copiedFiles)
            MoveFileToTrash(file);
    };
    if (!F.Registry.RegisterFont(RegistryItemOf(*copy))) {
        removeCopies();
        return Failure(QStringLiteral("Failed to install the font."));
    }
    Changed(copy->FontFile());
    if (!copy->LoadFont()) {
        F.Registry.UnregisterFont(RegistryItemOf(*copy));
        removeCopies();
        return Failure(QStringLiteral("Failed to install the font."));
    }
    copy->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    F.Catalogue.AddAsInstalled(*copy);
    return SuccessWith(text);
}

TTaskResult TFontOperationThread::TEngine::UninstallFont(TFontItem& item, TUninstallMode mode)
{
    const bool wasInstalled = item.HasStatus(FontStatus::Installed);
    const bool wasLoaded = IsLoadedItem(item);
    if (!F.Registry.UnregisterFont(RegistryItemOf(item)))
        return Failure(QStringLiteral("Failed to uninstall the font."));
    Changed(item.FontFile());
    QString text;
    bool backupFailed = false;
    {
        const platform::TFileUnderOperationScope mark(item.FontFile());
        const catalogue::TUnloadResult unloaded = item.UnloadFont();
        if (!unloaded.Success) {
            if (wasInstalled)
                F.Registry.RegisterFont(RegistryItemOf(item));
            return Failure(QStringLiteral("Failed to uninstall the font."));
        }
        if (mode == TUninstallMode::MoveFiles && LiesInFolder(item.FontFile(), F.FontsFolder)) {
            // A file in the fonts folder stays installed while it lies there: without a move
            // to the backup folder there is no uninstall.
            const TPlacedFiles placed = F.BackupFolder.isEmpty()
                ? TPlacedFiles{}
                : PlaceFiles(TPlaceMode::Move, ExistingOrEmpty(item.FontFile()), ExistingOrEmpty(item.SecondFile()),
                             F.BackupFolder);
            if (placed.Success)
                text = item.SecondFile().isEmpty()
                    ? QStringLiteral("Succeeded; moved the font file to the Backup folder.")
                    : QStringLiteral("Succeeded; moved the font files to the Backup folder.");
            else
                backupFailed = true;
        }
    }
    if (backupFailed) {
        Restore(item, wasInstalled, wasLoaded);
        return Failure(QStringLiteral("Failed to uninstall the font."));
    }
    F.Catalogue.Remove(item);
    return SuccessWith(text);
}

TTaskResult TFontOperationThread::TEngine::LoadFontTask(TFontItem& item)
{
    if (!item.LoadFont())
        return Failure(QStringLiteral("Failed to load the font."));
    F.Catalogue.AddAsLoaded(item);
    return SuccessWith();
}

TTaskResult TFontOperationThread::TEngine::DeleteFont(TFontItem& item)
{
    if (item.ViaShortcut()) {
        if (!MoveFileToTrash(item.ShortcutPath()))
            return Failure(QStringLiteral("Could not delete %1.").arg(QFileInfo(item.ShortcutPath()).completeBaseName()));
        return SuccessWith();
    }
    const bool wasInstalled = item.HasStatus(FontStatus::Installed);
    const bool wasLoaded = IsLoadedItem(item);
    TTaskResult result;
    bool nothingDeleted = true;
    {
        const platform::TFileUnderOperationScope mark(item.FontFile());
        result = UninstallFont(item, TUninstallMode::KeepFiles);
        if (!result.Success)
            return result;
        for (const QString& file : {item.FontFile(), item.SecondFile()}) {
            if (!PathEntryExists(file))
                continue;
            if (MoveFileToTrash(file)) {
                nothingDeleted = false;
                Changed(file);
            } else
                result = Failure(QStringLiteral("Could not delete font file %1.").arg(file));
        }
    }
    // A font whose files all stayed is put back as it was.
    if (!result.Success && nothingDeleted)
        Restore(item, wasInstalled, wasLoaded);
    return result;
}

TTaskResult TFontOperationThread::TEngine::MoveFont(TFontItem& item)
{
    const std::unique_ptr<TFontItem> copy = DetachedCopy(item);
    if (item.ViaShortcut()) {
        const TPlacedFiles placed = PlaceFiles(TPlaceMode::Move, item.ShortcutPath(), QString(), F.Destination);
        if (!placed.Success)
            return Failure(QStringLiteral("Could not move the shortcut to the destination folder."));
        return SuccessWith(QStringLiteral("Shortcut moved to the destination folder."));
    }
    const bool wasInstalled = item.HasStatus(FontStatus::Installed);
    const bool wasLoaded = IsLoadedItem(item);
    TPlacedFiles placed;
    {
        const platform::TFileUnderOperationScope mark(item.FontFile());
        item.UnloadFont();
        F.Registry.UnregisterFont(RegistryItemOf(item));
        placed = PlaceFiles(TPlaceMode::Move, ExistingOrEmpty(item.FontFile()), ExistingOrEmpty(item.SecondFile()),
                            F.Destination);
    }
    if (!placed.Success) {
        Restore(item, wasInstalled, wasLoaded);
        return Failure(QStringLiteral("Could not move the font to the destination folder."));
    }
    Changed(item.FontFile());
    Changed(placed.File1);
    copy->SetFontFile(placed.File1);
    copy->SetSecondFile(placed.File2);
    if (wasInstalled)
        F.Registry.RegisterFont(RegistryItemOf(*copy));
    if (wasLoaded)
        copy->LoadFont();
    F.Catalogue.FileMoved(item, *copy);
    return SuccessWith(QStringLiteral("Font moved to the destination folder."));
}

TTaskResult TFontOperationThread::TEngine::CopyFont(TFontItem& item)
{
    const TPlacedFiles placed = item.ViaShortcut()
        ? PlaceFiles(TPlaceMode::Copy, item.ShortcutPath(), QString(), F.Destination)
        : PlaceFiles(TPlaceMode::Copy, ExistingOrEmpty(item.FontFile()), ExistingOrEmpty(item.SecondFile()), F.Destination);
    if (!placed.Success)
        return Failure(QStringLiteral("Could not copy the font to the destination folder."));
    Changed(placed.File1);
    return SuccessWith(QStringLiteral("Font copied to the destination folder."));
}

TTaskResult TFontOperationThread::TEngine::CreateFontShortcut(TFontItem& item)
{
    const QString linkName = QFileInfo(item.FontFile()).completeBaseName() + QStringLiteral(".lnk");
    const QString path = FreeFilePath(F.Destination, linkName);
    const QString target = QFileInfo(item.FontFile()).absoluteFilePath();
    if (path.isEmpty() || !path.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive) || !QFile::link(target, path))
        return Failure(QStringLiteral("Could not create shortcut in the destination folder."));
    return SuccessWith(QStringLiteral("Shortcut created in the destination folder."));
}

// --- Helpers

bool TFontOperationThread::TEngine::CopyOptionFor(std::uint8_t fontKind) const
{
    if (fontKind == 1 || fontKind == 2)
        return F.Options.CopyToFontsFolderVectorAndRaster;
    if (fontKind == 3)
        return F.Options.CopyToFontsFolderType1;
    if (fontKind >= 4 && fontKind <= 7)
        return F.Options.CopyToFontsFolderTrueTypeAndOpenType;
    return false;
}

bool TFontOperationThread::TEngine::AllFilesInDestination(const TFontItem& item) const
{
    return LiesInFolder(item.FontFile(), F.Destination)
        && (item.SecondFile().isEmpty() || LiesInFolder(item.SecondFile(), F.Destination));
}

bool TFontOperationThread::TEngine::DestinationIsFontsFolder() const
{
    return !F.Destination.isEmpty() && F.Destination == F.FontsFolder;
}

void TFontOperationThread::TEngine::Restore(TFontItem& item, bool wasInstalled, bool wasLoaded)
{
    if (wasInstalled)
        F.Registry.RegisterFont(RegistryItemOf(item));
    if (wasLoaded)
        item.LoadFont();
    Changed(item.FontFile());
}

void TFontOperationThread::TEngine::Changed(const QString& file)
{
    if (!file.isEmpty() && F.FolderChanged)
        F.FolderChanged(FolderOfFile(file));
}

} // namespace operations
