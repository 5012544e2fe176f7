#include "app/MainFrm.h"

#include "app/AppIdentity.h"
#include "app/FontListBatches.h"
#include "app/FontListPreviewTexts.h"
#include "app/GuardedStep.h"
#include "catalogue/ActiveFontsThreadExUnit.h"
#include "catalogue/FontFamilyList.h"
#include "platform/FontChangeWatcher.h"
#include "platform/ShellNotify.h"
#include "platform/SingleInstance.h"
#include "settings/BaseRegistrySettings.h"
#include "support/LoggerUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace app {

namespace {

constexpr int kDefaultWidth = 863;
constexpr int kDefaultHeight = 655;
constexpr int kMinimumWidth = 280;
constexpr int kMinimumHeight = 240;

} // namespace

TMainFormFM::TMainFormFM(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainFormFM"));
    resize(kDefaultWidth, kDefaultHeight);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setWindowIcon(QIcon(QStringLiteral(":/quillmark/quillmark.png")));

    BuildMenuBar();
    BuildToolbars();
    BuildDocks();
    BuildStatusBar();
    BuildTray();
    BuildTimers();
    BuildVisibilityItems();
    BuildFontCommands();
    BuildLayoutCommands();

    FormCreate();
}

TMainFormFM::~TMainFormFM()
{
    FormDestroy();
}

void TMainFormFM::FormCreate()
{
    FFlags.ExitRequested = false;
    FFlags.PrintingOrExporting = false;

    // Opens the settings and forms the caption text from the version information.
    GuardedStep("Settings", [this] { RestoreCaption(); });
    setWindowTitle(FCaptionText);

    FPendingArguments = std::make_unique<TSortedStringList>();
    FDroppedFiles = std::make_unique<TSortedStringList>();
    FFlags.FirstIdlePending = true;

    CreateFontCatalogues();

    FFlags.ActiveFontsKnown = false;
    FFlags.SystemFontsChanged = false;
    FFlags.EnumerationPassRunning = false;
    FFlags.BrowseFolderChanged = false;
    FFlags.GroupFolderChanged = false;
    FFlags.GroupRootChanged = false;
    FFlags.FileRenameRunning = false;
    FFlags.DirectInsertRunning = false;

    for (QComboBox* box : {cbFonts, cbFontStyle}) {
        box->clear();
        box->setEnabled(false);
    }

    tcFonts->setCurrentIndex(0);

    GuardedStep("Restore user state", [this] { RestoreUserState(); });

    connect(qApp, &QGuiApplication::applicationStateChanged, this, &TMainFormFM::ApplicationStateChanged);
    // Fonts placed in or taken from a font folder, and fontconfig's configuration changing.
    GuardedStep("Font change watch", [this] {
        FFontChangeWatcher = new platform::TFontChangeWatcher([this] { SystemFontsMayHaveChanged(); }, this);
    });

    GuardedStep("Theme", [this] { ApplyActiveTheme(); });

    // The first moment the event loop is idle (after the window is shown).
    QTimer::singleShot(0, this, &TMainFormFM::GoToOnIdle);
}

void TMainFormFM::GoToOnIdle()
{
    if (!FFlags.FirstIdlePending || FDestroyed)
        return;
    FFlags.FirstIdlePending = false;

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString& argument : arguments)
        FPendingArguments->Add(argument);

    FullReloadOfActiveFonts();
    if (FFlags.BrowseScanningLive)
        BrowseToFolder(edBrowseFonts->text(), false);
}

void TMainFormFM::FormDestroy()
{
    if (FDestroyed)
        return;
    FDestroyed = true;

    GuardedStep("Save user state", [this] { SaveUserState(); });

    disconnect(qApp, &QGuiApplication::applicationStateChanged, this, &TMainFormFM::ApplicationStateChanged);
    tmrUpdateSystemFonts->stop();
    delete FFontChangeWatcher;
    FFontChangeWatcher = nullptr;

    StopActiveFontsThread();
    FRetiredThreads.clear();  // each waits for its thread's last steps
    snBrowse.reset();
    StopBrowseFontsThread();
    FRetiredBrowseThreads.clear();

    FreeFontCatalogues();
    FDroppedFiles.reset();
    FPendingArguments.reset();
    settings::TBaseRegistrySettings::FreeInstance();
}

void TMainFormFM::closeEvent(QCloseEvent* event)
{
    if (MinimizeToTrayOnClose() && !FFlags.ExitRequested && isVisible()) {
        CoolTrayIcon1->show();
        event->ignore();
        hide();
        return;
    }
    FVisibleAtClose = isVisible();
    event->accept();
    emit Closed();
}

void TMainFormFM::showEvent(QShowEvent* event)
{
    CoolTrayIcon1->hide();
    QMainWindow::showEvent(event);
    if (FDefaultPanelSizesPending)
        ApplyDefaultPanelSizes();
}

bool TMainFormFM::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && dpFonts && watched == dpFonts->widget()) {
        FitPreviewTextsBox();
    } else if (event->type() == QEvent::KeyPress && vetBrowse && watched == vetBrowse) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F5 && key->modifiers() == Qt::NoModifier) {
            RefreshFolderTree();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

qint32 TMainFormFM::CopyDataReceived(quint32 tag, const QByteArray& data)
{
    if (!FPendingArguments || tag != kCopyDataArguments)
        return 0;
    const QStringList arguments = platform::DecodeArgumentBlock(data);
    for (const QString& argument : arguments)
        FPendingArguments->Add(argument);
    support::LogGeneral(QStringLiteral("Arguments received: ") + arguments.join(QLatin1Char(' ')));
    BringToFront();
    return 1;
}

void TMainFormFM::BringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TMainFormFM::ApplicationStateChanged(Qt::ApplicationState state)
{
    // Fonts installed by another program while we were in the background show up when the
    // user comes back.
    if (state == Qt::ApplicationActive && !FFlags.DirectInsertRunning)
        FFlags.SystemFontsChanged = true;
}

} // namespace app
