#pragma once

// The font operation engine: one operation (install, uninstall, load, unload, delete, move,
// copy, create shortcut, load or unload a group) on a list of fonts, in a worker thread. Each
// font leaves a status text in its task; the thread counts successes and failures.
//
// Events are delivered on the thread that created the engine (synchronised: the worker waits
// while the handler runs). A run started with RunSynchronously() raises them directly on the
// calling thread, which is what the command-line tool does.

#include "catalogue/FontItem.h"
#include "operations/FontOperationCatalogue.h"

#include <QObject>
#include <QStringList>
#include <QString>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace operations {

class TFontRegistry;
struct TFontRegistryItem;

// The operation codes; the task window and the settings use the same numbers.
enum class TFontOperation : std::uint8_t {
    Install = 0,
    Uninstall = 1,
    Load = 2,
    Unload = 3,
    Delete = 4,
    Move = 5,
    Copy = 6,
    CreateShortcut = 7,
    LoadGroup = 8,
    UnloadGroup = 9,
};

// The caption word of an operation ("Install", ..., "Default" for shortcuts).
QString OperationCaptionWord(TFontOperation operation);

// State of a worker thread.
enum class TThreadState : std::uint8_t {
    Created = 0,
    Running = 1,
    Completed = 2,
    StoppedByUser = 3,
    Ended = 4,  // ended by an exception or terminated otherwise
};

// The options of a run. FromSettings() reads them from the settings object.
struct TFontOperationOptions {
    bool SmartInstallFonts = true;
    bool SmartUninstallFonts = true;
    bool SmartLoadFonts = true;
    bool SmartUnloadFonts = true;
    bool CopyToFontsFolderTrueTypeAndOpenType = true;
    bool CopyToFontsFolderType1 = true;
    bool CopyToFontsFolderVectorAndRaster = true;

    static TFontOperationOptions FromSettings();
};

// One task: a face and its result. The task window owns these.
class TFontItemPro : public catalogue::TFontItem {
public:
    using catalogue::TFontItem::TFontItem;

    // The result shown in the Status column.
    const QString& StatusText() const { return FStatusText; }
    void SetStatusText(const QString& value) { FStatusText = value; }
    // True when the task's procedure reported success.
    bool Succeeded() const { return FSucceeded; }
    void SetSucceeded(bool value) { FSucceeded = value; }
    // The task window's row of this task (-1 none).
    int Node() const { return FNode; }
    void SetNode(int value) { FNode = value; }

private:
    QString FStatusText;
    bool FSucceeded = false;
    int FNode = -1;
};

class TFontOperationThread : public QThread {
public:
    using TProgressEvent = std::function<void(const QString& text, int percent)>;
    using TFinishedEvent = std::function<void(TFontOperationThread* sender, TThreadState state)>;
    using TStartEvent = std::function<void(TFontOperationThread* sender, bool& continueRun)>;
    using TFontEvent = std::function<void(TFontOperationThread* sender, TFontItemPro* item)>;

    // Creates and loads its font registry and resolves the backup folder. Options come from
    // the settings object. Not started: set the operation, destination and tasks, assign the
    // events, then start() (worker thread) or RunSynchronously() (this thread).
    explicit TFontOperationThread(QObject* parent = nullptr);
    ~TFontOperationThread() override;

    void SetOperation(TFontOperation operation) { FOperation = operation; }
    TFontOperation Operation() const { return FOperation; }
    // Codes 5, 6 and 7; kept with a trailing separator.
    void SetDestinationFolder(const QString& folder);
    const QString& DestinationFolder() const { return FDestinationFolder; }
    // Not owned; each task's status text and result are written by the run.
    void SetTasks(std::vector<TFontItemPro*> tasks) { FTasks = std::move(tasks); }
    const std::vector<TFontItemPro*>& Tasks() const { return FTasks; }
    void SetOptions(const TFontOperationOptions& options) { FOptions = options; }
    // The index and cache the engine consults and changes; the global font manager's unless set.
    void SetCatalogue(std::unique_ptr<TFontOperationCatalogue> value) { FCatalogue = std::move(value); }
    const TFontOperationOptions& Options() const { return FOptions; }
    // The backup folder of uninstalled fonts (trailing separator; empty when none could be
    // made): the files then stay where they are.
    const QString& BackupFolder() const { return FBackupFolder; }
    void SetBackupFolder(const QString& folder);
    // BackupFontsFolder of the settings, created when missing; empty when it cannot be made.
    static QString ResolveBackupFolder();
    // Frees the engine (deleteLater on its creating thread) when a worker run ends.
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }

    // Events; see the class comment for the thread they are raised on.
    TStartEvent OnStart;       // once before the first task; continueRun = false runs none
    TFontEvent OnFontStart;    // before each task
    TFontEvent OnFontDone;     // after each task, also when it raised
    TProgressEvent OnProgress; // at most one report every 200 ms, only while not terminated
    TFinishedEvent OnFinished; // at the end, with the final state

    // Ends the run after the current task; the remaining tasks become "Aborted".
    void Stop();
    bool StopRequested() const { return FTerminateRequested.load(); }

    // Runs the whole operation on the calling thread and returns when it ends.
    void RunSynchronously();

    TThreadState State() const { return FState.load(); }
    int SucceededCount() const { return FSucceededCount.load(); }
    int FailedCount() const { return FFailedCount.load(); }
    TFontItemPro* CurrentItem() const { return FCurrentItem.load(); }
    // The folders whose files this run changed (fontconfig caches rescanned at the end).
    QStringList ChangedFolders() const;

protected:
    void run() override;

private:
    class TEngine;
    friend class TEngine;

    void Execute();
    void Generate();
    bool ProcessTask(TEngine& engine, TFontItemPro& item);
    void Synchronize(const std::function<void()>& call);
    void ReportProgress(const QString& text, int percent);
    void RescanChangedFolders();

    std::atomic<TThreadState> FState{TThreadState::Created};
    std::atomic<bool> FTerminateRequested{false};
    std::atomic<int> FSucceededCount{0};
    std::atomic<int> FFailedCount{0};
    std::atomic<TFontItemPro*> FCurrentItem{nullptr};
    qint64 FLastProgressTick = 0;
    qint64 FLastPauseTick = 0;
    std::unique_ptr<TFontRegistry> FRegistry;
    QString FBackupFolder;
    TFontOperation FOperation = TFontOperation::Install;
    QString FDestinationFolder;
    std::vector<TFontItemPro*> FTasks;
    TFontOperationOptions FOptions;
    std::unique_ptr<TFontOperationCatalogue> FCatalogue;
    QThread* FOwnerThread = nullptr;
    bool FSynchronousRun = false;
    bool FFreeOnTerminate = false;
    mutable std::mutex FChangedFoldersLock;
    QStringList FChangedFolders;
};

} // namespace operations
