#include "FreeTypeGlyphs.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRect>

#include FT_BITMAP_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace platform {

namespace {

// Light hinting keeps the shapes and snaps them to the pixel grid vertically only; colour
// glyphs (emoji) come as colour images.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_COLOR;
constexpr char32_t kSymbolAliasBase = 0xF000;

// One rendered glyph: coverage (Alpha8) or a colour image (premultiplied ARGB32), and where
// its top-left pixel lies from the pen's start, in pixels.
struct TGlyphImage {
    QImage Image;
    QPoint TopLeft;
};

const unsigned char* TopRow(const FT_Bitmap& bitmap)
{
    // A negative pitch stores the rows bottom up; the buffer starts at the lowest row.
    if (bitmap.pitch >= 0)
        return bitmap.buffer;
    return bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -bitmap.pitch;
}

// An image of the bitmap's size whose rows fillRow writes from the bitmap's rows, top first.
template <class FillRow>
QImage ImageOfRows(const FT_Bitmap& bitmap, QImage::Format format, FillRow fillRow)
{
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    QImage image(width, rows, format);
    const unsigned char* row = TopRow(bitmap);
    for (int y = 0; y < rows; ++y, row += bitmap.pitch)
        fillRow(row, image.scanLine(y), width);
    return image;
}

QImage GrayImage(const FT_Bitmap& bitmap, int levels)
{
    return ImageOfRows(bitmap, QImage::Format_Alpha8, [levels](const unsigned char* row, uchar* out, int width) {
        if (levels == 256) {
            std::copy_n(row, width, out);
            return;
        }
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<uchar>(std::min(255, row[x] * 255 / std::max(1, levels - 1)));
    });
}

QImage MonoImage(const FT_Bitmap& bitmap)
{
    return ImageOfRows(bitmap, QImage::Format_Alpha8, [](const unsigned char* row, uchar* out, int width) {
        for (int x = 0; x < width; ++x)
            out[x] = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
    });
}

QImage ColourImage(const FT_Bitmap& bitmap)
{
    return ImageOfRows(bitmap, QImage::Format_ARGB32_Premultiplied,
                       [](const unsigned char* row, uchar* out, int width) {
                           auto* pixels = reinterpret_cast<QRgb*>(out);
                           for (int x = 0; x < width; ++x) {
                               const unsigned char* bgra = row + 4 * x;
                               pixels[x] = qRgba(bgra[2], bgra[1], bgra[0], bgra[3]);
                           }
                       });
}

QImage ImageOf(FT_GlyphSlot slot)
{
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer)
        return {};
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_GRAY: return GrayImage(bitmap, bitmap.num_grays);
    case FT_PIXEL_MODE_MONO: return MonoImage(bitmap);
    case FT_PIXEL_MODE_BGRA: return ColourImage(bitmap);
    default: break;
    }
    // Two- and four-bit gray (rare bitmap strikes): one byte per pixel first.
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    QImage image;
    if (FT_Bitmap_Convert(slot->library, &bitmap, &converted, 1) == 0)
        image = GrayImage(converted, converted.num_grays);
    FT_Bitmap_Done(slot->library, &converted);
    return image;
}

QRgb Over(QRgb source, QRgb target)
{
    const int keep = 255 - qAlpha(source);
    return qRgba(qRed(source) + qRed(target) * keep / 255, qGreen(source) + qGreen(target) * keep / 255,
                 qBlue(source) + qBlue(target) * keep / 255, qAlpha(source) + qAlpha(target) * keep / 255);
}

void Compose(QImage& canvas, const TGlyphImage& glyph, const QPoint& at, const QColor& colour)
{
    const QImage& image = glyph.Image;
    const bool coverage = image.format() == QImage::Format_Alpha8;
    const QRgb pen = colour.rgba();
    for (int y = 0; y < image.height(); ++y) {
        auto* target = reinterpret_cast<QRgb*>(canvas.scanLine(at.y() + y)) + at.x();
        if (coverage) {
            const uchar* cover = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = cover[x] * qAlpha(pen) / 255;
                if (alpha != 0)
                    target[x] = Over(qRgba(qRed(pen) * alpha / 255, qGreen(pen) * alpha / 255,
                                           qBlue(pen) * alpha / 255, alpha),
                                     target[x]);
            }
        } else {
            const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                target[x] = Over(source[x], target[x]);
        }
    }
}

