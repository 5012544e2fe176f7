#pragma once

// The stored placement of a window: the text "visible,maximised,left,top,width,height".
// For a maximised window (when maximising is allowed) the rectangle is its normal one.

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace app {

struct TWindowPlacement {
    bool Visible = false;
    bool Maximised = false;
    QRect Rectangle; // left, top, width, height
};

QString FormatWindowPlacement(const TWindowPlacement& placement);

// Reads the numbers from the left, one at a time; a field that cannot be read stops the
// reading, and it and the fields after it keep their values in `current`.
TWindowPlacement ParseWindowPlacement(const QString& text, const TWindowPlacement& current);

// The placement of a window as it is now.
TWindowPlacement CurrentWindowPlacement(const QWidget& window, bool allowMaximised, bool visible);

// Applies a stored placement. Left and top are used only when they fall at least 20 pixels
// inside the desktop, so a window saved on a monitor that is gone stays reachable; width and
// height are applied as they are.
void ApplyWindowPlacement(QWidget& window, const QString& text, bool allowMaximised,
                          bool applyVisibility, const QSize& desktop);

} // namespace app
