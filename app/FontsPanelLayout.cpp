#include "app/FontsPanelLayout.h"

#include <algorithm>

namespace app {

namespace {

constexpr int kCaptionSpacing = 8;
constexpr int kOperationButtons = 4;
constexpr int kRightMargin = 4;

} // namespace

int PreviewTextsWidth(const TFontsPanelMeasures& measures)
{
    const int titleButtons = measures.TitleButtonsWidth < 0 ? kHiddenTitleButtonsWidth : measures.TitleButtonsWidth;
    const int left = measures.ClientWidth - (measures.CaptionWidth + kCaptionSpacing) -
                     kOperationButtons * measures.ToolButtonWidth - measures.PreviewSizeWidth - titleButtons -
                     kRightMargin;
    return std::clamp(left, kPreviewTextsMinimumWidth, kPreviewTextsMaximumWidth);
}

} // namespace app
