#pragma once

// The preview sizes of the font lists ("Tiny" .. "Ultra Large"): the point size of the
// preview and the row height that holds it, at 96 DPI.

namespace app {

inline constexpr int kPreviewSizeCount = 6;
inline constexpr int kDefaultPreviewSizeIndex = 2;  // "Medium"
// The height of a row without the preview column, at 96 DPI.
inline constexpr int kPlainRowHeight = 17;
// Rows at least this high draw the two files of a Type 1 face on two lines.
inline constexpr int kTwoLineRowHeight = 30;

int PreviewPointSize(int sizeIndex);
int PreviewRowHeight(int sizeIndex);
// The height of every row of a list at the screen's resolution.
int FontListRowHeight(bool previewVisible, int sizeIndex, int dpi);

} // namespace app
