#pragma once

// The layouts of the main window: four predefined arrangements of the five panes and two
// custom layouts the user saves. The panes are the main window's dock widgets, found by
// their object names (dpFonts, dpCharacters, dpInformation, dpSample, dpZoom); a pane that
// is missing is left out. The splitter panels above the Browse and Groups splitters belong
// to the main window and are reached through TSplitterPanels.

#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QMainWindow;

namespace app {

enum class TLayout : int {
    Default = 0,
    Character = 1,
    Font = 2,
    FontInformation = 3,
    Custom1 = 4,
    Custom2 = 5,
};

// Sample and Zoom are always shown or hidden together.
struct TPaneVisibility {
    bool Fonts = true;
    bool Characters = true;
    bool Information = true;
    bool SampleAndZoom = true;
};

// Sizes of a predefined layout in client pixels; 0 means "not set".
struct TLayoutGeometry {
    int FontsWidth = 0;
    int PaneHeight = 0;  // the bottom (or right-bottom) dock and its panes
    int InformationWidth = 0;
    int SampleWidth = 0;
    int SamplePosition = 0;
    int ZoomWidth = 0;
    int ZoomPosition = 0;
};

// Half the client height up to 400, 200 up to 600, else a third of it.
int LayoutPaneHeight(int clientHeight);
TPaneVisibility PredefinedPaneVisibility(TLayout layout);
TLayoutGeometry PredefinedLayoutGeometry(TLayout layout, const QSize& client);

// The heights of the panels above the Browse and Groups splitters.
struct TSplitterPanels {
    std::function<void(int browse, int groups)> SetHeights;
    std::function<QSize()> Heights;  // width: Browse, height: Groups
};

inline constexpr int kDefaultSplitterPanelHeight = 100;

// "Software\...\2.0\Custom layout\Layout 1" (custom 1) or "...\Layout 2" (custom 2).
QString CustomLayoutKey(int custom);

// Applies a layout (Ctrl+1 .. Ctrl+6 are layouts 0 .. 5). Predefined layouts dock every
// pane where the layout puts it and set both splitter panels to 100 pixels; a custom layout
// restores what SaveCustomLayout stored, and what it never stored stays as it is (splitter
// panels: 100).
void ApplyLayout(QMainWindow& window, TLayout layout, const TSplitterPanels& splitters);

// The main window's place at the first start: left 5 % and top 10 % into the monitor, 90 %
// of its width and 80 % of its height (rounded).
QRect FirstStartWindowRect(const QRect& monitor);
// Places the window so on the monitor nearest to it and gives it the Default layout.
void PlaceOnFirstStart(QMainWindow& window, const TSplitterPanels& splitters);

// Stores the docks and toolbars, the window position (maximising allowed) and the two
// splitter panel heights as custom layout 1 or 2.
void SaveCustomLayout(QMainWindow& window, int custom, const TSplitterPanels& splitters);

} // namespace app
