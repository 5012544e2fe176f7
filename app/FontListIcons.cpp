#include "app/FontListIcons.h"

#include "catalogue/FontItem.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace app {

namespace {

struct TTypeLook {
    const char* Letter;
    QRgb Colour;
};

// By type image index: 2 unknown, 3 vector, 4 raster, 5 Type 1, 6 TrueType, 7 unreadable,
// 8 OpenType (TrueType outlines), 9 OpenType (PostScript outlines), 10 collection.
constexpr std::array<TTypeLook, kTypeImageCount> kTypeLooks{{
    {"", 0xff808080},
    {"", 0xff808080},
    {"?", 0xff808080},
    {"V", 0xff6a5acd},
    {"R", 0xff8b4513},
    {"1", 0xffb22222},
    {"T", 0xff1e6fbf},
    {"!", 0xffc00000},
    {"O", 0xff2e8b57},
    {"O", 0xffc0561e},
    {"C", 0xff1e6fbf},
}};

QPixmap DrawTypeImage(int index)
{
    QPixmap pixmap(10, 14);
    pixmap.fill(Qt::transparent);
    const TTypeLook& look = kTypeLooks[static_cast<std::size_t>(index)];
    if (look.Letter[0] == 0)
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(look.Colour));
    painter.drawRoundedRect(QRectF(0.5, 1.5, 9, 11), 2, 2);
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 1, 10, 12), Qt::AlignCenter, QString::fromLatin1(look.Letter));
    return pixmap;
}

// 0 installed and loaded, 1 similar installed and loaded, 2 loaded, 3 similar loaded,
// 4 installed not loaded, 5 similar installed not loaded; similar ones are hollow.
QPixmap DrawStateImage(int index)
{
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (index == kShortcutOverlayImage) {
        // A small bent arrow in a white box.
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(0.5, 0.5, 6, 6));
        QPainterPath arrow;
        arrow.moveTo(2, 5.5);
        arrow.lineTo(2, 3);
        arrow.lineTo(5, 3);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arrow);
        painter.drawLine(QPointF(4, 1.8), QPointF(5.2, 3));
        painter.drawLine(QPointF(4, 4.2), QPointF(5.2, 3));
        return pixmap;
    }
    if (index < 0 || index > 5)
        return pixmap;
    const QColor loaded(0x2e, 0xa0, 0x43);
    const QColor installedOnly(0xe0, 0x9a, 0x1a);
    const QColor colour = index >= 4 ? installedOnly : loaded;
    const bool similar = index == 1 || index == 3 || index == 5;
    const bool installed = index == 0 || index == 1 || index >= 4;
    painter.setPen(QPen(colour.darker(130), 1));
    painter.setBrush(similar ? QBrush(Qt::white) : QBrush(colour));
    if (installed)
        painter.drawRect(QRectF(0.5, 0.5, 7, 7));
    else
        painter.drawEllipse(QRectF(0.5, 0.5, 7, 7));
    return pixmap;
}

} // namespace

int TypeImageIndex(std::uint8_t fontKind)
{
    static constexpr std::array<int, 9> kByKind{2, 4, 3, 5, 10, 6, 8, 9, 7};
    return fontKind < kByKind.size() ? kByKind[fontKind] : kByKind[0];
}

int StateImageIndex(const catalogue::TFontItem& face)
{
    using catalogue::TFontStatusCode;
    switch (face.StatusCode()) {
    case TFontStatusCode::Installed: return 0;
    case TFontStatusCode::SimilarInstalled: return 1;
    case TFontStatusCode::Loaded: return 2;
    case TFontStatusCode::SimilarLoaded: return 3;
    case TFontStatusCode::InstalledNotLoaded: return 4;
    case TFontStatusCode::SimilarInstalledNotLoaded: return 5;
    case TFontStatusCode::NotInstalledNotLoaded: return -1;
    }
    return -1;
}

const QPixmap& TypeImage(int index)
{
    static const std::array<QPixmap, kTypeImageCount> images = [] {
        std::array<QPixmap, kTypeImageCount> drawn;
        for (int i = 0; i < kTypeImageCount; ++i)
            drawn[static_cast<std::size_t>(i)] = DrawTypeImage(i);
        return drawn;
    }();
    return images[static_cast<std::size_t>(index >= 0 && index < kTypeImageCount ? index : 2)];
}

const QPixmap& StateImage(int index)
{
    static const std::array<QPixmap, kStateImageCount> images = [] {
        std::array<QPixmap, kStateImageCount> drawn;
        for (int i = 0; i < kStateImageCount; ++i)
            drawn[static_cast<std::size_t>(i)] = DrawStateImage(i);
        return drawn;
    }();
    return images[static_cast<std::size_t>(index >= 0 && index < kStateImageCount ? index : 6)];
}

QIcon TypeIcon(int index)
{
    return QIcon(TypeImage(index));
}

} // namespace app
