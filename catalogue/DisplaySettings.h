#pragma once

// Values of the desktop that display fonts and previews depend on, read once.

#include <QString>

namespace catalogue {

// The vertical resolution of the screen in dots per inch: read from the primary screen the
// first time it is asked on the GUI thread, 96 before that or without a screen.
int ScreenDpiY();
// Fixes the resolution (tests; a program may call it at start-up).
void SetScreenDpiY(int dpi);

// The interface font that previews fall back to when a face cannot be shown.
QString PreviewFallbackFontName();
void SetPreviewFallbackFontName(const QString& name);

// a * b / c rounded to the nearest integer, in 64 bits; 0 when c is 0.
int MulDiv(int a, int b, int c);

} // namespace catalogue
