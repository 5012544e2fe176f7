#pragma once

// The main window: menus, toolbars, the five dock panels, the status bar, the tray icon, the
// timers that turn flags into work, and the order of start-up and shutdown.

#include "app/MainFrmFlags.h"
#include "app/SortedStringList.h"
#include "app/Themes.h"
#include "app/WindowLayout.h"
#include "catalogue/BaseFontsThreadExUnit.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace catalogue {
class TActiveFontsThreadEx;
class TFontFamilyItem;
class TFontFamilyList;
class TFontItem;
} // namespace catalogue
namespace platform {
class TFontChangeWatcher;
class TShellNotify;
} // namespace platform

class QAction;
class QActionGroup;
class QComboBox;
class QDockWidget;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QTreeView;
class QMenu;
class QMenuBar;
class QStatusBar;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QModelIndex;

namespace app {

class TFontCommands;
class TFontListBatches;
struct TFontListBatchOutcome;
class TFontListPreviewTexts;
class TFontListView;

// Tabs of tcFonts.
inline constexpr int kActiveTab = 0;
inline constexpr int kBrowseTab = 1;
inline constexpr int kGroupsTab = 2;

// What made the selected font change.
enum class TSelectionSource : int { None = 0, List = 1, FamilyBox = 2, StyleBox = 3, Rebuild = 4 };

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

    // --- The Fonts panel's lists
    // The face the other panes show; none while nothing is selected.
    catalogue::TFontItem* SelectedFont() const { return FSelectedFont; }
    // Makes face (or none) the selected font; a nested call does nothing.
    void SelectFont(catalogue::TFontItem* face, TSelectionSource source);
    // What choosing a family in cbFonts does: its first shown face becomes the selected
    // font, none when all its faces are hidden.
    void ChooseFamily(const QString& familyName);
    const catalogue::TFontFamilyList& BrowseFamilies() const { return *FBrowseFamilies; }
    const catalogue::TFontFamilyList& GroupFamilies() const { return *FGroupFamilies; }
    // The list of the current tab.
    TFontListView* CurrentList() const;
    // After the filter changed: every list rebuilt from its catalogue (rows for the faces the
    // filter shows, sorted, the first row selected), the captions and cbFonts refreshed, and
    // the selected font chosen again when it is still shown.
    void RebuildAllLists();
    // F5 in a list: the Active tab reloads the active fonts, the Browse tab scans its folder
    // again from scratch (and makes scanning live).
    void RefreshCurrentList();

    // The Active tab's batches as the active-fonts thread hands them over (its handlers call
    // these after checking the thread is the one in the slot).
    void ActiveFontsAdded(catalogue::TFontItems& items);
    void ActiveFontsRemoved(catalogue::TFontItems& items);
    void ActiveFontsChanged(catalogue::TFontItems& items);

    // The Browse tab's batches as the folder scan hands them over (the scan thread's handlers
    // call these after checking the thread is the one in the slot).
    void BrowseFontsAdded(catalogue::TFontItems& items);
    void BrowseFontsRemoved(catalogue::TFontItems& items);
    void BrowseFontsFinished(bool completed);

    // Makes the thread that scans a folder for the Browse tab: created suspended on the
    // browse file list, for the folder, with or without its sub-folders, forgetting the
    // list first for a fresh scan. The window attaches its handlers and resumes it. The
    // program's own is TBrowseFontsThread; an empty factory restores it.
    using TBrowseThreadFactory = std::function<std::unique_ptr<catalogue::TBaseFontsThreadEx>(
        const QString& folder, bool includeSubFolders, bool forget)>;
    void SetBrowseThreadFactory(TBrowseThreadFactory factory);
    bool BrowseFontsThreadRunning() const { return FBrowseFontsThread != nullptr; }
    // Browses to a folder by path (typed, "Start", the menu items): selects it in vetBrowse,
    // which starts a fresh scan; makeLive also turns browse scanning on.
    void BrowseToFolder(const QString& folder, bool makeLive);
    const QString& LastScannedFolder() const { return FLastScannedFolder; }

signals:
    // The window really closed (not to the tray): the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void showEvent(QShowEvent* event) override;   // FormShow
    // The Fonts panel's resizes and F5 in the folder tree.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void GoToOnIdle();

    // Building the frame (one file each).
    void BuildMenuBar();
    void BuildToolbars();
    void BuildDocks();
    void BuildFontsTabButtons();
    void ApplyDefaultPanelSizes();
    // cbPreviewTexts takes the width that the panel's width leaves it.
    void FitPreviewTextsBox();
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

