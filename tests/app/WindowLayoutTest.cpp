// Dialog positions kept under their keys, and the layouts of a main window with the five
// panes.

#include "app/LayoutFrm.h"
#include "app/WindowLayout.h"
#include "app/WindowPosition.h"
#include "settings/ApplicationRegistrySettings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cstdlib>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using app::TLayout;
using settings::TFontViewerRegistrySettings;

QString Key(const QString& subKey) { return TFontViewerRegistrySettings::ApplicationBaseKey() + subKey; }

TEST(DialogPosition, IsStoredWhenTheDialogClosesAndUsedTheNextTime)
{
    TFontViewerRegistrySettings::OpenApplicationSettings();
    const QString key = Key(QStringLiteral("\\Test Dialog Window"));
    QDialog never;
    never.resize(300, 200);
    EXPECT_FALSE(app::RestoreWindowPosition(never, key, false, false));
    // Never stored: the dialog opens centred on the screen.
    app::RememberDialogPosition(never, key);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(never.geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(never.geometry().center().y() - screen.center().y()), 1);

    {
        QDialog first;
        first.resize(300, 200);
        app::RememberDialogPosition(first, key);
        first.show();
        first.move(123, 145);
        first.resize(320, 210);
        first.accept();
    }
    const QString stored = app::ReadRegistryText(key, QStringLiteral("Position"), QString());
    EXPECT_EQ(stored.section(QLatin1Char(','), 1), "0,123,145,320,210");

    QDialog second;
    second.resize(300, 200);
    app::RememberDialogPosition(second, key);
    EXPECT_EQ(second.pos(), QPoint(123, 145));
    EXPECT_EQ(second.size(), QSize(320, 210));
}

TEST(RegistryValues, MissingValuesAnswerTheirDefault)
{
    TFontViewerRegistrySettings::OpenApplicationSettings();
    const QString key = Key(QStringLiteral("\\Test Values"));
    EXPECT_EQ(app::ReadRegistryInteger(key, QStringLiteral("Missing"), 100), 100);
    app::WriteRegistryInteger(key, QStringLiteral("Height"), 42);
    EXPECT_EQ(app::ReadRegistryInteger(key, QStringLiteral("Height"), 100), 42);
    // A value of another kind is not read as a number.
    app::WriteRegistryText(key, QStringLiteral("Text"), QStringLiteral("7"));
    EXPECT_EQ(app::ReadRegistryInteger(key, QStringLiteral("Text"), 100), 100);
    QByteArray data;
    EXPECT_FALSE(app::ReadRegistryBinary(key, QStringLiteral("State"), data));
}

TEST(LayoutGeometry, SizesFollowTheClientArea)
{
    EXPECT_EQ(app::LayoutPaneHeight(300), 150);
    EXPECT_EQ(app::LayoutPaneHeight(400), 200);
    EXPECT_EQ(app::LayoutPaneHeight(500), 200);
    EXPECT_EQ(app::LayoutPaneHeight(600), 200);
    EXPECT_EQ(app::LayoutPaneHeight(900), 300);

    const struct {
        const char* Name;
        TLayout Layout;
        QSize Client;
        app::TLayoutGeometry Expected;
    } cases[] = {
        // Narrow: Information 30 %, Sample 30 % at 30 %, Zoom 40 % at 70 %.
        {"default, 480 wide", TLayout::Default, {480, 700}, {240, 233, 144, 144, 144, 192, 336}},
        {"default, 1000 wide", TLayout::Default, {1000, 500}, {500, 200, 250, 500, 250, 250, 750}},
        {"character, 1001 wide", TLayout::Character, {1001, 900}, {500, 300, 250, 500, 250, 250, 750}},
        {"font, 480 wide", TLayout::Font, {480, 300}, {160, 150, 0, 160, 1, 160, 160}},
        {"font, 900 wide", TLayout::Font, {900, 300}, {300, 150, 0, 350, 1, 250, 350}},
        {"font information", TLayout::FontInformation, {900, 300}, {450, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const app::TLayoutGeometry g = app::PredefinedLayoutGeometry(c.Layout, c.Client);
        EXPECT_EQ(g.FontsWidth, c.Expected.FontsWidth);
        EXPECT_EQ(g.PaneHeight, c.Expected.PaneHeight);
        EXPECT_EQ(g.InformationWidth, c.Expected.InformationWidth);
        EXPECT_EQ(g.SampleWidth, c.Expected.SampleWidth);
        EXPECT_EQ(g.SamplePosition, c.Expected.SamplePosition);
        EXPECT_EQ(g.ZoomWidth, c.Expected.ZoomWidth);
        EXPECT_EQ(g.ZoomPosition, c.Expected.ZoomPosition);
    }
}

TEST(LayoutGeometry, FirstStartPlacesTheWindowWithinItsMonitor)
{
    const struct {
        QRect Monitor;
        QRect Expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {96, 108, 1728, 864}},
        {{1920, 0, 1280, 1024}, {1984, 102, 1152, 819}},
        {{0, 0, 1366, 768}, {68, 77, 1229, 614}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::FirstStartWindowRect(c.Monitor), c.Expected);
}

// A main window with the five panes and two splitter panels.
class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        TFontViewerRegistrySettings::OpenApplicationSettings();
        for (const char* name : {"dpFonts", "dpCharacters", "dpInformation", "dpSample", "dpZoom"}) {
            auto* pane = new QDockWidget(QLatin1String(name), &FWindow);
            pane->setObjectName(QLatin1String(name));
            pane->setWidget(new QWidget(pane));
            FWindow.addDockWidget(Qt::LeftDockWidgetArea, pane);
        }
        FWindow.setCentralWidget(new QWidget(&FWindow));
        FWindow.resize(1000, 700);
        FWindow.show();
        FSplitters.SetHeights = [this](int browse, int groups) { FHeights = QSize(browse, groups); };
        FSplitters.Heights = [this] { return FHeights; };
    }

    QDockWidget* Pane(const char* name) { return FWindow.findChild<QDockWidget*>(QLatin1String(name)); }

    QString Shown()
    {
        QStringList shown;
        for (const char* name : {"dpFonts", "dpCharacters", "dpInformation", "dpSample", "dpZoom"})
            if (!Pane(name)->isHidden())
                shown << QString::fromLatin1(name).mid(2);
        return shown.join(QLatin1Char(' '));
    }

    QMainWindow FWindow;
    app::TSplitterPanels FSplitters;
    QSize FHeights{40, 50};
};

