// The Browse tab: the folder tree vetBrowse, the toolbar tbBrowse ("Stop", "Include Sub
// Folders", the folder edit and "Start"), fresh and incremental scans of the chosen folder
// and the handlers of the scan thread (all in the main thread, served while the worker
// waits).

#include "app/MainFrm.h"

#include "app/FontListBatches.h"
#include "app/FontListModel.h"
#include "app/FontListView.h"
#include "catalogue/BrowseFontsThreadUnit.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/GlobalFontManagerEx.h"
#include "platform/ShellNotify.h"
#include "support/LoggerUnit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kFolderTreeHeight = 160;

// The folder of a tree selection, without a trailing separator (but "/" itself).
QString CleanFolder(const QString& folder)
{
    return folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

// QFileSystemModel has no refresh of its own. It lists a folder again once the folder has
// been its root path and is no longer (the folder is then marked unread), and fetchMore reads
// an unread folder and watches it anew.
void RereadFolder(QFileSystemModel& folders, const QString& folder)
{
    const QString root = folders.rootPath();
    folders.setRootPath(folder == root ? QString() : folder);
    folders.setRootPath(root);
    folders.fetchMore(folders.index(folder));
}

// The folder itself, or the nearest folder above it that still exists.
QString ExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).path();
    return folder;
}

} // namespace

void TMainFormFM::SetBrowseThreadFactory(TBrowseThreadFactory factory)
{
    if (factory) {
        FBrowseThreadFactory = std::move(factory);
        return;
    }
    FBrowseThreadFactory = [](const QString& folder, bool includeSubFolders, bool forget) {
        auto thread = std::make_unique<catalogue::TBrowseFontsThread>(
            catalogue::TGlobalFontManagerEx::Instance().BrowseFileList(), includeSubFolders, folder);
        if (forget)
            thread->Forget();
        return std::unique_ptr<catalogue::TBaseFontsThreadEx>(std::move(thread));
    };
}

void TMainFormFM::BuildBrowsePanel(QWidget* sheet)
{
    SetBrowseThreadFactory({});
    snBrowse = std::make_unique<platform::TShellNotify>();
    snBrowse->SetNotifyEvents(platform::TNotifyEvents::FolderContents());
    snBrowse->OnNotify = [this](platform::TShellNotify&, platform::TNotifyEvent, const QString&, const QString&) {
        if (FFlags.BrowseScanningLive)
            FFlags.BrowseFolderChanged = true;
    };

    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    tbBrowse = new QToolBar(sheet);
    tbBrowse->setObjectName(QStringLiteral("tbBrowse"));
    btnBrowseFontsStop = tbBrowse->addAction(QStringLiteral("Stop"));
    btnBrowseFontsStop->setObjectName(QStringLiteral("btnBrowseFontsStop"));
    btnBrowseFontsStop->setEnabled(false);
    btnBrowseSubFolders = tbBrowse->addAction(QStringLiteral("Include Sub Folders"));
    btnBrowseSubFolders->setObjectName(QStringLiteral("btnBrowseSubFolders"));
    btnBrowseSubFolders->setCheckable(true);
    edBrowseFonts = new QLineEdit(tbBrowse);
    edBrowseFonts->setObjectName(QStringLiteral("edBrowseFonts"));
    // The edit takes the toolbar's width between "Include Sub Folders" and "Start".
    edBrowseFonts->setMinimumWidth(60);
    edBrowseFonts->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tbBrowse->addWidget(edBrowseFonts);
    btnBrowseFontsRestart = tbBrowse->addAction(QStringLiteral("Start"));
    btnBrowseFontsRestart->setObjectName(QStringLiteral("btnBrowseFontsRestart"));
    layout->addWidget(tbBrowse);

    auto* splitter = new QSplitter(Qt::Vertical, sheet);
    splitter->setObjectName(QStringLiteral("splBrowse"));
    FBrowseFolders = new QFileSystemModel(this);
    FBrowseFolders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::System);
    FBrowseFolders->setRootPath(QDir::rootPath());
    vetBrowse = new QTreeView(splitter);
    vetBrowse->setObjectName(QStringLiteral("vetBrowse"));
    vetBrowse->setModel(FBrowseFolders);
    vetBrowse->setHeaderHidden(true);
    for (int column = 1; column < FBrowseFolders->columnCount(); ++column)
        vetBrowse->hideColumn(column);
    vetBrowse->setMinimumHeight(40);
    // F5 in the tree reads it again.
    vetBrowse->installEventFilter(this);
    vstBrowseFonts = new TFontListView(QStringLiteral("vstBrowseFonts"), splitter);
    splitter->addWidget(vetBrowse);
    splitter->addWidget(vstBrowseFonts);
    splitter->setSizes({kFolderTreeHeight, 2 * kFolderTreeHeight});
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    connect(vetBrowse->selectionModel(), &QItemSelectionModel::currentChanged, this, &TMainFormFM::vetBrowseChange);
    // The tree reads folders in the background, in no fixed order, and sorts what it read a
    // moment later: rows come and move above the chosen folder, which is shown again after
    // each such change (once per pass of the event loop).
    const auto reveal = [this] {
        if (!FRevealBrowseFolder || FRevealPending)
            return;
        FRevealPending = true;
        QTimer::singleShot(0, this, [this] {
            FRevealPending = false;
            const QModelIndex current = vetBrowse->currentIndex();
            if (FRevealBrowseFolder && current.isValid())
                RevealBrowseFolder(current);
        });
    };
    connect(FBrowseFolders, &QAbstractItemModel::rowsInserted, this, reveal);
    connect(FBrowseFolders, &QAbstractItemModel::layoutChanged, this, reveal);
    // Once the user moves around in the tree, it stays where the user put it.
    const auto userMoved = [this] {
        if (!FRevealingBrowseFolder)
            FRevealBrowseFolder = false;
    };
    connect(vetBrowse, &QTreeView::expanded, this, userMoved);
    connect(vetBrowse, &QTreeView::collapsed, this, userMoved);
    connect(vetBrowse->verticalScrollBar(), &QScrollBar::actionTriggered, this, userMoved);
    connect(edBrowseFonts, &QLineEdit::returnPressed, this, [this] { BrowseToFolder(edBrowseFonts->text(), true); });
    connect(btnBrowseFontsRestart, &QAction::triggered, this, [this] { BrowseToFolder(edBrowseFonts->text(), true); });
    connect(btnBrowseFontsStop, &QAction::triggered, this, &TMainFormFM::btnBrowseFontsStopClick);
    connect(btnBrowseSubFolders, &QAction::triggered, this, &TMainFormFM::btnBrowseSubFoldersClick);
}

