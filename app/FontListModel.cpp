#include "app/FontListModel.h"

#include "catalogue/FontItem.h"
#include "catalogue/FontOrdering.h"

#include <algorithm>

namespace app {

using catalogue::TFontItem;

TFontListModel::TFontListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int TFontListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TFontListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kFontListColumnCount;
}

QVariant TFontListModel::data(const QModelIndex& index, int role) const
{
    const TFontItem* face = ItemAt(index.row());
    if (!face || index.column() < 0 || index.column() >= kFontListColumnCount)
        return {};
    const TColumnKind kind = ColumnKindOf(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return ColumnText(*face, kind);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (ColumnRightAligned(kind) ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant TFontListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kFontListColumnCount)
        return {};
    const TColumnKind kind = ColumnKindOf(section);
    if (role == Qt::DisplayRole)
        return ColumnCaption(kind);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (ColumnRightAligned(kind) ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

TFontItem* TFontListModel::ItemAt(int row) const
{
    if (row < 0 || row >= static_cast<int>(FRows.size()))
        return nullptr;
    return FRows[static_cast<std::size_t>(row)];
}

void TFontListModel::RebuildIndex() const
{
    FRowIndex.clear();
    FRowIndex.reserve(static_cast<qsizetype>(FRows.size()));
    for (std::size_t row = 0; row < FRows.size(); ++row)
        if (FRows[row])
            FRowIndex.insert(FRows[row], static_cast<int>(row));
    FIndexValid = true;
}

int TFontListModel::RowOf(const TFontItem* face) const
{
    if (!face)
        return -1;
    if (!FIndexValid)
        RebuildIndex();
    return FRowIndex.value(face, -1);
}

bool TFontListModel::HasRow(const TFontItem* face) const
{
    return RowOf(face) >= 0 || FPendingSet.contains(face);
}

void TFontListModel::BeginUpdate()
{
    ++FUpdateDepth;
}

void TFontListModel::EndUpdate()
{
    if (FUpdateDepth == 0)
        return;
    if (--FUpdateDepth > 0)
        return;
    ApplyPending();
}

void TFontListModel::AddRow(TFontItem* face)
{
    if (!face || HasRow(face))
        return;
    BeginUpdate();
    FPendingAdds.push_back(face);
    FPendingSet.insert(face);
    EndUpdate();
}

void TFontListModel::RemoveRow(const TFontItem* face)
{
    emit FaceLeaving(face);
    if (FPendingSet.remove(face)) {
        FPendingAdds.erase(std::find(FPendingAdds.begin(), FPendingAdds.end(), face));
        return;
    }
    const int row = RowOf(face);
    if (row < 0)
        return;
    BeginUpdate();
    // The face may be freed before the update ends: the row keeps no pointer to it.
    FRows[static_cast<std::size_t>(row)] = nullptr;
    FRowIndex.remove(face);
    FRemovalsPending = true;
    EndUpdate();
}

void TFontListModel::ApplyPending()
{
    if (!FRemovalsPending && FPendingAdds.empty())
        return;
    if (FRemovalsPending) {
        // Runs of removed rows leave from the end, so the rows before them keep their numbers.
        int last = static_cast<int>(FRows.size()) - 1;
        while (last >= 0) {
            if (FRows[static_cast<std::size_t>(last)]) {
                --last;
                continue;
            }
            int first = last;
            while (first > 0 && !FRows[static_cast<std::size_t>(first - 1)])
                --first;
            beginRemoveRows(QModelIndex(), first, last);
            FRows.erase(FRows.begin() + first, FRows.begin() + last + 1);
            endRemoveRows();
            last = first - 1;
        }
        FRemovalsPending = false;
        FIndexValid = false;
    }
    if (!FPendingAdds.empty()) {
        const int first = static_cast<int>(FRows.size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(FPendingAdds.size()) - 1);
        FRows.insert(FRows.end(), FPendingAdds.begin(), FPendingAdds.end());
        FPendingAdds.clear();
        FPendingSet.clear();
        FIndexValid = false;
        endInsertRows();
    }
    ++FUpdateCount;
    Resort();
}

void TFontListModel::Clear()
{
    emit AllFacesLeaving();
    FPendingAdds.clear();
    FPendingSet.clear();
    FRemovalsPending = false;
    if (FRows.empty())
        return;
    beginResetModel();
    FRows.clear();
    FRowIndex.clear();
    FIndexValid = true;
    endResetModel();
}

void TFontListModel::sort(int column, Qt::SortOrder order)
{
    FSortColumn = column >= 0 && column < kFontListColumnCount ? column : -1;
    FSortOrder = order;
    Resort();
}

void TFontListModel::Resort()
{
    if (FSortColumn < 0 || FRows.size() < 2 || Updating())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<TFontItem*> faces;
    faces.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        faces.push_back(ItemAt(index.row()));

    SortRows();

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.push_back(index(RowOf(faces[static_cast<std::size_t>(i)]), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TFontListModel::SortRows()
{
    const catalogue::TFontCollator collator;
    const TColumnKind kind = ColumnKindOf(FSortColumn);
    const bool descending = FSortOrder == Qt::DescendingOrder;
    if (kind == TColumnKind::FileSize) {
        // The sizes are read once, not at every comparison.
        QHash<const TFontItem*, std::int64_t> sizes;
        for (const TFontItem* face : FRows)
            sizes.insert(face, FileSizeOf(face->FontFile()) + FileSizeOf(face->SecondFile()));
        std::stable_sort(FRows.begin(), FRows.end(), [&](const TFontItem* a, const TFontItem* b) {
            const std::int64_t sizeA = sizes.value(a), sizeB = sizes.value(b);
            int order = sizeA < sizeB ? -1 : (sizeB < sizeA ? 1 : 0);
            if (order == 0)
                order = CompareDefaultOrder(collator, *a, *b);
            return descending ? order > 0 : order < 0;
        });
    } else {
        std::stable_sort(FRows.begin(), FRows.end(), [&](const TFontItem* a, const TFontItem* b) {
            const int order = CompareByColumn(collator, *a, *b, kind);
            return descending ? order > 0 : order < 0;
        });
    }
    RebuildIndex();
    ++FSortCount;
}

int TFontListModel::FindIncremental(const QString& text, int startRow) const
{
    const int count = static_cast<int>(FRows.size());
    if (text.isEmpty() || count == 0)
        return -1;
    const TColumnKind kind = ColumnKindOf(FSortColumn >= 0 ? FSortColumn : 0);
    const int start = std::clamp(startRow, 0, count - 1);
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        const TFontItem* face = FRows[static_cast<std::size_t>(row)];
        if (face && ColumnText(*face, kind).left(text.size()).compare(text, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void TFontListModel::RepaintAll()
{
    if (FRows.empty())
        return;
    emit dataChanged(index(0, 0), index(static_cast<int>(FRows.size()) - 1, kFontListColumnCount - 1));
}

TFontItem* FontItemOf(const QModelIndex& index)
{
    const auto* model = qobject_cast<const TFontListModel*>(index.model());
    return model ? model->ItemAt(index.row()) : nullptr;
}

} // namespace app
