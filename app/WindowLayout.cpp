#include "app/WindowLayout.h"

#include "app/WindowPosition.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>

#include <cmath>
#include <utility>

namespace app {

namespace {

constexpr int kNarrowClientWidth = 500;
constexpr int kFontLayoutZoomWidth = 250;
const QString kToolbarsValue = QStringLiteral("State");

int Percent(int width, int percent) { return static_cast<int>(std::lround(width * percent / 100.0)); }

struct TPanes {
    QDockWidget* Fonts = nullptr;
    QDockWidget* Characters = nullptr;
    QDockWidget* Information = nullptr;
    QDockWidget* Sample = nullptr;
    QDockWidget* Zoom = nullptr;
};

TPanes FindPanes(QMainWindow& window)
{
    const auto find = [&](const char* name) { return window.findChild<QDockWidget*>(QLatin1String(name)); };
    return {find("dpFonts"), find("dpCharacters"), find("dpInformation"), find("dpSample"), find("dpZoom")};
}

void Dock(QMainWindow& window, Qt::DockWidgetArea area, QDockWidget* pane)
{
    if (!pane)
        return;
    pane->setFloating(false);
    window.addDockWidget(area, pane);
}

// Puts next beside (or below) first, both in first's dock area.
void Split(QMainWindow& window, QDockWidget* first, QDockWidget* next, Qt::Orientation orientation)
{
    if (!first || !next)
        return;
    next->setFloating(false);
    window.splitDockWidget(first, next, orientation);
}

void Resize(QMainWindow& window, QDockWidget* pane, int size, Qt::Orientation orientation)
{
    if (pane && size > 0)
        window.resizeDocks({pane}, {size}, orientation);
}

void ShowPanes(const TPanes& panes, const TPaneVisibility& visible)
{
    const auto show = [](QDockWidget* pane, bool on) {
        if (pane)
            pane->setVisible(on);
    };
    show(panes.Fonts, visible.Fonts);
    show(panes.Characters, visible.Characters);
    show(panes.Information, visible.Information);
    show(panes.Sample, visible.SampleAndZoom);
    show(panes.Zoom, visible.SampleAndZoom);
}

// Information, Sample and Zoom side by side in one area, starting with `first` beside
// (horizontal) or below (vertical) anchor, or docked into area when there is no anchor.
void DockBottomRow(QMainWindow& window, const TPanes& panes, Qt::DockWidgetArea area, QDockWidget* anchor)
{
    if (anchor && panes.Information)
        Split(window, anchor, panes.Information, Qt::Vertical);
    else
        Dock(window, area, panes.Information);
    QDockWidget* left = panes.Information;
    for (QDockWidget* pane : {panes.Sample, panes.Zoom}) {
        if (!pane)
            continue;
        if (left)
            Split(window, left, pane, Qt::Horizontal);
        else
            Dock(window, area, pane);
        left = pane;
    }
}

void ArrangePredefined(QMainWindow& window, const TPanes& panes, TLayout layout)
{
    Dock(window, Qt::LeftDockWidgetArea, panes.Fonts);
    switch (layout) {
    case TLayout::Font:
        Dock(window, Qt::RightDockWidgetArea, panes.Characters);
        DockBottomRow(window, panes, Qt::RightDockWidgetArea, panes.Characters);
        break;
    case TLayout::FontInformation:
        Dock(window, Qt::RightDockWidgetArea, panes.Information);
        Dock(window, Qt::BottomDockWidgetArea, panes.Characters);
        Split(window, panes.Characters, panes.Sample, Qt::Horizontal);
        Split(window, panes.Sample, panes.Zoom, Qt::Horizontal);
        break;
    default:
        Dock(window, Qt::RightDockWidgetArea, panes.Characters);
        DockBottomRow(window, panes, Qt::BottomDockWidgetArea, nullptr);
        break;
    }
}

void SizePredefined(QMainWindow& window, const TPanes& panes, const TLayoutGeometry& sizes)
{
    Resize(window, panes.Fonts, sizes.FontsWidth, Qt::Horizontal);
    QList<QDockWidget*> row;
    QList<int> widths;
    for (const auto& [pane, width] : {std::pair{panes.Information, sizes.InformationWidth},
                                      std::pair{panes.Sample, sizes.SampleWidth},
                                      std::pair{panes.Zoom, sizes.ZoomWidth}}) {
        if (pane && pane->isVisible() && width > 0) {
            row << pane;
            widths << width;
        }
    }
    if (!row.isEmpty()) {
        window.resizeDocks(row, widths, Qt::Horizontal);
        Resize(window, row.first(), sizes.PaneHeight, Qt::Vertical);
    }
}

// The window less its menu bar and status bar.
QSize ClientSize(const QMainWindow& window)
{
    int height = window.height();
    if (const QWidget* menu = window.menuWidget(); menu && menu->isVisible())
        height -= menu->height();
    if (const QWidget* status = window.findChild<QStatusBar*>(); status && status->isVisible())
        height -= status->height();
    return {window.width(), height};
}

void ApplyCustom(QMainWindow& window, int custom, const TSplitterPanels& splitters)
{
    const QString key = CustomLayoutKey(custom);
    RestoreWindowPosition(window, key + QStringLiteral("\\Main Window"), true, true);
    QByteArray state;
    if (ReadRegistryBinary(key + QStringLiteral("\\Toolbars"), kToolbarsValue, state))
        window.restoreState(state);
    if (splitters.SetHeights) {
        const QString splitterKey = key + QStringLiteral("\\Splitters");
        splitters.SetHeights(ReadRegistryInteger(splitterKey, QStringLiteral("Browse"), kDefaultSplitterPanelHeight),
                             ReadRegistryInteger(splitterKey, QStringLiteral("Groups"), kDefaultSplitterPanelHeight));
    }
}

} // namespace

int LayoutPaneHeight(int clientHeight)
{
    if (clientHeight <= 400)
        return clientHeight / 2;
    if (clientHeight <= 600)
        return 200;
    return clientHeight / 3;
}

TPaneVisibility PredefinedPaneVisibility(TLayout layout)
{
    switch (layout) {
    case TLayout::Character: return {false, true, false, false};
    case TLayout::Font: return {true, true, false, true};
    case TLayout::FontInformation: return {true, false, true, false};
    default: return {};
    }
}

TLayoutGeometry PredefinedLayoutGeometry(TLayout layout, const QSize& client)
{
    const int w = client.width();
    const int h = LayoutPaneHeight(client.height());
    TLayoutGeometry sizes;
    switch (layout) {
    case TLayout::Default:
    case TLayout::Character:
        sizes.PaneHeight = h;
        sizes.FontsWidth = w / 2;
        if (w <= kNarrowClientWidth) {
            sizes.InformationWidth = Percent(w, 30);
            sizes.SampleWidth = Percent(w, 30);
            sizes.SamplePosition = Percent(w, 30);
            sizes.ZoomWidth = Percent(w, 40);
            sizes.ZoomPosition = Percent(w, 70);
        } else {
            sizes.InformationWidth = w / 4;
            sizes.SampleWidth = w / 2;
            sizes.SamplePosition = w / 4;
            sizes.ZoomWidth = w / 4;
            sizes.ZoomPosition = 3 * (w / 4);
        }
        break;
    case TLayout::Font:
        sizes.PaneHeight = h;
        sizes.FontsWidth = w / 3;
        if (w <= kNarrowClientWidth) {
            sizes.SampleWidth = w / 3;
            sizes.SamplePosition = 1;
            sizes.ZoomWidth = w / 3;
            sizes.ZoomPosition = w / 3;
        } else {
            sizes.SampleWidth = 2 * w / 3 - kFontLayoutZoomWidth;
            sizes.SamplePosition = 1;
            sizes.ZoomWidth = kFontLayoutZoomWidth;
            sizes.ZoomPosition = 2 * w / 3 - kFontLayoutZoomWidth;
        }
        break;
    case TLayout::FontInformation:
        sizes.FontsWidth = w / 2;
        break;
    case TLayout::Custom1:
    case TLayout::Custom2:
        break;
    }
    return sizes;
}

QString CustomLayoutKey(int custom)
{
    return settings::TFontViewerRegistrySettings::ApplicationBaseKey()
        + QStringLiteral("\\Custom layout\\Layout %1").arg(custom);
}

void ApplyLayout(QMainWindow& window, TLayout layout, const TSplitterPanels& splitters)
{
    const TPanes panes = FindPanes(window);
    // The panes move while the window does not repaint.
    const bool updates = window.updatesEnabled();
    window.setUpdatesEnabled(false);
    if (layout == TLayout::Custom1 || layout == TLayout::Custom2) {
        ApplyCustom(window, layout == TLayout::Custom1 ? 1 : 2, splitters);
    } else {
        ArrangePredefined(window, panes, layout);
        ShowPanes(panes, PredefinedPaneVisibility(layout));
        SizePredefined(window, panes, PredefinedLayoutGeometry(layout, ClientSize(window)));
        if (splitters.SetHeights)
            splitters.SetHeights(kDefaultSplitterPanelHeight, kDefaultSplitterPanelHeight);
    }
    window.setUpdatesEnabled(updates);
}

QRect FirstStartWindowRect(const QRect& monitor)
{
    return {monitor.left() + Percent(monitor.width(), 5), monitor.top() + Percent(monitor.height(), 10),
            Percent(monitor.width(), 90), Percent(monitor.height(), 80)};
}

void PlaceOnFirstStart(QMainWindow& window, const TSplitterPanels& splitters)
{
    const QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (!screen)
        screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.setGeometry(FirstStartWindowRect(screen->geometry()));
    ApplyLayout(window, TLayout::Default, splitters);
}

void SaveCustomLayout(QMainWindow& window, int custom, const TSplitterPanels& splitters)
{
    const QString key = CustomLayoutKey(custom);
    WriteRegistryBinary(key + QStringLiteral("\\Toolbars"), kToolbarsValue, window.saveState());
    SaveWindowPosition(window, key + QStringLiteral("\\Main Window"), true);
    if (splitters.Heights) {
        const QSize heights = splitters.Heights();
        const QString splitterKey = key + QStringLiteral("\\Splitters");
        WriteRegistryInteger(splitterKey, QStringLiteral("Browse"), heights.width());
        WriteRegistryInteger(splitterKey, QStringLiteral("Groups"), heights.height());
    }
}

} // namespace app
