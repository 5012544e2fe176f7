#pragma once

// The procedures of the operation engine, one per operation, each leaving a status text.
// Private to FontOperationThreadUnit.

#include "FontOperationCatalogue.h"
#include "FontOperationThreadUnit.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace operations {

struct TTaskResult {
    bool Success = true;
    QString Text;  // empty: "Succeeded"
};

class TFontOperationThread::TEngine {
public:
    struct TContext {
        TFontRegistry& Registry;
        TFontOperationCatalogue& Catalogue;
        const TFontOperationOptions& Options;
        QString FontsFolder;     // trailing separator
        QString BackupFolder;    // trailing separator; empty when none
        QString Destination;     // trailing separator
        std::function<void(const QString& folder)> FolderChanged;
    };

    explicit TEngine(TContext context) : F(std::move(context)) {}

    TTaskResult Run(TFontOperation operation, catalogue::TFontItem& item);
    // The failure text of an operation whose procedure raised.
    static QString ExceptionText(TFontOperation operation, const catalogue::TFontItem& item);

private:
    enum class TUninstallMode { MoveFiles, KeepFiles };

    TTaskResult Install(catalogue::TFontItem& item);
    TTaskResult Uninstall(catalogue::TFontItem& item);
    TTaskResult Load(catalogue::TFontItem& item);
    TTaskResult Unload(catalogue::TFontItem& item);
    TTaskResult Delete(catalogue::TFontItem& item);
    TTaskResult Move(catalogue::TFontItem& item);
    TTaskResult Copy(catalogue::TFontItem& item);
    TTaskResult CreateShortcut(catalogue::TFontItem& item);

    // The matching font, after the smart step: none when the smart step uninstalled it and
    // the operation treats it as gone.
    std::unique_ptr<catalogue::TFontItem> MatchAfterSmartStep(catalogue::TFontItem& item, bool smartOption,
                                                               bool forgetAfterUninstall, bool swallow);

    TTaskResult InstallFont(catalogue::TFontItem& item);
    TTaskResult UninstallFont(catalogue::TFontItem& item, TUninstallMode mode);
    TTaskResult LoadFontTask(catalogue::TFontItem& item);
    TTaskResult DeleteFont(catalogue::TFontItem& item);
    TTaskResult MoveFont(catalogue::TFontItem& item);
    TTaskResult CopyFont(catalogue::TFontItem& item);
    TTaskResult CreateFontShortcut(catalogue::TFontItem& item);

    bool CopyOptionFor(std::uint8_t fontKind) const;
    bool AllFilesInDestination(const catalogue::TFontItem& item) const;
    bool DestinationIsFontsFolder() const;
    // Puts back the registry value and the session load that a failed step took away.
    void Restore(catalogue::TFontItem& item, bool wasInstalled, bool wasLoaded);
    void Changed(const QString& file);

    TContext F;
};

// Helpers shared by the procedures.
QString FolderOfFile(const QString& file);  // with a trailing separator
bool LiesInFolder(const QString& file, const QString& folder);
bool IsActiveItem(const catalogue::TFontItem& item);
bool IsLoadedItem(const catalogue::TFontItem& item);
TFontRegistryItem RegistryItemOf(const catalogue::TFontItem& item);

} // namespace operations
