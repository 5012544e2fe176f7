#pragma once

// The main window: menus, toolbars, the five dock panels, the status bar, the tray icon, the
// timers that turn flags into work, and the order of start-up and shutdown.

#include "app/MainFrmFlags.h"
#include "app/SortedStringList.h"
#include "app/Themes.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <vector>

namespace catalogue {
class TActiveCatalogueBatches;
class TActiveFontsThreadEx;
class TBaseFontsThreadEx;
class TFontFamilyList;
} // namespace catalogue
namespace platform {
class TFontChangeWatcher;
} // namespace platform

class QAction;
class QActionGroup;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;

namespace app {

class TMainFormFM : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainFormFM(QWidget* parent = nullptr);
    ~TMainFormFM() override;
    TMainFormFM(const TMainFormFM&) = delete;
    TMainFormFM& operator=(const TMainFormFM&) = delete;

    // Ends the program the way the tray menu's Exit does (the close is never to the tray).
    void RequestExit();

    // A hand-over from a later start: 1 when accepted, 0 when left unanswered.
    qint32 CopyDataReceived(quint32 tag, const QByteArray& data);

    const TMainFormFlags& Flags() const { return FFlags; }
    // The command-line arguments of this and of later starts; nullptr once freed.
    const TSortedStringList* PendingArguments() const { return FPendingArguments.get(); }
    // Product name and version, the start of the window caption.
    const QString& CaptionText() const { return FCaptionText; }
    TTheme ActiveTheme() const { return FActiveTheme; }
    // The catalogue of the Active tab.
    const catalogue::TFontFamilyList& ActiveFamilies() const { return *FActiveFamilies; }
    // Whether an active-fonts enumeration runs.
    bool ActiveFontsThreadRunning() const { return FActiveFontsThread != nullptr; }

    // Stops the running enumeration, forgets the active fonts and enumerates them afresh.
    void FullReloadOfActiveFonts();

signals:
    // The window really closed (not to the tray): the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void showEvent(QShowEvent* event) override;   // FormShow

private:
    void FormCreate();
    void FormDestroy();
    void GoToOnIdle();

    // Building the frame (one file each).
    void BuildMenuBar();
    void BuildToolbars();
    void BuildDocks();
    void ApplyDefaultPanelSizes();
    QDockWidget* CreateDockPanel(const QString& name, const QString& caption, int minimumWidth);
    void BuildStatusBar();
    void BuildTray();
    void BuildTimers();
    void BuildVisibilityItems();

    // The user's state and the theme (through the settings).
    void RestoreCaption();
    bool MinimizeToTrayOnClose() const;
    void RestoreUserState();
    void SaveUserState();
    void ApplyActiveTheme();
    void SelectTheme(TTheme theme, bool store);

    // Hook on the application: activation counts as a possible font change.
    void ApplicationStateChanged(Qt::ApplicationState state);

    void BringToFront();
    void CoolTrayIcon1DblClick();
    void pmTrayOpenClick();
    void pmTrayCloseClick();

    // The active-fonts enumeration (one file).
    void IncrementalReEnumerationOfActiveFonts();
    void StartActiveFontsThread(bool forgetPrevious);
    void AttachActiveFontsHandlers(catalogue::TActiveFontsThreadEx& thread);
    void StopActiveFontsThread();
    void ReapFinishedThreads();
    bool FromActiveSlot(const catalogue::TBaseFontsThreadEx& thread) const;
    void ActiveFontsFinished(catalogue::TBaseFontsThreadEx& thread, bool completed);
    void ActiveFontsError(const QString& text);
    void RefreshActiveCaption();
    void SystemFontsMayHaveChanged();

    void tmrThreadStatusTimer();
    void tmrUpdateSystemFontsTimer();
    void tmrUpdateFontItemTimer();
    void tmrUpdateSelectionRelatedGUIElementsTimer();

    TMainFormFlags FFlags;
    QString FCaptionText;
    TTheme FActiveTheme = TTheme::Default;
    bool FDestroyed = false;
    bool FVisibleAtClose = false;
    bool FDefaultPanelSizesPending = false;

    std::unique_ptr<TSortedStringList> FPendingArguments;
    std::unique_ptr<TSortedStringList> FDroppedFiles;

    std::unique_ptr<catalogue::TFontFamilyList> FActiveFamilies;
    std::unique_ptr<catalogue::TActiveCatalogueBatches> FActiveBatches;
    // The active-fonts slot: the running thread or none. A thread that finished waits in the
    // retired list until it has ended, then goes.
    catalogue::TActiveFontsThreadEx* FActiveFontsThread = nullptr;
    std::vector<std::unique_ptr<catalogue::TActiveFontsThreadEx>> FRetiredThreads;
    platform::TFontChangeWatcher* FFontChangeWatcher = nullptr;

    // Controls (owned by their Qt parents).
    QMenuBar* tbMenuBar = nullptr;
    QMenu* miViewToolbars = nullptr;
    QActionGroup* FThemeItems = nullptr;
    QToolBar* tbStandard = nullptr;
    QToolBar* tbFormatting = nullptr;
    QComboBox* cbFonts = nullptr;
    QComboBox* cbFontStyle = nullptr;
    QDockWidget* dpFonts = nullptr;
    QDockWidget* dpCharacters = nullptr;
    QDockWidget* dpInformation = nullptr;
    QDockWidget* dpSample = nullptr;
    QDockWidget* dpZoom = nullptr;
    QTabWidget* tcFonts = nullptr;
    QComboBox* cbPreviewTexts = nullptr;
    QComboBox* cbPreviewSize = nullptr;
    QStatusBar* sb = nullptr;
    QLabel* sbpActiveFonts = nullptr;
    QLabel* sbpFont = nullptr;
    QLabel* sbpHex = nullptr;
    QLabel* sbpDec = nullptr;
    QLabel* sbpCharacter = nullptr;
    QSystemTrayIcon* CoolTrayIcon1 = nullptr;
    QMenu* pmTray = nullptr;
    QTimer* tmrThreadStatus = nullptr;
    QTimer* tmrUpdateSystemFonts = nullptr;
    QTimer* tmrUpdateFontItem = nullptr;
    QTimer* tmrUpdateSelectionRelatedGUIElements = nullptr;
};

} // namespace app