void TMainFormFM::BrowseToFolder(const QString& folder, bool makeLive)
{
    if (makeLive)
        FFlags.BrowseScanningLive = true;
    FLastScannedFolder.clear();
    catalogue::SetLastScannedFolder(QString());
    const QString path = CleanFolder(folder);
    const QModelIndex node = QFileInfo(path).isDir() ? FBrowseFolders->index(path) : QModelIndex();
    if (!node.isValid()) {
        // The tree keeps its selection; the edit shows what was asked for.
        edBrowseFonts->setText(folder);
        return;
    }
    if (vetBrowse->currentIndex() == node) {
        vetBrowseChange();
    } else {
        vetBrowse->setCurrentIndex(node);
        RevealBrowseFolder(node);
        FRevealBrowseFolder = true;
    }
}

void TMainFormFM::RevealBrowseFolder(const QModelIndex& node)
{
    // scrollTo expands the folder's parents: no move of the user's.
    FRevealingBrowseFolder = true;
    vetBrowse->scrollTo(node);
    FRevealingBrowseFolder = false;
}

void TMainFormFM::vetBrowseChange()
{
    const QModelIndex node = vetBrowse->currentIndex();
    if (!node.isValid())
        return;
    const QString folder = CleanFolder(FBrowseFolders->filePath(node));
    edBrowseFonts->setText(folder);
    if (folder == FLastScannedFolder)
        return;
    if (!FBrowseFontsThread)
        FFlags.BrowseScanningLive = true;
    FreshBrowseScan();
}

void TMainFormFM::FreshBrowseScan()
{
    if (!FFlags.BrowseScanningLive)
        return;
    StopBrowseFontsThread();
    FFlags.BrowseFolderChanged = false;
    EmptyTabList(kBrowseTab);
    FBrowseFamilies->Clear();
    RefreshTabCaption(kBrowseTab);
    const QString folder = CleanFolder(edBrowseFonts->text());
    WatchBrowseFolder(folder);
    StartBrowseFontsThread(folder, true);
}

void TMainFormFM::WatchBrowseFolder(const QString& folder)
{
    try {
        snBrowse->SetPath(folder);
        snBrowse->SetRecursive(btnBrowseSubFolders->isChecked());
        snBrowse->SetActive(true);
    } catch (const std::exception& error) {
        // The list then does not follow changes of the folder.
        support::LogError(QStringLiteral("Browse folder watch: ") + QString::fromUtf8(error.what()));
    }
}

