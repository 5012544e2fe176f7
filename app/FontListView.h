#pragma once

// One font list of the Fonts panel (vstActiveFonts, vstBrowseFonts, vstGroupFonts): a flat
// tree view over a TFontListModel whose rows a TFontListDelegate draws. Sorting by header
// click and the header menu, incremental search on the sort column, the row height by
// preview size and resolution, and the text an empty Groups list shows.

#include "app/FontListShownFaces.h"

#include <QTreeView>

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

class TFontListModel;
class TFontListPreviewTexts;

class TFontListView : public QTreeView {
    Q_OBJECT
public:
    TFontListView(const QString& objectName, QWidget* parent);

    TFontListModel& Model() const { return *FModel; }

    // --- Preview
    void SetPreviewSizeIndex(int sizeIndex);
    int PreviewSizeIndex() const { return FPreviewSizeIndex; }
    int PreviewPoints() const;
    bool PreviewColumnVisible() const;
    // The height of every row: the preview size's, or the plain one without the preview
    // column, at the screen's resolution.
    int RowHeight() const;
    // Rows measured again after a change of size or of the preview column.
    void RemeasureRows();
    void SetPreviewTexts(const TFontListPreviewTexts* texts) { FPreviewTexts = texts; }
    QString PreviewTextFor(const catalogue::TFontItem& face) const;

    // The face of a row being drawn: it stays referenced while it is (nearly) on screen.
    void FaceShown(catalogue::TFontItem& face) const;
    const TFontListShownFaces& ShownFaces() const { return FShownFaces; }
    TFontListShownFaces& ShownFaces() { return FShownFaces; }

    // Drawn below the header while set (an empty text draws nothing).
    void SetEmptyListText(const QString& text);
    const QString& EmptyListText() const { return FEmptyListText; }

    // Called for the face of every row just before the row is painted.
    std::function<void(catalogue::TFontItem& face)> OnBeforeItemPaint;

    // --- Selection
    int SelectedRowCount() const;
    // The focused row's face when that row is selected, else the first selected row's.
    catalogue::TFontItem* FocusedFont() const;
    // Clears the selection, then focuses, selects and shows the face's row.
    void SelectOnly(const catalogue::TFontItem* face);
    // Focuses and selects the first row.
    void SelectFirstRow();

    // --- Sorting
    // A click on a header: that column ascending, or the other direction when it already is
    // the sort column.
    void HeaderClick(int section);
    void SortBy(int column, Qt::SortOrder order);
    // The header menu for the column at the header position.
    void ShowHeaderMenu(int section, const QPoint& globalPosition);

signals:
    // "&Columns..." of the header menu.
    void ColumnsRequested();
    // F5 in the list.
    void RefreshRequested();

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TFontListModel* FModel;
    mutable TFontListShownFaces FShownFaces;
    const TFontListPreviewTexts* FPreviewTexts = nullptr;
    int FPreviewSizeIndex;
    QString FEmptyListText;
    QString FSearchText;
    QElapsedTimer FSearchClock;
};

} // namespace app
