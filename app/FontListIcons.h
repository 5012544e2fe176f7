#pragma once

// The row images of the font lists, drawn by the program: a type image per font kind, a
// state image per status and the overlay that marks a face found through a shortcut.

#include <QIcon>
#include <QPixmap>

#include <cstdint>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

inline constexpr int kTypeImageCount = 11;
inline constexpr int kStateImageCount = 8;
inline constexpr int kShortcutOverlayImage = 7;

// Index into the type images for a font kind (0..8; other values as 0).
int TypeImageIndex(std::uint8_t fontKind);
// Index into the state images for the face's status; -1 for a face neither installed nor
// loaded.
int StateImageIndex(const catalogue::TFontItem& face);

// 10 x 14 pixels.
const QPixmap& TypeImage(int index);
// 8 x 8 pixels; the shortcut overlay is 7 x 7.
const QPixmap& StateImage(int index);
QIcon TypeIcon(int index);

// The room the images take at the left of the first column.
inline constexpr int kRowImagesWidth = 24;

} // namespace app
