#include "app/FontListPreviewSize.h"

#include "catalogue/DisplaySettings.h"

#include <algorithm>
#include <array>

namespace app {

namespace {

struct TPreviewSize {
    int Points;
    int RowHeight;
};

constexpr std::array<TPreviewSize, kPreviewSizeCount> kPreviewSizes{{
    {14, 21}, {16, 24}, {18, 27}, {20, 30}, {24, 36}, {30, 45},
}};

const TPreviewSize& SizeAt(int sizeIndex)
{
    const int index = sizeIndex >= 0 && sizeIndex < kPreviewSizeCount ? sizeIndex : kDefaultPreviewSizeIndex;
    return kPreviewSizes[static_cast<std::size_t>(index)];
}

} // namespace

int PreviewPointSize(int sizeIndex)
{
    return SizeAt(sizeIndex).Points;
}

int PreviewRowHeight(int sizeIndex)
{
    return SizeAt(sizeIndex).RowHeight;
}

int FontListRowHeight(bool previewVisible, int sizeIndex, int dpi)
{
    const int height = previewVisible ? PreviewRowHeight(sizeIndex) : kPlainRowHeight;
    return std::max(1, catalogue::MulDiv(height, dpi, 96));
}

} // namespace app
