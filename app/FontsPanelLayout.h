#pragma once

// The width of the Fonts panel's preview text chooser: what the panel's width leaves beside
// its caption, four tool buttons, the preview size chooser and the title bar's buttons.

namespace app {

inline constexpr int kPreviewTextsMinimumWidth = 60;
inline constexpr int kPreviewTextsMaximumWidth = 100;
// Counted for the title bar's buttons while the title bar shows none.
inline constexpr int kHiddenTitleButtonsWidth = 16;

struct TFontsPanelMeasures {
    int ClientWidth = 0;       // the panel's client width
    int CaptionWidth = 0;      // the panel's caption in bold type
    int ToolButtonWidth = 0;   // one of the four operation buttons (Unload)
    int PreviewSizeWidth = 0;  // cbPreviewSize
    int TitleButtonsWidth = 0; // the title bar's own buttons; negative while none is shown
};

// w − (c + 8) − 4 × u − p − b − 4, kept within 60..100.
int PreviewTextsWidth(const TFontsPanelMeasures& measures);

} // namespace app
