// The main window on the offscreen platform: its frame, start-up and shutdown through the
// settings, the close-to-tray rule and the hand-over handler.

#include "app/MainFrm.h"
#include "app/WindowLayout.h"

#include "IsolatedEnvironment.h"
#include "platform/SingleInstance.h"
#include "settings/ApplicationRegistrySettings.h"
#include "support/LoggerUnit.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <memory>

namespace {

using app::TMainFormFM;
using settings::TFontViewerRegistrySettings;

QString Scratch(const QString& name)
{
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QLatin1Char('/') + name;
}

// Every test starts on a clean profile with the logs switched on in a folder of its own.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings::TBaseRegistrySettings::FreeInstance();
        QDir(QString::fromStdString(qmtest::IsolatedEnvironment::Global().ConfigHome())).removeRecursively();
        FLogFolder = Scratch(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        QDir(FLogFolder).removeRecursively();
        QDir().mkpath(FLogFolder);
        support::StartLogging(FLogFolder, QStringLiteral("Brindlecote Quillmark"));
    }
    void TearDown() override
    {
        support::StopLogging();
        settings::TBaseRegistrySettings::FreeInstance();
    }

    QString GeneralLog() const
    {
        QFile file(FLogFolder + QStringLiteral("/general.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

    static TFontViewerRegistrySettings& Settings() { return TFontViewerRegistrySettings::OpenApplicationSettings(); }

    QString FLogFolder;
};

// Counts the Closed signals of a window.
class TClosedCounter {
public:
    explicit TClosedCounter(TMainFormFM& form)
    {
        QObject::connect(&form, &TMainFormFM::Closed, &form, [this] { ++FCount; });
    }
    int count() const { return FCount; }

private:
    int FCount = 0;
};

template <typename T>
T* Find(const QObject& window, const char* name)
{
    return window.findChild<T*>(QLatin1String(name));
}

TEST_F(MainFormTest, FrameHasItsMenusToolbarsPanelsStatusBarAndTimers)
{
    TMainFormFM form;
    form.show();
    QCoreApplication::processEvents();

    // A first start places the window on most of its screen instead of the design size.
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(form.geometry(), app::FirstStartWindowRect(screen->availableGeometry()));
    EXPECT_EQ(form.minimumSize(), QSize(280, 240));
    EXPECT_EQ(form.windowTitle(), form.CaptionText());
    EXPECT_TRUE(form.CaptionText().startsWith(QStringLiteral("Quillmark ")));

    auto* menuBar = Find<QMenuBar>(form, "tbMenuBar");
    ASSERT_NE(menuBar, nullptr);
    QStringList captions;
    for (QAction* action : menuBar->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{"&File", "&Edit", "&View", "&Tools", "&Help"}));

    auto* tbStandard = Find<QToolBar>(form, "tbStandard");
    auto* tbFormatting = Find<QToolBar>(form, "tbFormatting");
    ASSERT_TRUE(tbStandard && tbFormatting);
    EXPECT_EQ(tbStandard->windowTitle(), QStringLiteral("Standard"));
    EXPECT_EQ(tbFormatting->windowTitle(), QStringLiteral("Formatting"));
    EXPECT_EQ(form.toolBarArea(tbStandard), Qt::TopToolBarArea);
    EXPECT_EQ(form.toolBarArea(tbFormatting), Qt::TopToolBarArea);
    EXPECT_FALSE(form.toolBarBreak(tbFormatting)) << "both toolbars share one row";

    auto* cbFonts = Find<QComboBox>(form, "cbFonts");
    auto* cbFontStyle = Find<QComboBox>(form, "cbFontStyle");
    ASSERT_TRUE(cbFonts && cbFontStyle);
    EXPECT_EQ(cbFonts->width(), 200);
    EXPECT_GE(cbFonts->view()->minimumWidth(), 340);
    EXPECT_EQ(cbFonts->maxVisibleItems(), 14);
    EXPECT_EQ(cbFontStyle->width(), 100);
    for (QComboBox* box : {cbFonts, cbFontStyle}) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->count(), 0);
    }

