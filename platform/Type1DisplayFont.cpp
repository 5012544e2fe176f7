#include "Type1DisplayFont.h"

#include "FontEngineFreeType.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {

using TFixed = std::int64_t;  // 16.16, as FreeType's FT_Fixed

constexpr TFixed kOne = 0x10000;
constexpr int kDefaultUnitsPerEm = 1000;

TFixed ToFixed(double value)
{
    return static_cast<TFixed>(std::llround(value * static_cast<double>(kOne)));
}

// FreeType's FT_MulFix and FT_DivFix: rounded, the sign kept apart.
TFixed MulFix(TFixed a, TFixed b)
{
    const bool negative = (a < 0) != (b < 0);
    const auto product = static_cast<std::uint64_t>(std::llabs(a)) * static_cast<std::uint64_t>(std::llabs(b));
    const auto result = static_cast<TFixed>((product + 0x8000) >> 16);
    return negative ? -result : result;
}

TFixed DivFix(TFixed a, TFixed b)
{
    const bool negative = (a < 0) != (b < 0);
    const auto numerator = static_cast<std::uint64_t>(std::llabs(a));
    const auto denominator = static_cast<std::uint64_t>(std::llabs(b));
    const auto result = static_cast<TFixed>(denominator > 0 ? ((numerator << 16) + (denominator >> 1)) / denominator
                                                            : 0x7FFFFFFF);
    return negative ? -result : result;
}

TFixed PixelCeil(TFixed value) { return (value + 63) & -64; }
TFixed PixelFloor(TFixed value) { return value & -64; }
TFixed PixelRound(TFixed value) { return (value + 32) & -64; }

class TType1DisplayFont final : public TDisplayFont {
public:
    TType1DisplayFont(TFontBytes bytes, QString file, int faceIndex, int pixelHeight, TTextMetrics metrics)
        : FBytes(std::move(bytes)), FFile(std::move(file)), FFaceIndex(faceIndex), FPixelHeight(pixelHeight),
          FMetrics(metrics)
    {
    }

    // A Type 1 font has no tables.
    std::optional<QByteArray> FontData(std::string_view) const override { return std::nullopt; }
    std::optional<std::uint32_t> FontDataSize(std::string_view) const override { return std::nullopt; }
    TTextMetrics TextMetrics() const override { return FMetrics; }

    bool DrawText(QPainter& painter, const QPointF& origin, const QString& text) const override
    {
        const TDisplayFont* face = Opened();
        return face && face->DrawText(painter, origin, text);
    }

    double TextWidth(const QString& text) const override
    {
        const TDisplayFont* face = Opened();
        return face ? face->TextWidth(text) : 0.0;
    }

    QString FontFile() const override { return FFile; }
    int FaceIndex() const override { return FFaceIndex; }

private:
    const TDisplayFont* Opened() const
    {
        if (!FOpenTried) {
            FOpenTried = true;
            FOpened = CreateFreeTypeDisplayFont(TFreeTypeFace::Open(FBytes, FFaceIndex), FFile, FFaceIndex,
                                                FPixelHeight);
        }
        return FOpened.get();
    }

    TFontBytes FBytes;
    QString FFile;
    int FFaceIndex;
    int FPixelHeight;
    TTextMetrics FMetrics;
    mutable bool FOpenTried = false;
    mutable std::unique_ptr<TDisplayFont> FOpened;
};

} // namespace

std::optional<TTextMetrics> Type1TextMetrics(const fontfile::TType1OutlineHeader& header, int pixelHeight)
{
    if (pixelHeight <= 0)
        return std::nullopt;
    // The matrix's vertical scale, in thousandths: 0.001 is the usual 1000 units per em.
    const TFixed scale = std::llabs(ToFixed(header.FontMatrix[3] * 1000.0));
    if (scale == 0)
        return std::nullopt;
    TFixed unitsPerEm = kDefaultUnitsPerEm;
    if (scale != kOne)
        unitsPerEm = static_cast<std::uint16_t>(DivFix(kDefaultUnitsPerEm, scale));
    if (unitsPerEm == 0)
        return std::nullopt;

    const TFixed yMin = ToFixed(header.FontBBox[1]);
    const TFixed yMax = ToFixed(header.FontBBox[3]);
    const auto ascender = static_cast<std::int16_t>((yMax + 0xFFFF) >> 16);
    const auto descender = static_cast<std::int16_t>(yMin >> 16);
    auto lineHeight = static_cast<std::int16_t>((unitsPerEm * 12) / 10);
    if (lineHeight < ascender - descender)
        lineHeight = static_cast<std::int16_t>(ascender - descender);

    const TFixed yScale = DivFix(static_cast<TFixed>(pixelHeight) << 6, unitsPerEm);
    const TFixed scaledAscender = PixelCeil(MulFix(ascender, yScale));
    const TFixed scaledDescender = PixelFloor(MulFix(descender, yScale));
    const TFixed scaledHeight = PixelRound(MulFix(lineHeight, yScale));

    TTextMetrics metrics;
    metrics.Ascent = static_cast<int>((scaledAscender + 63) >> 6);
    metrics.Descent = static_cast<int>((-scaledDescender + 63) >> 6);
    metrics.Height = metrics.Ascent + metrics.Descent;
    metrics.InternalLeading = std::max(0, metrics.Height - pixelHeight);
    metrics.ExternalLeading = std::max(0, static_cast<int>(scaledHeight >> 6) - metrics.Height);
    return metrics;
}

std::unique_ptr<TDisplayFont> CreateType1DisplayFont(const TFontBytes& bytes, const QString& file, int faceIndex,
                                                     int pixelHeight)
{
    if (!bytes || faceIndex > 0)
        return nullptr;
    const auto header = fontfile::ReadType1OutlineHeader(bytes->View());
    if (!header)
        return nullptr;
    const auto metrics = Type1TextMetrics(*header, pixelHeight);
    if (!metrics)
        return nullptr;
    return std::make_unique<TType1DisplayFont>(bytes, file, std::max(faceIndex, 0), pixelHeight, *metrics);
}

} // namespace platform