    // The Fonts panel's lists (MainFrmFontLists.cpp).
    void BuildFontLists();
    void CreateFontCatalogues();
    void FreeFontCatalogues();
    TFontListView* ListOfTab(int tab) const;
    catalogue::TFontFamilyList* CatalogueOfTab(int tab) const;
    TFontListBatches* BatchesOfTab(int tab) const;
    std::unique_ptr<TFontListBatches> MakeListBatches(int tab);
    int TabOfFace(const catalogue::TFontItem& face) const;
    void EmptyTabList(int tab);
    void AfterBatch(int tab, const TFontListBatchOutcome& outcome);
    void RefreshTabCaption(int tab);
    void RefreshSelectionCount();
    void ListSelectionChanged(TFontListView* list);
    void RefillFamilyBox();
    void AddFamilyToBox(int tab, const catalogue::TFontFamilyItem& family);
    void RemoveFamilyFromBox(int tab, const QString& familyName);
    void RefillStyleBox(catalogue::TFontItem* keep);
    catalogue::TFontItem* FaceShowingFamily(const QString& familyName) const;
    void cbFontsItemClick(int index);
    void cbFontStyleItemClick(int index);
    void cbPreviewTextsChange(int index);
    void cbPreviewSizeChange(int index);
    void tcFontsActiveTabChange(int index);
    void tiFontsTabLeftClick();
    void tiFontsTabRightClick();
    void UpdateFontsTabButtons();
    void FillSortByMenu();
    // View › Refresh: the folder tree when it has the focus, else the current list.
    void tbmiViewRefreshClick();

    // The font operation and layout commands (MainFrmFontCommands.cpp).
    void BuildFontCommands();
    void BuildLayoutCommands();
    void UpdateFontCommands();

    // The Browse tab (MainFrmBrowse.cpp).
    void BuildBrowsePanel(QWidget* sheet);
    void vetBrowseChange();
    void FreshBrowseScan();
    void StartBrowseFontsThread(const QString& folder, bool forget);
    void WatchBrowseFolder(const QString& folder);
    void AttachBrowseHandlers(catalogue::TBaseFontsThreadEx& thread);
    bool FromBrowseSlot(const catalogue::TBaseFontsThreadEx& thread) const;
    void StopBrowseFontsThread();
    void btnBrowseFontsStopClick();
    void btnBrowseSubFoldersClick();
    void FirstBrowseTabOpen();
    bool FolderTreeHasFocus() const;
    // Scrolls vetBrowse to node, expanding its parents.
    void RevealBrowseFolder(const QModelIndex& node);
    // Reads the selected folder of vetBrowse again and browses it when it is not the folder
    // scanned last.
    void RefreshFolderTree();

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
    std::unique_ptr<catalogue::TFontFamilyList> FBrowseFamilies;
    std::unique_ptr<catalogue::TFontFamilyList> FGroupFamilies;
    std::unique_ptr<TFontListBatches> FActiveListBatches;
    std::unique_ptr<TFontListBatches> FBrowseListBatches;
    std::unique_ptr<TFontListBatches> FGroupListBatches;
    std::unique_ptr<TFontListPreviewTexts> FPreviewTexts;
    catalogue::TFontItem* FSelectedFont = nullptr;
    TFontCommands* FFontCommands = nullptr;
    QMenu* pmFonts = nullptr;
    TSplitterPanels FSplitterPanels;
    // A task window is open: the active fonts are not re-enumerated under it.
    bool FTaskWindowOpen = false;
    TSelectionSource FSelectionSource = TSelectionSource::None;
    bool FSelectingFont = false;
    // The Browse slot, like the active one; retired threads wait for their end.
    catalogue::TBaseFontsThreadEx* FBrowseFontsThread = nullptr;
    std::vector<std::unique_ptr<catalogue::TBaseFontsThreadEx>> FRetiredBrowseThreads;
    TBrowseThreadFactory FBrowseThreadFactory;
    QString FLastScannedFolder;
    // Watches the scanned folder while browse scanning is live.
    std::unique_ptr<platform::TShellNotify> snBrowse;
    // The folder chosen by path is scrolled into view once the tree has read its parents.
    bool FRevealBrowseFolder = false;     // the chosen folder is shown again as the tree is read
    bool FRevealingBrowseFolder = false;  // the program, not the user, moves the tree
    bool FRevealPending = false;
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
    QToolButton* tiFontsTabLeft = nullptr;
    QToolButton* tiFontsTabRight = nullptr;
    QWidget* tsFontsActive = nullptr;
    QWidget* tsFontsBrowse = nullptr;
    QWidget* tsFontsGroups = nullptr;
    TFontListView* vstActiveFonts = nullptr;
    TFontListView* vstBrowseFonts = nullptr;
    TFontListView* vstGroupFonts = nullptr;
    QToolBar* tbBrowse = nullptr;
    QAction* btnBrowseFontsStop = nullptr;
    QAction* btnBrowseSubFolders = nullptr;
    QAction* btnBrowseFontsRestart = nullptr;
    QLineEdit* edBrowseFonts = nullptr;
    QTreeView* vetBrowse = nullptr;
    QFileSystemModel* FBrowseFolders = nullptr;
    QMenu* miViewSortBy = nullptr;
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