void TMainFormFM::StartBrowseFontsThread(const QString& folder, bool forget)
{
    FLastScannedFolder = folder;
    if (!FBrowseThreadFactory)
        return;
    std::unique_ptr<catalogue::TBaseFontsThreadEx> thread =
        FBrowseThreadFactory(folder, btnBrowseSubFolders->isChecked(), forget);
    if (!thread)
        return;
    // The window frees its threads itself, after they have ended.
    thread->SetFreeOnTerminate(false);
    AttachBrowseHandlers(*thread);
    btnBrowseFontsStop->setEnabled(true);
    FBrowseFontsThread = thread.release();
    FBrowseFontsThread->Resume();
}

void TMainFormFM::AttachBrowseHandlers(catalogue::TBaseFontsThreadEx& thread)
{
    using catalogue::TBaseFontsThreadEx;
    using catalogue::TFontItems;
    thread.OnAdded = [this](TFontItems& items, bool&, TBaseFontsThreadEx& from) {
        if (!FromBrowseSlot(from)) {
            QApplication::beep();
            return;
        }
        BrowseFontsAdded(items);
    };
    thread.OnRemoved = [this](TFontItems& items, bool&, TBaseFontsThreadEx& from) {
        if (!FromBrowseSlot(from)) {
            QApplication::beep();
            return;
        }
        BrowseFontsRemoved(items);
    };
    thread.OnError = [](const QString&, TBaseFontsThreadEx&) {};
    thread.OnFinished = [this](TBaseFontsThreadEx& from, bool completed) {
        if (!FromBrowseSlot(from))
            return;
        // The thread is still returning from this call; it goes once it has ended.
        FRetiredBrowseThreads.emplace_back(FBrowseFontsThread);
        FBrowseFontsThread = nullptr;
        btnBrowseFontsStop->setEnabled(false);
        BrowseFontsFinished(completed);
    };
}

bool TMainFormFM::FromBrowseSlot(const catalogue::TBaseFontsThreadEx& thread) const
{
    return FBrowseFontsThread != nullptr && &thread == FBrowseFontsThread;
}

void TMainFormFM::StopBrowseFontsThread()
{
    if (!FBrowseFontsThread)
        return;
    std::unique_ptr<catalogue::TBaseFontsThreadEx> thread(FBrowseFontsThread);
    FBrowseFontsThread = nullptr;
    thread->Stop();
}

void TMainFormFM::BrowseFontsAdded(catalogue::TFontItems& items)
{
    AfterBatch(kBrowseTab, FBrowseListBatches->ApplyAdded(items));
}

void TMainFormFM::BrowseFontsRemoved(catalogue::TFontItems& items)
{
    AfterBatch(kBrowseTab, FBrowseListBatches->ApplyRemoved(items));
}

void TMainFormFM::BrowseFontsFinished(bool completed)
{
    if (completed) {
        FBrowseFamilies->Sort();
        if (tcFonts->currentIndex() == kBrowseTab)
            RefillFamilyBox();
    }
    RefreshTabCaption(kBrowseTab);
}

void TMainFormFM::btnBrowseFontsStopClick()
{
    btnBrowseFontsStop->setEnabled(false);
    FFlags.BrowseScanningLive = false;
    FFlags.BrowseFolderChanged = false;
    StopBrowseFontsThread();
}

void TMainFormFM::btnBrowseSubFoldersClick()
{
    if (!FBrowseFontsThread)
        FFlags.BrowseScanningLive = true;
    FreshBrowseScan();
}

bool TMainFormFM::FolderTreeHasFocus() const
{
    // While no window of the program is active the tree's window still knows its focus.
    const QWidget* focused = QApplication::focusWidget();
    if (!focused)
        focused = vetBrowse->window()->focusWidget();
    return focused == vetBrowse && vetBrowse->isVisibleTo(vetBrowse->window());
}

void TMainFormFM::RefreshFolderTree()
{
    const QModelIndex current = vetBrowse->currentIndex();
    const QString selected = current.isValid() ? CleanFolder(FBrowseFolders->filePath(current)) : QString();
    // A vanished folder leaves the tree when its parent is read again.
    RereadFolder(*FBrowseFolders, selected.isEmpty() ? QDir::rootPath() : ExistingFolder(selected));
    if (!selected.isEmpty() && selected != FLastScannedFolder)
        BrowseToFolder(selected, false);
}

// The first visit of the Browse tab while scanning is not live starts it.
void TMainFormFM::FirstBrowseTabOpen()
{
    if (FFlags.BrowseScanningLive || !FFlags.BrowseTabNotYetOpened)
        return;
    FFlags.BrowseTabNotYetOpened = false;
    FFlags.BrowseScanningLive = true;
    BrowseToFolder(edBrowseFonts->text(), true);
}

} // namespace app
