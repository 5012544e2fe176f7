#include "app/FontsPanelFamilyDelegate.h"

#include "app/FontListIcons.h"
#include "catalogue/DisplaySettings.h"
#include "catalogue/FontItem.h"

#include <QApplication>
#include <QPainter>

namespace app {

namespace {

constexpr int kEntryHeight = 21;
constexpr int kImageLeft = 4;
constexpr int kTextLeft = 23;
constexpr int kPreviewPoints = 16;
constexpr int kSymbolNamePoints = 8;
constexpr int kSymbolSampleGap = 4;
const char* const kSymbolSample = "AbCdEfGhIj";

} // namespace

TFontsPanelFamilyDelegate::TFontsPanelFamilyDelegate(TFaceOf faceOf, QObject* parent)
    : QStyledItemDelegate(parent), FFaceOf(std::move(faceOf))
{
}

void TFontsPanelFamilyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = QIcon();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QString familyName = index.data(Qt::DisplayRole).toString();
    catalogue::TFontItem* face = FFaceOf ? FFaceOf(familyName) : nullptr;
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect rect = option.rect;
    if (face) {
        const QPixmap& type = TypeImage(TypeImageIndex(face->FontKind()));
        painter->drawPixmap(rect.left() + kImageLeft, rect.top() + (rect.height() - type.height()) / 2, type);
    }
    QRect textRect = rect.adjusted(kTextLeft, 0, 0, 0);
    bool drawn = false;
    if (face && face->Symbol()) {
        QFont nameFont(catalogue::PreviewFallbackFontName());
        nameFont.setPointSize(kSymbolNamePoints);
        painter->setFont(nameFont);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, familyName);
        textRect.setLeft(textRect.left() + QFontMetrics(nameFont).horizontalAdvance(familyName) + kSymbolSampleGap);
        face->DrawTextCentred(*painter, textRect, QString::fromLatin1(kSymbolSample), kPreviewPoints);
        drawn = true;
    } else if (face) {
        drawn = face->DrawTextCentred(*painter, textRect, familyName, kPreviewPoints);
    }
    if (!drawn) {
        painter->setFont(option.font);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, familyName);
    }
    painter->restore();
}

QSize TFontsPanelFamilyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(catalogue::MulDiv(kEntryHeight, catalogue::ScreenDpiY(), 96));
    return size;
}

} // namespace app
