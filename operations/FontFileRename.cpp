#include "FontFileRename.h"

#include "FontFileMover.h"
#include "FontOperationThreadEngine.h"
#include "FontRegistryUnit.h"

#include "catalogue/GlobalFontManagerEx.h"
#include "platform/FileUnderOperation.h"
#include "platform/FontDirs.h"
#include "support/LoggerUnit.h"

namespace operations {

namespace {

// Moves the files; on a failure of the second move the first goes back.
bool MoveFiles(const QString& oldFile, const QString& newFile, const QString& oldSecond, const QString& newSecond)
{
    if (!MoveFileVerified(oldFile, newFile))
        return false;
    if (oldSecond.isEmpty() || oldSecond == newSecond)
        return true;
    if (MoveFileVerified(oldSecond, newSecond))
        return true;
    if (!MoveFileVerified(newFile, oldFile))
        support::LogError(QStringLiteral("Rename: could not move %1 back to %2").arg(newFile, oldFile));
    return false;
}

void Rescan(const QString& file)
{
    const QString folder = FolderOfFile(file);
    if (!folder.isEmpty())
        platform::RescanFontconfigCache(folder);
}

} // namespace

TFontFileRenameResult RenameFontFiles(catalogue::TFontItem& item, const QString& newFile,
                                      const QString& newSecondFile, TFontRegistry& registry)
{
    namespace FontStatus = catalogue::FontStatus;
    TFontFileRenameResult result;
    const QString oldFile = item.FontFile();
    const QString oldSecond = item.SecondFile();
    const QString newSecond = oldSecond.isEmpty() ? QString() : newSecondFile.isEmpty() ? oldSecond : newSecondFile;
    if (oldFile.isEmpty() || newFile == oldFile)
        return result;
    if (PathEntryExists(newFile)) {
        result.Outcome = TRenameOutcome::FileExists;
        result.ExistingFile = newFile;
        return result;
    }
    if (!newSecond.isEmpty() && newSecond != oldSecond && PathEntryExists(newSecond)) {
        result.Outcome = TRenameOutcome::FileExists;
        result.ExistingFile = newSecond;
        return result;
    }

    const bool wasInstalled = item.HasStatus(FontStatus::Installed);
    const bool wasLoaded = IsLoadedItem(item);
    item.SetActive(false);
    registry.UnregisterFont(RegistryItemOf(item));
    item.UnloadFont();
    bool moved = false;
    {
        const platform::TFileUnderOperationScope mark(oldFile);
        moved = MoveFiles(oldFile, newFile, oldSecond, newSecond);
    }
    if (moved) {
        catalogue::TGlobalFontManagerEx::Instance().FileNameChanged(oldFile, oldSecond, newFile, newSecond);
        item.SetFontFile(newFile);
        item.SetSecondFile(newSecond);
    }
    item.SetActive(true);
    if (wasInstalled && !registry.RegisterFont(RegistryItemOf(item)))
        support::LogError(QStringLiteral("Rename: could not register %1 again").arg(item.FontFile()));
    if (wasLoaded)
        item.LoadFont();
    if (wasInstalled || wasLoaded) {
        Rescan(oldFile);
        if (moved && FolderOfFile(newFile) != FolderOfFile(oldFile))
            Rescan(newFile);
    }
    result.Outcome = moved ? TRenameOutcome::Succeeded : TRenameOutcome::Failed;
    result.FontsChanged = moved && IsActiveItem(item);
    return result;
}

} // namespace operations
