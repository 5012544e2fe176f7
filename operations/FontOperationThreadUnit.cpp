#include "FontOperationThreadUnit.h"

#include "FontOperationThreadEngine.h"
#include "FontRegistryUnit.h"

#include "platform/FontDirs.h"
#include "settings/ApplicationRegistrySettings.h"
#include "support/LoggerUnit.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <exception>

namespace operations {

namespace {

constexpr qint64 kProgressIntervalMs = 200;
constexpr qint64 kPauseIntervalMs = 50;
constexpr unsigned long kPauseMs = 5;

qint64 Tick() { return QDateTime::currentMSecsSinceEpoch(); }

QString WithSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace

QString OperationCaptionWord(TFontOperation operation)
{
    switch (operation) {
    case TFontOperation::Install: return QStringLiteral("Install");
    case TFontOperation::Uninstall: return QStringLiteral("Uninstall");
    case TFontOperation::Load:
    case TFontOperation::LoadGroup: return QStringLiteral("Load");
    case TFontOperation::Unload:
    case TFontOperation::UnloadGroup: return QStringLiteral("Unload");
    case TFontOperation::Delete: return QStringLiteral("Delete");
    case TFontOperation::Move: return QStringLiteral("Move");
    case TFontOperation::Copy: return QStringLiteral("Copy");
    case TFontOperation::CreateShortcut: return QStringLiteral("Default");
    }
    return {};
}

TFontOperationOptions TFontOperationOptions::FromSettings()
{
    settings::TFontViewerRegistrySettings& settings = settings::TFontViewerRegistrySettings::Instance();
    TFontOperationOptions options;
    options.SmartInstallFonts = settings.GetSmartInstallFonts();
    options.SmartUninstallFonts = settings.GetSmartUninstallFonts();
    options.SmartLoadFonts = settings.GetSmartLoadFonts();
    options.SmartUnloadFonts = settings.GetSmartUnloadFonts();
    options.CopyToFontsFolderTrueTypeAndOpenType = settings.GetCopyToFontsFolderTrueTypeAndOpenType();
    options.CopyToFontsFolderType1 = settings.GetCopyToFontsFolderType1();
    options.CopyToFontsFolderVectorAndRaster = settings.GetCopyToFontsFolderVectorAndRaster();
    return options;
}

TFontOperationThread::TFontOperationThread(QObject* parent)
    : QThread(parent)
    , FRegistry(std::make_unique<TFontRegistry>(true))
    , FBackupFolder(ResolveBackupFolder())
    , FOptions(TFontOperationOptions::FromSettings())
    , FOwnerThread(QThread::currentThread())
{
}

TFontOperationThread::~TFontOperationThread()
{
    // A worker still running is asked to end and waited for; its handlers must not block.
    if (isRunning()) {
        Stop();
        wait();
    }
}

QString TFontOperationThread::ResolveBackupFolder()
{
    QString folder = settings::TFontViewerRegistrySettings::Instance().GetBackupFontsFolder();
    // Without a stored folder the first-run default is used: a file of the fonts folder can
    // only be uninstalled by moving it away.
    if (folder.isEmpty())
        folder = settings::TFontViewerRegistrySettings::FirstRunFolder() + QStringLiteral("Uninstalled Fonts/");
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return {};
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return WithSeparator(folder);
    return {};
}

void TFontOperationThread::SetBackupFolder(const QString& folder) { FBackupFolder = WithSeparator(folder); }

void TFontOperationThread::SetDestinationFolder(const QString& folder) { FDestinationFolder = WithSeparator(folder); }

void TFontOperationThread::Stop()
{
    FState = TThreadState::StoppedByUser;
    FTerminateRequested = true;
}

QStringList TFontOperationThread::ChangedFolders() const
{
    std::lock_guard guard(FChangedFoldersLock);
    return FChangedFolders;
}

void TFontOperationThread::RunSynchronously()
{
    FSynchronousRun = true;
    Execute();
    FSynchronousRun = false;
}

void TFontOperationThread::run()
{
    Execute();
    if (FFreeOnTerminate)
        deleteLater();
}

void TFontOperationThread::Synchronize(const std::function<void()>& call)
{
    if (FSynchronousRun || QThread::currentThread() == FOwnerThread) {
        call();
        return;
    }
    // The worker waits while the creating thread runs the handler.
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void TFontOperationThread::ReportProgress(const QString& text, int percent)
{
    FLastProgressTick = Tick();
    if (FTerminateRequested || !OnProgress)
        return;
    Synchronize([&] { OnProgress(text, percent); });
}

void TFontOperationThread::Execute()
{
    if (FState != TThreadState::StoppedByUser)
        FState = TThreadState::Running;
    try {
        Generate();
        if (FState != TThreadState::StoppedByUser)
            FState = FTerminateRequested ? TThreadState::Ended : TThreadState::Completed;
    } catch (...) {
        ReportProgress(QStringLiteral("An exception occured. The operation is cancelled."), 100);
        FState = TThreadState::Ended;
    }
    RescanChangedFolders();
    if (OnFinished) {
        const TThreadState state = FState;
        Synchronize([&] { OnFinished(this, state); });
    }
}

void TFontOperationThread::Generate()
{
    bool continueRun = true;
    if (OnStart)
        Synchronize([&] { OnStart(this, continueRun); });
    std::size_t index = 0;
    if (continueRun) {
        if (!FCatalogue)
            FCatalogue = CreateGlobalFontOperationCatalogue();
        TEngine engine({*FRegistry, *FCatalogue, FOptions, FRegistry->FontsFolder(), FBackupFolder,
                        FDestinationFolder, [this](const QString& folder) {
                            std::lock_guard guard(FChangedFoldersLock);
                            if (!folder.isEmpty() && !FChangedFolders.contains(folder))
                                FChangedFolders << folder;
                        }});
        ReportProgress(QString(), 0);
        FLastPauseTick = Tick();
        const std::size_t count = FTasks.size();
        const QString progressText = QStringLiteral("Processing font %1 out of %2 fonts - %3");
        for (; index < count && !FTerminateRequested; ++index) {
            TFontItemPro& item = *FTasks[index];
            try {
                if (Tick() - FLastProgressTick > kProgressIntervalMs)
                    ReportProgress(progressText.arg(index + 1).arg(count).arg(item.DisplayName()),
                                   static_cast<int>(index * 100 / count));
                if (ProcessTask(engine, item))
                    ++FSucceededCount;
                else
                    ++FFailedCount;
                if (std::llabs(Tick() - FLastPauseTick) > kPauseIntervalMs) {
                    msleep(kPauseMs);
                    FLastPauseTick = Tick();
                }
            } catch (const std::exception& error) {
                support::LogError(QStringLiteral("In TFontOperationThread.Generate - ") + QString::fromUtf8(error.what()));
                ++FFailedCount;
            } catch (...) {
                support::LogError(QStringLiteral("In TFontOperationThread.Generate - Unknown exception"));
                ++FFailedCount;
            }
        }
        if (index > 0) {
            const TFontItemPro& last = *FTasks[index - 1];
            ReportProgress(progressText.arg(index).arg(count).arg(last.DisplayName()),
                           static_cast<int>(index * 100 / count));
        }
    }
    for (std::size_t rest = index; rest < FTasks.size(); ++rest) {
        FTasks[rest]->SetStatusText(QStringLiteral("Aborted"));
        FTasks[rest]->SetSucceeded(false);
    }
}

bool TFontOperationThread::ProcessTask(TEngine& engine, TFontItemPro& item)
{
    item.SetStatusText(QStringLiteral("Succeeded"));
    item.SetSucceeded(false);
    FCurrentItem = &item;
    if (OnFontStart)
        Synchronize([&] { OnFontStart(this, &item); });
    TTaskResult result;
    try {
        result = engine.Run(FOperation, item);
    } catch (...) {
        // A task that raised has failed; its own failure text says so, not "Succeeded".
        item.SetStatusText(TEngine::ExceptionText(FOperation, item));
        if (OnFontDone)
            Synchronize([&] { OnFontDone(this, &item); });
        throw;
    }
    if (OnFontDone)
        Synchronize([&] { OnFontDone(this, &item); });
    item.SetStatusText(result.Text.isEmpty() ? QStringLiteral("Succeeded") : result.Text);
    item.SetSucceeded(result.Success);
    return result.Success;
}

void TFontOperationThread::RescanChangedFolders()
{
    for (const QString& folder : ChangedFolders())
        if (QFileInfo(folder).isDir())
            platform::RescanFontconfigCache(folder);
}

} // namespace operations
