#pragma once

// The three looks of the program. "Default" is the desktop's own style and palette; "Aluminum"
// and "Dream" are palettes of our own on the Fusion style, which follows palettes faithfully.

#include <QColor>

namespace app {

enum class TTheme : int {
    Default = 0,
    Aluminum = 1,
    Dream = 2,
};

// The theme of a stored index; anything unknown is the default theme.
TTheme ThemeFromIndex(int index);

// Switches the whole application to the theme. The desktop's style and palette are
// remembered the first time this runs, so that "Default" can bring them back.
void ApplyTheme(TTheme theme);

// The background of list views and dialogs in the theme.
QColor ThemeViewColor(TTheme theme);

} // namespace app