    const struct {
        const char* name;
        const char* caption;
        Qt::DockWidgetArea area;
        int minimumWidth;
    } panels[] = {
        {"dpFonts", "Fonts", Qt::LeftDockWidgetArea, 160},
        {"dpCharacters", "Characters", Qt::RightDockWidgetArea, 80},
        {"dpInformation", "Information", Qt::BottomDockWidgetArea, 80},
        {"dpSample", "Sample", Qt::BottomDockWidgetArea, 80},
        {"dpZoom", "Zoom", Qt::BottomDockWidgetArea, 80},
    };
    for (const auto& panel : panels) {
        SCOPED_TRACE(panel.name);
        auto* dock = Find<QDockWidget>(form, panel.name);
        ASSERT_NE(dock, nullptr);
        EXPECT_EQ(dock->windowTitle(), QLatin1String(panel.caption));
        EXPECT_EQ(form.dockWidgetArea(dock), panel.area);
        EXPECT_EQ(dock->widget()->minimumWidth(), panel.minimumWidth);
        EXPECT_TRUE(dock->isVisible());
        EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetFloatable);
    }
    auto* dpInformation = Find<QDockWidget>(form, "dpInformation");
    auto* dpSample = Find<QDockWidget>(form, "dpSample");
    auto* dpZoom = Find<QDockWidget>(form, "dpZoom");
    EXPECT_LT(dpInformation->x(), dpSample->x()) << "the bottom panels stand side by side";
    EXPECT_LT(dpSample->x(), dpZoom->x());
    EXPECT_EQ(dpInformation->y(), dpZoom->y());
    EXPECT_EQ(Find<QDockWidget>(form, "dpFonts")->width(), 309);
    EXPECT_EQ(dpInformation->height(), 150);
    EXPECT_GT(Find<QDockWidget>(form, "dpCharacters")->width(), 309) << "Characters fills the client area";

    auto* tcFonts = Find<QTabWidget>(form, "tcFonts");
    ASSERT_NE(tcFonts, nullptr);
    ASSERT_EQ(tcFonts->count(), 3);
    EXPECT_EQ(tcFonts->tabText(0), QStringLiteral("Active"));
    EXPECT_EQ(tcFonts->tabText(1), QStringLiteral("Browse"));
    EXPECT_EQ(tcFonts->tabText(2), QStringLiteral("Groups"));
    EXPECT_EQ(tcFonts->currentIndex(), 0);
    EXPECT_NE(Find<QComboBox>(form, "cbPreviewTexts"), nullptr);
    auto* cbPreviewSize = Find<QComboBox>(form, "cbPreviewSize");
    ASSERT_NE(cbPreviewSize, nullptr);
    EXPECT_EQ(cbPreviewSize->currentText(), QStringLiteral("Medium"));

    auto* sb = Find<QStatusBar>(form, "sb");
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(form.statusBar(), sb);
    const struct {
        const char* name;
        int width;
    } fields[] = {{"sbpActiveFonts", 130}, {"sbpFont", 140}, {"sbpHex", 70}, {"sbpDec", 70}, {"sbpCharacter", -1}};
    for (const auto& field : fields) {
        SCOPED_TRACE(field.name);
        auto* label = Find<QLabel>(*sb, field.name);
        ASSERT_NE(label, nullptr);
        if (field.width > 0)
            EXPECT_EQ(label->width(), field.width);
    }
    EXPECT_EQ(Find<QLabel>(*sb, "sbpActiveFonts")->text(), QStringLiteral("No font selected."));

    const struct {
        const char* name;
        int interval;
        bool active;
    } timers[] = {
        {"tmrThreadStatus", 80, true},
        {"tmrUpdateSystemFonts", 40, true},
        {"tmrUpdateFontItem", 50, false},
        {"tmrUpdateSelectionRelatedGUIElements", 50, true},
    };
    for (const auto& timer : timers) {
        SCOPED_TRACE(timer.name);
        auto* t = Find<QTimer>(form, timer.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->interval(), timer.interval);
        EXPECT_EQ(t->isActive(), timer.active);
    }

    auto* tray = Find<QSystemTrayIcon>(form, "CoolTrayIcon1");
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->toolTip(), QStringLiteral("Brindlecote Quillmark"));
    EXPECT_FALSE(tray->isVisible()) << "the tray icon shows only while the window is in the tray";
    EXPECT_FALSE(tray->icon().isNull());
    auto* pmTray = Find<QMenu>(form, "pmTray");
    ASSERT_NE(pmTray, nullptr);
    ASSERT_EQ(pmTray->actions().size(), 3);
    EXPECT_EQ(pmTray->actions()[0]->text(), QStringLiteral("Open"));
    EXPECT_TRUE(pmTray->actions()[1]->isSeparator());
    EXPECT_EQ(pmTray->actions()[2]->text(), QStringLiteral("Exit"));
    EXPECT_EQ(pmTray->defaultAction(), pmTray->actions()[0]);
}

