#pragma once

// The stored placement of a window: the text "visible,maximised,left,top,width,height".
// For a maximised window (when maximising is allowed) the rectangle is its normal one.

#include <QByteArray>
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

namespace app {

// Keys are full paths below HKEY_CURRENT_USER, e.g. ApplicationBaseKey() + "\Position\...".
// Each call uses a registry object of its own; nothing is written when the key cannot be
// opened or created.

// Stores the placement of window as the "Position" value of key.
void SaveWindowPosition(const QWidget& window, const QString& key, bool allowMaximised);

// Applies the "Position" value of key; false (and the window untouched) when the key or the
// value is missing.
bool RestoreWindowPosition(QWidget& window, const QString& key, bool allowMaximised, bool applyVisibility);

// Single values under an absolute key; a missing key or value (or one of another kind)
// answers the default.
int ReadRegistryInteger(const QString& key, const QString& name, int defaultValue);
void WriteRegistryInteger(const QString& key, const QString& name, int value);
QString ReadRegistryText(const QString& key, const QString& name, const QString& defaultValue);
void WriteRegistryText(const QString& key, const QString& name, const QString& value);
// Binary values (the docks' and toolbars' saved state); false when missing.
bool ReadRegistryBinary(const QString& key, const QString& name, QByteArray& data);
void WriteRegistryBinary(const QString& key, const QString& name, const QByteArray& data);

// The size of the whole desktop (all screens).
QSize WholeDesktopSize();

// A dialog that remembers its place under key: the stored place is applied now (otherwise
// the dialog is centred over its parent, or the screen), and the place is stored whenever
// the dialog closes.
void RememberDialogPosition(QWidget& dialog, const QString& key);

} // namespace app
