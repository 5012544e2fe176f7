// The menu bar of the main window. The commands of each menu join as their features arrive;
// here are the menus themselves, the visibility of toolbars and panels, Refresh, the themes and
// Exit.

#include "app/MainFrm.h"

#include "app/GuardedStep.h"
#include "platform/Places.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

namespace app {

namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

// A toolbar's or panel's own show/hide action, with our caption and name.
void AddVisibilityItem(QMenu* menu, QAction* toggle, const char* name, const QString& caption)
{
    toggle->setObjectName(QLatin1String(name));
    toggle->setText(caption);
    menu->addAction(toggle);
}

} // namespace

void TMainFormFM::BuildMenuBar()
{
    tbMenuBar = new QMenuBar(this);
    tbMenuBar->setObjectName(QStringLiteral("tbMenuBar"));
    setMenuBar(tbMenuBar);

    QMenu* file = AddMenu(tbMenuBar, "miFile", QStringLiteral("&File"));
    AddMenu(tbMenuBar, "miEdit", QStringLiteral("&Edit"));
    QMenu* view = AddMenu(tbMenuBar, "miView", QStringLiteral("&View"));
    AddMenu(tbMenuBar, "miTools", QStringLiteral("&Tools"));
    AddMenu(tbMenuBar, "miHelp", QStringLiteral("&Help"));

    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("TBItem10"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    miViewSortBy = view->addMenu(QStringLiteral("&Sort By"));
    miViewSortBy->setObjectName(QStringLiteral("miViewSortBy"));
    connect(miViewSortBy, &QMenu::aboutToShow, this, &TMainFormFM::FillSortByMenu);

    QMenu* browse = view->addMenu(QStringLiteral("&Browse"));
    browse->setObjectName(QStringLiteral("miViewBrowse"));
    QAction* fontsFolder = browse->addAction(QStringLiteral("&Fonts Folder"));
    fontsFolder->setObjectName(QStringLiteral("SpTBXItem24"));
    connect(fontsFolder, &QAction::triggered, this, [this] {
        tcFonts->setCurrentIndex(kBrowseTab);
        BrowseToFolder(platform::places::UserFontFolder(), true);
    });
    QAction* backupFolder = browse->addAction(QStringLiteral("&Backup Folder"));
    backupFolder->setObjectName(QStringLiteral("SpTBXItem25"));
    connect(backupFolder, &QAction::triggered, this, [this] {
        tcFonts->setCurrentIndex(kBrowseTab);
        GuardedStep("Backup folder", [this] {
            BrowseToFolder(settings::TFontViewerRegistrySettings::Instance().GetBackupFontsFolder(), true);
        });
    });

    QAction* refresh = view->addAction(QStringLiteral("&Refresh"));
    refresh->setObjectName(QStringLiteral("tbmiViewRefresh"));
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setShortcutContext(Qt::WindowShortcut);
    connect(refresh, &QAction::triggered, this, &TMainFormFM::tbmiViewRefreshClick);
    view->addSeparator();

    miViewToolbars = view->addMenu(QStringLiteral("&Toolbars"));
    miViewToolbars->setObjectName(QStringLiteral("miViewToolbars"));

    QMenu* themes = view->addMenu(QStringLiteral("T&hemes"));
    themes->setObjectName(QStringLiteral("miViewThemes"));
    FThemeItems = new QActionGroup(this);
    FThemeItems->setExclusive(true);
    const struct {
        const char* name;
        const char* caption;
        TTheme theme;
        bool visible;
    } items[] = {
        {"miViewThemeDefault", "&Default", TTheme::Default, true},
        {"miViewThemeAluminum", "&Aluminium", TTheme::Aluminum, true},
        {"miViewThemeDream", "D&ream", TTheme::Dream, false},
    };
    for (const auto& item : items) {
        QAction* action = themes->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setCheckable(true);
        action->setVisible(item.visible);
        action->setData(static_cast<int>(item.theme));
        FThemeItems->addAction(action);
        const TTheme theme = item.theme;
        connect(action, &QAction::triggered, this, [this, theme] {
            GuardedStep("Theme", [this, theme] { SelectTheme(theme, true); });
        });
    }
}

// Called once the toolbars, panels and status bar exist.
void TMainFormFM::BuildVisibilityItems()
{
    AddVisibilityItem(miViewToolbars, tbStandard->toggleViewAction(), "miViewStandard", QStringLiteral("&Standard"));
    AddVisibilityItem(miViewToolbars, tbFormatting->toggleViewAction(), "miViewFormatting", QStringLiteral("&Formatting"));
    miViewToolbars->addSeparator();
    AddVisibilityItem(miViewToolbars, dpFonts->toggleViewAction(), "miViewFonts", QStringLiteral("Fo&nts"));
    AddVisibilityItem(miViewToolbars, dpCharacters->toggleViewAction(), "miViewCharacters", QStringLiteral("&Characters"));
    AddVisibilityItem(miViewToolbars, dpInformation->toggleViewAction(), "miViewInformation", QStringLiteral("&Information"));
    AddVisibilityItem(miViewToolbars, dpSample->toggleViewAction(), "miViewSample", QStringLiteral("Sa&mple"));
    AddVisibilityItem(miViewToolbars, dpZoom->toggleViewAction(), "miViewZoom", QStringLiteral("&Zoom"));
    miViewToolbars->addSeparator();

    QAction* statusBar = miViewToolbars->addAction(QStringLiteral("Status &Bar"));
    statusBar->setObjectName(QStringLiteral("miViewStatusBar"));
    statusBar->setCheckable(true);
    statusBar->setChecked(true);
    connect(statusBar, &QAction::toggled, sb, &QWidget::setVisible);
}

} // namespace app
