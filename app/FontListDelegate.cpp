#include "app/FontListDelegate.h"

#include "app/FontListColumns.h"
#include "app/FontListIcons.h"
#include "app/FontListModel.h"
#include "app/FontListPreviewSize.h"
#include "app/FontListView.h"
#include "catalogue/FontItem.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>

namespace app {

namespace {

constexpr int kTextMargin = 4;
constexpr int kTextPoints = 8;
constexpr int kSecondLineOffset = 15;
constexpr int kPreviewColumnWidth = 200;

QRect PreviewRect(const QRect& cell)
{
    return cell.adjusted(5, 1, -3, -1);
}

} // namespace

TFontListDelegate::TFontListDelegate(TFontListView& view)
    : QStyledItemDelegate(&view), FView(view)
{
}

QFont TFontListDelegate::TextFont() const
{
    QFont font = QApplication::font(&FView);
    font.setPointSize(kTextPoints);
    return font;
}

void TFontListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    catalogue::TFontItem* face = FontItemOf(index);
    if (!face) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The background and focus frame as the style draws them, without the model's text.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = QIcon();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool focused = FView.hasFocus();
    painter->setPen(option.palette.color(selected && focused ? QPalette::HighlightedText : QPalette::Text));

    QRect cell = option.rect;
    const bool firstColumn = FView.header()->visualIndex(index.column()) == 0;
    if (firstColumn)
        cell.setLeft(cell.left() + kRowImagesWidth);
    DrawCell(*painter, cell, *face, index.column());
    painter->restore();

    if (firstColumn)
        DrawRowImages(*painter, option.rect, *face);
}

void TFontListDelegate::DrawCell(QPainter& painter, const QRect& rect, catalogue::TFontItem& face, int column) const
{
    const TColumnKind kind = ColumnKindOf(column);
    if (kind == TColumnKind::Preview) {
        DrawPreviewCell(painter, PreviewRect(rect), face);
        return;
    }
    painter.setFont(TextFont());
    const Qt::Alignment alignment = ColumnRightAligned(kind) ? Qt::AlignRight : Qt::AlignLeft;
    if (kind == TColumnKind::FileSize || kind == TColumnKind::FileName || kind == TColumnKind::Folder) {
        const bool twoLines = FView.PreviewColumnVisible() && rect.height() >= kTwoLineRowHeight;
        DrawLines(painter, rect, FileColumnLines(face, kind, twoLines), alignment);
        return;
    }
    DrawLines(painter, rect, {ColumnText(face, kind)}, alignment);
}

void TFontListDelegate::DrawPreviewCell(QPainter& painter, const QRect& rect, catalogue::TFontItem& face) const
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    FView.FaceShown(face);
    const QString text = FView.PreviewTextFor(face);
    const int points = FView.PreviewPoints();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // What the preview looks like; a repaint with the same key copies the kept image.
    // The first drawing measures the face, which moves the later ones a little: a kept
    // image from before the measurement is drawn again.
    const QString key = QStringLiteral("%1%2|%3|%4|%5|%6x%7|%8")
                            .arg(face.HasStatus(catalogue::FontStatus::NotDisplayable))
                            .arg(face.MetricsSource())
                            .arg(points)
                            .arg(painter.pen().color().rgba())
                            .arg(ratio)
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(text);
    TFontListShownFaces& shown = FView.ShownFaces();
    if (const QPixmap* kept = shown.Preview(&face, key)) {
        painter.drawPixmap(rect.topLeft(), *kept);
        return;
    }
    QPixmap image(rect.size() * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter imagePainter(&image);
        imagePainter.setPen(painter.pen());
        imagePainter.setFont(painter.font());
        imagePainter.setRenderHints(painter.renderHints());
        face.DrawPreview(imagePainter, QRect(QPoint(0, 0), rect.size()), QStringLiteral("<Font not accessible>"), text,
                         points);
    }
    shown.StorePreview(&face, key, image);
    painter.drawPixmap(rect.topLeft(), image);
}

void TFontListDelegate::DrawLines(QPainter& painter, const QRect& rect, const QStringList& lines,
                                  Qt::Alignment alignment) const
{
    if (lines.isEmpty())
        return;
    const QRect inner = rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const QFontMetrics metrics(painter.font());
    const auto drawLine = [&](const QRect& area, const QString& text) {
        painter.drawText(area, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                         metrics.elidedText(text, Qt::ElideRight, area.width()));
    };
    if (lines.size() == 1) {
        drawLine(inner, lines.front());
        return;
    }
    // Two lines, the second 15 pixels below the first, the pair centred in the row.
    const int top = inner.top() + (inner.height() - 2 * kSecondLineOffset) / 2;
    drawLine(QRect(inner.left(), top, inner.width(), kSecondLineOffset), lines.at(0));
    drawLine(QRect(inner.left(), top + kSecondLineOffset, inner.width(), kSecondLineOffset), lines.at(1));
}

void TFontListDelegate::DrawRowImages(QPainter& painter, const QRect& rect, const catalogue::TFontItem& face)
{
    const QPixmap& type = TypeImage(TypeImageIndex(face.FontKind()));
    painter.drawPixmap(rect.left() + 4, rect.top() + (rect.height() - type.height()) / 2, type);
    const int state = StateImageIndex(face);
    if (state >= 0) {
        const QPixmap& image = StateImage(state);
        painter.drawPixmap(rect.left() + 14, rect.top() + (rect.height() - image.height()) / 2, image);
    }
    if (face.ViaShortcut()) {
        const QPixmap& overlay = StateImage(kShortcutOverlayImage);
        painter.drawPixmap(rect.left() + 2, rect.top() + (rect.height() + type.height()) / 2 - overlay.height(), overlay);
    }
}

QSize TFontListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Q_UNUSED(option);
    const int height = FView.RowHeight();
    const catalogue::TFontItem* face = FontItemOf(index);
    if (!face)
        return {0, height};
    const TColumnKind kind = ColumnKindOf(index.column());
    int width = kPreviewColumnWidth;
    if (kind != TColumnKind::Preview) {
        QStringList lines;
        if (kind == TColumnKind::FileSize || kind == TColumnKind::FileName || kind == TColumnKind::Folder)
            lines = FileColumnLines(*face, kind, FView.PreviewColumnVisible() && height >= kTwoLineRowHeight);
        else
            lines = {ColumnText(*face, kind)};
        const QFontMetrics metrics(TextFont());
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        width = 2 * kTextMargin + widest;
    }
    if (FView.header()->visualIndex(index.column()) == 0)
        width += kRowImagesWidth;
    return {width, height};
}

} // namespace app
