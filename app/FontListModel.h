#pragma once

// The rows of one font list: one face per row, in the list's sort order. A row only points
// at its face (the catalogue owns it); every text is computed when the view asks for it, so
// only rows on screen cost anything.
//
// Batches go inside BeginUpdate/EndUpdate: removed rows leave the view at the end of the
// update, added rows join it at once in one insertion, then the list is sorted once.

#include "app/FontListColumns.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>

#include <vector>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

class TFontListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TFontListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The face of a row; none for a row outside the list (or one removed in this update).
    catalogue::TFontItem* ItemAt(int row) const;
    // The row of a face, -1 when it has none.
    int RowOf(const catalogue::TFontItem* face) const;
    // Whether the face has a row or gets one at the end of this update.
    bool HasRow(const catalogue::TFontItem* face) const;

    // Nested updates count once; the outermost EndUpdate applies and sorts.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateDepth > 0; }
    // Outside an update each is an update of its own.
    void AddRow(catalogue::TFontItem* face);
    void RemoveRow(const catalogue::TFontItem* face);
    void Clear();

    // -1 while unsorted.
    int SortColumn() const { return FSortColumn; }
    Qt::SortOrder SortOrder() const { return FSortOrder; }
    // Sorts again by the current column and direction.
    void Resort();

    // The first row from startRow on (wrapping around) whose sort column text begins with
    // text, ignoring case; -1 when none does.
    int FindIncremental(const QString& text, int startRow) const;

    // Repaints every row (another preview text, status changes).
    void RepaintAll();

    // Completed updates that changed rows, and sorts done; for checks of the batch rules.
    int UpdateCount() const { return FUpdateCount; }
    int SortCount() const { return FSortCount; }

signals:
    // A face loses its row (it may be freed before the update ends), or all faces do.
    void FaceLeaving(const catalogue::TFontItem* face);
    void AllFacesLeaving();

private:
    void ApplyPending();
    void SortRows();
    void RebuildIndex() const;

    std::vector<catalogue::TFontItem*> FRows;
    std::vector<catalogue::TFontItem*> FPendingAdds;
    QSet<const catalogue::TFontItem*> FPendingSet;
    mutable QHash<const catalogue::TFontItem*, int> FRowIndex;
    mutable bool FIndexValid = true;
    int FUpdateDepth = 0;
    bool FRemovalsPending = false;
    int FSortColumn = 0;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
    int FUpdateCount = 0;
    int FSortCount = 0;
};

// The face of a model index of a font list model; none for other models.
catalogue::TFontItem* FontItemOf(const QModelIndex& index);

} // namespace app
