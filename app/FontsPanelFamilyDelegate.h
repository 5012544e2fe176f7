#pragma once

// The entries of the family drop-down cbFonts: the type image of the family's first shown
// face, then the family name drawn in that face (symbol fonts: the name in the interface
// font followed by a sample in the face).

#include <QStyledItemDelegate>

#include <functional>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

class TFontsPanelFamilyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // faceOf answers the face that shows the family of that name, none when there is none.
    using TFaceOf = std::function<catalogue::TFontItem*(const QString& familyName)>;
    TFontsPanelFamilyDelegate(TFaceOf faceOf, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TFaceOf FFaceOf;
};

} // namespace app