TEST_F(MainFormTest, ViewToolbarsShowsAndHidesEveryToolbarAndPanel)
{
    TMainFormFM form;
    form.show();
    QCoreApplication::processEvents();

    const struct {
        const char* item;
        const char* caption;
        const char* widget;
    } items[] = {
        {"miViewStandard", "&Standard", "tbStandard"},
        {"miViewFormatting", "&Formatting", "tbFormatting"},
        {"miViewFonts", "Fo&nts", "dpFonts"},
        {"miViewCharacters", "&Characters", "dpCharacters"},
        {"miViewInformation", "&Information", "dpInformation"},
        {"miViewSample", "Sa&mple", "dpSample"},
        {"miViewZoom", "&Zoom", "dpZoom"},
        {"miViewStatusBar", "Status &Bar", "sb"},
    };
    auto* menu = Find<QMenu>(form, "miViewToolbars");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("&Toolbars"));
    for (const auto& item : items) {
        SCOPED_TRACE(item.item);
        auto* action = Find<QAction>(form, item.item);
        auto* widget = Find<QWidget>(form, item.widget);
        ASSERT_TRUE(action && widget);
        EXPECT_EQ(action->text(), QLatin1String(item.caption));
        EXPECT_TRUE(menu->actions().contains(action));
        EXPECT_TRUE(widget->isVisible());
        action->trigger();
        QCoreApplication::processEvents();
        EXPECT_FALSE(widget->isVisible());
        action->trigger();
        QCoreApplication::processEvents();
        EXPECT_TRUE(widget->isVisible());
    }
}

TEST_F(MainFormTest, FirstRunStoresDefaultsAndTheNextStartRestoresThePlacement)
{
    {
        TMainFormFM form;
        EXPECT_TRUE(GeneralLog().contains(QStringLiteral(" FirstRun\r\n")));
        EXPECT_FALSE(Settings().GetFirstRun());
        EXPECT_EQ(Settings().GetLastUpdateReminderDate(), QDate::currentDate());
        EXPECT_TRUE(Settings().GetGroupsFolder().endsWith(QStringLiteral("My Font Groups/")));
        EXPECT_TRUE(Settings().GetBackupFontsFolder().endsWith(QStringLiteral("Uninstalled Fonts/")));
        form.show();
        form.resize(700, 500);
        form.findChild<QDockWidget*>(QStringLiteral("dpZoom"))->hide();
        QCoreApplication::processEvents();
    }
    const auto stored = Settings().GetMainWindowPosition();
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(stored->endsWith(QStringLiteral(",700,500"))) << stored->toStdString();
    QByteArray toolbars;
    EXPECT_TRUE(Settings().LoadToolbarsState(toolbars));

    TMainFormFM again;
    EXPECT_TRUE(GeneralLog().contains(QStringLiteral(" Not FirstRun\r\n")));
    EXPECT_EQ(again.size(), QSize(700, 500));
    again.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(again.findChild<QDockWidget*>(QStringLiteral("dpZoom"))->isVisible());
    EXPECT_TRUE(again.findChild<QDockWidget*>(QStringLiteral("dpSample"))->isVisible());
}

TEST_F(MainFormTest, DamagedPlacementValuesDoNotStopTheStart)
{
    { TMainFormFM first; }
    Settings().SetMainWindowPosition(QStringLiteral("garbage"));
    Settings().SaveToolbarsState(QByteArray("not a state"));
    TMainFormFM form;
    EXPECT_EQ(form.size(), QSize(863, 655));
    form.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.findChild<QDockWidget*>(QStringLiteral("dpFonts"))->isVisible());
}

TEST_F(MainFormTest, ThemeComesFromTheSettingsAndTheMenuStoresIt)
{
    Settings().SetActiveTheme(1);
    {
        TMainFormFM form;
        EXPECT_EQ(form.ActiveTheme(), app::TTheme::Aluminum);
        EXPECT_TRUE(form.findChild<QAction*>(QStringLiteral("miViewThemeAluminum"))->isChecked());
        EXPECT_FALSE(form.findChild<QAction*>(QStringLiteral("miViewThemeDefault"))->isChecked());
        EXPECT_EQ(QApplication::palette().color(QPalette::Base), app::ThemeViewColor(app::TTheme::Aluminum));

        form.findChild<QAction*>(QStringLiteral("miViewThemeDream"))->trigger();
        EXPECT_EQ(Settings().GetActiveTheme(), 2);
        EXPECT_EQ(form.ActiveTheme(), app::TTheme::Dream);
        form.findChild<QAction*>(QStringLiteral("miViewThemeDefault"))->trigger();
        EXPECT_EQ(Settings().GetActiveTheme(), 0);
    }
    // An unknown stored value shows the default look and is kept as it stands.
    Settings().SetActiveTheme(9);
    TMainFormFM form;
    EXPECT_EQ(form.ActiveTheme(), app::TTheme::Default);
    EXPECT_EQ(Settings().GetActiveTheme(), 9);
}

