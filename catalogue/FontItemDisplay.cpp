#include "FontItem.h"

#include "DisplaySettings.h"

#include <QFont>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace catalogue {

namespace {

constexpr int kMaxFaceNameLength = 31;
constexpr int kMinimumPreviewSize = 6;

std::uint8_t OutPrecisionOf(std::int32_t gdiTypeBits)
{
    switch (gdiTypeBits) {
    case 1: return 6;  // raster
    case 2: return 5;  // device
    case 4: return 4;  // TrueType
    default: return 5; // device precision on the systems this program runs on
    }
}

// The text fits the rectangle's width or is cut there, as single-line drawing does.
class TClipScope {
public:
    TClipScope(QPainter& painter, const QRect& rect) : FPainter(painter)
    {
        FPainter.save();
        FPainter.setClipRect(rect, Qt::IntersectClip);
    }
    ~TClipScope() { FPainter.restore(); }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

private:
    QPainter& FPainter;
};

} // namespace

std::unique_ptr<platform::TDisplayFont> TFontItem::CreateDisplayFont(int points)
{
    if (!HasStatus(FontStatus::Loaded) && !HasStatus(FontStatus::FileLoaded) && !HasStatus(FontStatus::PrivatelyLoaded)) {
        FDisplayFontCreated = false;
        return nullptr;
    }
    platform::TLogicalFont font;
    font.Height = -MulDiv(points, ScreenDpiY(), 72);
    font.Weight = FWeight;
    font.Italic = FItalic;
    font.CharSet = 1;
    font.OutPrecision = OutPrecisionOf(FGdiTypeBits);
    font.FaceName = FamilyNameText().left(kMaxFaceNameLength);
    FDisplayFontDescription = font;

    platform::TFaceLocation location;
    location.FontFile = FFontFile;
    location.SecondFile = FSecondFile;
    location.FaceIndex = FFaceIndex;
    location.FullName = FFullName;
    location.SystemFile = FSystemFile;
    location.SystemIndex = FSystemIndex;
    auto displayFont = platform::FontEngine().CreateDisplayFont(font, location);
    FDisplayFontCreated = displayFont != nullptr;
    return displayFont;
}

int TFontItem::PreviewSize(int points) const
{
    // The descent is held negated: the cell is ascent plus the descent's size.
    const int cell = FWinAscent - FWinDescent;
    int size = points;
    if (FUnitsPerEm != 0 && cell > 0)
        size = MulDiv(points, FUnitsPerEm, cell);
    else if (FMetricsSource == MetricsSource::Measured && FTextMetrics.HeightRatio != 0)
        size = MulDiv(points, 1000, FTextMetrics.HeightRatio);
    return std::max(size, kMinimumPreviewSize);
}

void TFontItem::MeasureTextMetrics(const platform::TDisplayFont& font)
{
    const platform::TTextMetrics metrics = font.TextMetrics();
    FTextMetrics.CellHeight = metrics.Height;
    FTextMetrics.InternalLeading = metrics.InternalLeading;
    FTextMetrics.HeightRatio =
        metrics.Height == 0
            ? 1000
            : static_cast<int>(std::lround(1000.0 * (metrics.Height + metrics.InternalLeading + metrics.ExternalLeading)
                                           / metrics.Height));
    FMetricsSource = MetricsSource::Measured;
}

bool TFontItem::DrawPreview(QPainter& painter, const QRect& rect, const QString& fallbackText,
                            const QString& previewText, int points)
{
    int top = rect.top() + 1;
    if (FTextMetrics.CellHeight != 0)
        top = rect.top()
              - static_cast<int>(std::lround(double(FTextMetrics.InternalLeading) / FTextMetrics.CellHeight * points)) + 1;
    QRect textRect = rect;
    textRect.setTop(top);

    const TFontItemReference reference(*this);
    const auto font = CreateDisplayFont(PreviewSize(points));
    const TClipScope clip(painter, rect);
    if (font) {
        if (FMetricsSource == MetricsSource::NotMeasured)
            MeasureTextMetrics(*font);
        const platform::TTextMetrics metrics = font->TextMetrics();
        if (font->DrawText(painter, QPointF(textRect.left(), textRect.top() + metrics.Ascent), previewText))
            return true;
    }
    SetStatus(FontStatus::NotDisplayable, true);
    QFont fallback(PreviewFallbackFontName());
    fallback.setPointSize(std::max(1, static_cast<int>(std::lround(points * 0.7))));
    painter.setFont(fallback);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, fallbackText);
    return false;
}

bool TFontItem::DrawTextCentred(QPainter& painter, const QRect& rect, const QString& text, int points)
{
    const TFontItemReference reference(*this);
    const auto font = CreateDisplayFont(points);
    if (!font)
        return false;
    QRect textRect = rect;
    textRect.setTop(rect.top() - static_cast<int>(std::lround(points * 0.2)));
    const platform::TTextMetrics metrics = font->TextMetrics();
    const double baseline = textRect.top() + (textRect.height() - metrics.Height) / 2.0 + metrics.Ascent;
    const TClipScope clip(painter, rect);
    return font->DrawText(painter, QPointF(textRect.left(), baseline), text);
}

} // namespace catalogue
