// What the main window reads from the settings at start-up and writes back when it goes:
// first-run defaults, the window and dock placement, the cached view values and the theme.

#include "app/MainFrm.h"
#include "app/WindowLayout.h"

#include "app/WindowPosition.h"
#include "settings/ApplicationRegistrySettings.h"
#include "settings/FileVersionInfo.h"
#include "support/LoggerUnit.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

namespace app {

namespace {

using settings::TFontViewerRegistrySettings;

constexpr int kSmallToolbarIcons = 16;
constexpr int kLargeToolbarIcons = 24;

QSize DesktopSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().size() : QSize(1024, 768);
}

} // namespace

void TMainFormFM::RestoreCaption()
{
    const settings::TFileVersionInfo& info = settings::FileVersionInfo();
    FCaptionText = info.ProductName + QLatin1Char(' ') + info.ProductVersion;
    TFontViewerRegistrySettings::OpenApplicationSettings();
}

bool TMainFormFM::MinimizeToTrayOnClose() const
{
    try {
        return TFontViewerRegistrySettings::Instance().GetOnCloseMinimizeToSystemTray();
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("OnCloseMinimizeToSystemTray: ") + QString::fromUtf8(error.what()));
        return false;
    }
}

void TMainFormFM::RestoreUserState()
{
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();

    if (settings.GetFirstRun()) {
        support::LogGeneral(QStringLiteral("FirstRun"));
        settings.SetFirstRun(false);
        settings.SetLastUpdateReminderDate(QDate::currentDate());
        settings.StoreFirstRunFolders();
        // A new user gets most of the screen rather than the bare default size.
        if (const QScreen* place = screen() ? screen() : QGuiApplication::primaryScreen())
            setGeometry(FirstStartWindowRect(place->availableGeometry()));
    } else {
        support::LogGeneral(QStringLiteral("Not FirstRun"));
        // The program always shows its main window at start, so visibility is not applied.
        if (const auto position = settings.GetMainWindowPosition())
            ApplyWindowPlacement(*this, *position, true, false, DesktopSize());
        QByteArray toolbars;
        if (settings.LoadToolbarsState(toolbars)) {
            if (restoreState(toolbars))
                FDefaultPanelSizesPending = false;
            else
                support::LogError(QStringLiteral("The stored toolbar and panel positions could not be applied"));
        }
    }

    const int previewSize = settings.GetFontsPreviewSizeIndex();
    if (previewSize >= 0 && previewSize < cbPreviewSize->count())
        cbPreviewSize->setCurrentIndex(previewSize);

    edBrowseFonts->setText(settings.GetSelectedPath());
    btnBrowseSubFolders->setChecked(settings.GetIncludeSubFolders());
    FFlags.BrowseScanningLive = settings.GetRestoreOnStartup();
    FFlags.BrowseTabNotYetOpened = !FFlags.BrowseScanningLive;

    const int iconSize = settings.GetToolbarsUseSmallIcons() ? kSmallToolbarIcons : kLargeToolbarIcons;
    for (QToolBar* toolbar : {tbStandard, tbFormatting})
        toolbar->setIconSize(QSize(iconSize, iconSize));
}

void TMainFormFM::SaveUserState()
{
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
    settings.SetFontsPreviewSizeIndex(cbPreviewSize->currentIndex());
    settings.SetSelectedPath(edBrowseFonts->text());
    settings.SetIncludeSubFolders(btnBrowseSubFolders->isChecked());
    settings.SaveToolbarsState(saveState());
    const TWindowPlacement placement = CurrentWindowPlacement(*this, true, isVisible() || FVisibleAtClose);
    settings.SetMainWindowPosition(FormatWindowPlacement(placement));
}

void TMainFormFM::ApplyActiveTheme()
{
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
    const int stored = settings.GetActiveTheme();
    settings.SetActiveTheme(stored);
    SelectTheme(ThemeFromIndex(stored), false);
}

void TMainFormFM::SelectTheme(TTheme theme, bool store)
{
    if (store)
        TFontViewerRegistrySettings::Instance().SetActiveTheme(static_cast<int>(theme));
    FActiveTheme = theme;
    ApplyTheme(theme);
    for (QAction* item : FThemeItems->actions())
        item->setChecked(item->data().toInt() == static_cast<int>(theme));
}

} // namespace app