TEST_F(MainFormTest, ClosingGoesToTheTrayOnlyWhenAskedAndNotAfterExit)
{
    const struct {
        const char* name;
        bool toTray;
        bool shown;
        bool closes;
    } cases[] = {
        {"option off", false, true, true},
        {"option on, window visible", true, true, false},
        {"option on, window already hidden", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().SetOnCloseMinimizeToSystemTray(c.toTray);
        TMainFormFM form;
        TClosedCounter closed(form);
        if (c.shown)
            form.show();
        QCoreApplication::processEvents();
        form.close();
        QCoreApplication::processEvents();
        auto* tray = form.findChild<QSystemTrayIcon*>(QStringLiteral("CoolTrayIcon1"));
        EXPECT_EQ(closed.count(), c.closes ? 1 : 0);
        EXPECT_EQ(tray->isVisible(), !c.closes);
        EXPECT_FALSE(form.isVisible());
    }

    // From the tray: Open shows the window (and the icon goes), Exit really closes.
    Settings().SetOnCloseMinimizeToSystemTray(true);
    TMainFormFM form;
    TClosedCounter closed(form);
    form.show();
    form.close();
    auto* tray = form.findChild<QSystemTrayIcon*>(QStringLiteral("CoolTrayIcon1"));
    ASSERT_TRUE(tray->isVisible());
    form.findChild<QAction*>(QStringLiteral("pmTrayOpen"))->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(tray->isVisible());
    form.findChild<QAction*>(QStringLiteral("pmTrayClose"))->trigger();
    EXPECT_TRUE(form.Flags().ExitRequested);
    EXPECT_EQ(closed.count(), 1);

    // File > Exit is a close like any other: to the tray with the option on.
    TMainFormFM other;
    TClosedCounter otherClosed(other);
    other.show();
    other.findChild<QAction*>(QStringLiteral("TBItem10"))->trigger();
    EXPECT_EQ(otherClosed.count(), 0);
    EXPECT_TRUE(other.findChild<QSystemTrayIcon*>(QStringLiteral("CoolTrayIcon1"))->isVisible());
}

TEST_F(MainFormTest, HandOverIsAcceptedOnlyWithItsTag)
{
    TMainFormFM form;
    const QByteArray block = platform::EncodeArgumentBlock(
        {QStringLiteral("/fonts/b.ttf"), QStringLiteral("/fonts/a.ttf"), QStringLiteral("/fonts/b.ttf")});

    const struct {
        const char* name;
        quint32 tag;
        qint32 answer;
    } cases[] = {
        {"another tag", 13272, 0},
        {"zero", 0, 0},
        {"the arguments tag", 13273, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(form.CopyDataReceived(c.tag, block), c.answer);
    }
    ASSERT_NE(form.PendingArguments(), nullptr);
    EXPECT_EQ(form.PendingArguments()->Items(), (QStringList{"/fonts/a.ttf", "/fonts/b.ttf"}))
        << "sorted, each once";
    EXPECT_TRUE(form.isVisible()) << "the window comes to the front";
    EXPECT_TRUE(GeneralLog().contains(QStringLiteral("Arguments received: /fonts/b.ttf /fonts/a.ttf /fonts/b.ttf")));

    // A minimised window is restored.
    form.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.CopyDataReceived(13273, platform::EncodeArgumentBlock({QStringLiteral("c")})), 1);
    EXPECT_FALSE(form.isMinimized());
    EXPECT_EQ(form.PendingArguments()->Count(), 3);
}

TEST_F(MainFormTest, FirstIdleMomentRunsOnceAndActivationFlagsAFontChange)
{
    TMainFormFM form;
    EXPECT_TRUE(form.Flags().FirstIdlePending);
    EXPECT_FALSE(form.Flags().ExitRequested);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.Flags().FirstIdlePending);
    const qsizetype afterIdle = form.PendingArguments()->Count();
    const QStringList own = QCoreApplication::arguments().mid(1);
    EXPECT_EQ(afterIdle, QSet<QString>(own.begin(), own.end()).size());
    QCoreApplication::processEvents();
    EXPECT_EQ(form.PendingArguments()->Count(), afterIdle);

    EXPECT_FALSE(form.Flags().BrowseScanningLive) << "RestoreOnStartup is off by default";
    EXPECT_TRUE(form.Flags().BrowseTabNotYetOpened);
    QMetaObject::invokeMethod(qApp, "applicationStateChanged", Q_ARG(Qt::ApplicationState, Qt::ApplicationActive));
    EXPECT_TRUE(form.Flags().SystemFontsChanged);
}

} // namespace
