#pragma once

// Draws the cells of a font list: the preview in the face's own font at the preview size,
// the file columns in their one- and two-line forms, the other columns' texts, and the type
// and state images (with the shortcut overlay) at the left of the first column.

#include <QStyledItemDelegate>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

class TFontListView;

class TFontListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TFontListDelegate(TFontListView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The font of every text but the preview: the interface font at 8 points.
    QFont TextFont() const;

private:
    void DrawCell(QPainter& painter, const QRect& rect, catalogue::TFontItem& face, int column) const;
    void DrawPreviewCell(QPainter& painter, const QRect& rect, catalogue::TFontItem& face) const;
    void DrawLines(QPainter& painter, const QRect& rect, const QStringList& lines, Qt::Alignment alignment) const;
    static void DrawRowImages(QPainter& painter, const QRect& rect, const catalogue::TFontItem& face);

    TFontListView& FView;
};

} // namespace app