// The right edge beyond which nothing drawn can be seen, in the painter's coordinates.
double VisibleRight(const QPainter& painter)
{
    double right = std::numeric_limits<double>::max();
    if (painter.hasClipping())
        right = painter.clipBoundingRect().right();
    if (const QPaintDevice* device = painter.device())
        right = std::min(right, painter.deviceTransform().inverted().map(QPointF(device->width(), 0)).x());
    return right;
}

} // namespace

void ChooseCharacterMap(FT_Face face)
{
    if (face->charmap || face->num_charmaps <= 0)
        return;
    if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0)
        FT_Set_Charmap(face, face->charmaps[0]);
}

FT_UInt GlyphOfCharacter(FT_Face face, char32_t code)
{
    FT_UInt glyph = FT_Get_Char_Index(face, code);
    if (glyph != 0 || code >= 0x100)
        return glyph;
    // A symbol font has no Unicode meaning for its glyphs: a character code reaches them
    // through the font's own encoding (a Type 1 font's built-in one, the private-use aliases
    // of an SFNT symbol map), as the code of a symbol character set does.
    FT_CharMap current = face->charmap;
    for (FT_Int i = 0; i < face->num_charmaps && glyph == 0; ++i) {
        FT_CharMap map = face->charmaps[i];
        switch (map->encoding) {
        case FT_ENCODING_MS_SYMBOL:
            FT_Set_Charmap(face, map);
            glyph = FT_Get_Char_Index(face, kSymbolAliasBase + code);
            if (glyph == 0)
                glyph = FT_Get_Char_Index(face, code);
            break;
        case FT_ENCODING_ADOBE_CUSTOM:
        case FT_ENCODING_ADOBE_STANDARD:
        case FT_ENCODING_ADOBE_EXPERT:
        case FT_ENCODING_ADOBE_LATIN_1:
            FT_Set_Charmap(face, map);
            glyph = FT_Get_Char_Index(face, code);
            break;
        default:
            break;
        }
    }
    if (current)
        FT_Set_Charmap(face, current);
    return glyph;
}

double GlyphTextWidth(FT_Face face, const QString& text)
{
    FT_Pos width = 0;
    for (const char32_t code : text.toUcs4()) {
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, GlyphOfCharacter(face, code), kLoadFlags, &advance) == 0)
            width += (advance + 512) >> 10;  // 16.16 to 26.6
    }
    return static_cast<double>(width) / 64.0;
}

bool PaintsDevicePixels(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device)
        return false;
    switch (device->devType()) {
    case QInternal::Widget:
    case QInternal::Pixmap:
    case QInternal::Image:
        break;
    default:
        return false;
    }
    return painter.deviceTransform().type() <= QTransform::TxTranslate;
}

void DrawGlyphText(QPainter& painter, FT_Face face, const QPointF& origin, const QString& text)
{
    const QPoint start(static_cast<int>(std::lround(origin.x())), static_cast<int>(std::lround(origin.y())));
    const double visibleRight = VisibleRight(painter);
    // A glyph may reach back over its pen position by about its size (italic overhangs).
    const double reach = face->size ? static_cast<double>(face->size->metrics.y_ppem) : 0.0;

    std::vector<TGlyphImage> glyphs;
    QRect bounds;
    FT_Pos pen = 0;  // 26.6 pixels from start
    for (const char32_t code : text.toUcs4()) {
        if (start.x() + static_cast<double>(pen) / 64.0 - reach > visibleRight)
            break;
        if (FT_Load_Glyph(face, GlyphOfCharacter(face, code), kLoadFlags | FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        TGlyphImage glyph{ImageOf(slot), QPoint(static_cast<int>((pen + 32) >> 6) + slot->bitmap_left, -slot->bitmap_top)};
        pen += slot->advance.x;
        if (glyph.Image.isNull())
            continue;
        bounds |= QRect(glyph.TopLeft, glyph.Image.size());
        glyphs.push_back(std::move(glyph));
    }
    if (bounds.isEmpty())
        return;
    QImage canvas(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QColor colour = painter.pen().color();
    for (const TGlyphImage& glyph : glyphs)
        Compose(canvas, glyph, glyph.TopLeft - bounds.topLeft(), colour);
    painter.drawImage(start + bounds.topLeft(), canvas);
}

} // namespace platform