TEST_F(WindowLayout, APredefinedLayoutShowsThePanesItNames)
{
    const struct {
        TLayout Layout;
        const char* Shown;
        Qt::DockWidgetArea Characters;
        Qt::DockWidgetArea Information;
    } cases[] = {
        {TLayout::Character, "Characters", Qt::RightDockWidgetArea, Qt::BottomDockWidgetArea},
        {TLayout::Font, "Fonts Characters Sample Zoom", Qt::RightDockWidgetArea, Qt::RightDockWidgetArea},
        {TLayout::FontInformation, "Fonts Information", Qt::BottomDockWidgetArea, Qt::RightDockWidgetArea},
        {TLayout::Default, "Fonts Characters Information Sample Zoom", Qt::RightDockWidgetArea,
         Qt::BottomDockWidgetArea},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Shown);
        Pane("dpZoom")->setFloating(true);
        FHeights = QSize(40, 50);
        app::ApplyLayout(FWindow, c.Layout, FSplitters);
        EXPECT_EQ(Shown(), c.Shown);
        EXPECT_EQ(FWindow.dockWidgetArea(Pane("dpFonts")), Qt::LeftDockWidgetArea);
        EXPECT_EQ(FWindow.dockWidgetArea(Pane("dpCharacters")), c.Characters);
        EXPECT_EQ(FWindow.dockWidgetArea(Pane("dpInformation")), c.Information);
        EXPECT_FALSE(Pane("dpZoom")->isFloating());
        EXPECT_EQ(FHeights, QSize(100, 100));
        EXPECT_TRUE(FWindow.updatesEnabled());
    }
}

TEST_F(WindowLayout, ACustomLayoutGivesBackWhatWasSaved)
{
    // Never saved: the window stays where it is and the splitter panels get 100 pixels.
    const QRect before = FWindow.geometry();
    app::ApplyLayout(FWindow, TLayout::Custom2, FSplitters);
    EXPECT_EQ(FWindow.geometry(), before);
    EXPECT_EQ(Shown(), "Fonts Characters Information Sample Zoom");
    EXPECT_EQ(FHeights, QSize(100, 100));

    app::ApplyLayout(FWindow, TLayout::FontInformation, FSplitters);
    FHeights = QSize(120, 80);
    app::SaveCustomLayout(FWindow, 1, FSplitters);
    app::ApplyLayout(FWindow, TLayout::Default, FSplitters);
    EXPECT_EQ(Shown(), "Fonts Characters Information Sample Zoom");

    app::ApplyLayout(FWindow, TLayout::Custom1, FSplitters);
    EXPECT_EQ(Shown(), "Fonts Information");
    EXPECT_EQ(FHeights, QSize(120, 80));
    EXPECT_EQ(app::ReadRegistryInteger(app::CustomLayoutKey(1) + "\\Splitters", "Browse", 0), 120);
}

TEST_F(WindowLayout, TheDialogChecksOneLayoutAndAppliesIt)
{
    app::TLayoutSelectorForm form(FWindow, FSplitters);
    auto* fontLayout = form.findChild<QRadioButton*>(QStringLiteral("rbFontLayout"));
    auto* custom2 = form.findChild<QRadioButton*>(QStringLiteral("rbCustomLayout2"));
    auto* save1 = form.findChild<QPushButton*>(QStringLiteral("btnSaveCustomLayout1"));
    ASSERT_TRUE(fontLayout && custom2 && save1);
    EXPECT_EQ(form.SelectedLayout(), TLayout::Default);
    custom2->click();
    EXPECT_EQ(form.SelectedLayout(), TLayout::Custom2);
    EXPECT_FALSE(form.findChild<QRadioButton*>(QStringLiteral("rbDefaultLayout"))->isChecked());
    save1->click();
    EXPECT_EQ(form.SelectedLayout(), TLayout::Custom1);
    EXPECT_FALSE(custom2->isChecked());
    fontLayout->click();
    EXPECT_EQ(form.SelectedLayout(), TLayout::Font);
    EXPECT_FALSE(form.findChild<QRadioButton*>(QStringLiteral("rbCustomLayout1"))->isChecked());
    form.accept();
    EXPECT_EQ(Shown(), "Fonts Characters Sample Zoom");
}

TEST_F(WindowLayout, CtrlAndADigitAppliesThatLayout)
{
    const app::TLayoutActions actions = app::CreateLayoutActions(FWindow, FSplitters);
    ASSERT_EQ(actions.Dialog->objectName(), "tbmiViewLayout");
    const struct {
        int Action;
        const char* Shown;
    } cases[] = {{1, "Characters"}, {2, "Fonts Characters Sample Zoom"}, {3, "Fonts Information"},
                 {0, "Fonts Characters Information Sample Zoom"}};
    for (const auto& c : cases) {
        QAction* action = actions.Layouts[static_cast<std::size_t>(c.Action)];
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+%1").arg(c.Action + 1)));
        action->trigger();
        EXPECT_EQ(Shown(), c.Shown);
    }
}

} // namespace
