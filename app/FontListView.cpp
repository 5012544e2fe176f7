#include "app/FontListView.h"

#include "app/FontListColumns.h"
#include "app/FontListDelegate.h"
#include "app/FontListModel.h"
#include "app/FontListPreviewSize.h"
#include "app/FontListPreviewTexts.h"
#include "catalogue/DisplaySettings.h"
#include "catalogue/FontItem.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace app {

namespace {

constexpr int kEmptyTextTop = 4;

} // namespace

TFontListView::TFontListView(const QString& objectName, QWidget* parent)
    : QTreeView(parent),
      FModel(new TFontListModel(this)),
      FPreviewSizeIndex(kDefaultPreviewSizeIndex)
{
    setObjectName(objectName);
    setModel(FModel);
    connect(FModel, &TFontListModel::FaceLeaving, this, [this](const catalogue::TFontItem* face) { FShownFaces.Forget(face); });
    connect(FModel, &TFontListModel::AllFacesLeaving, this, [this] { FShownFaces.Clear(); });
    setItemDelegate(new TFontListDelegate(*this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(true);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setSortIndicator(FModel->SortColumn(), FModel->SortOrder());
    for (int column = 0; column < kFontListColumnCount; ++column)
        head->resizeSection(column, ColumnDefaultWidth(ColumnKindOf(column)));
    // A double click does nothing more than its first click: the header reports a click
    // only for a release that follows a press, and the second half of a double click is a
    // double-click event and a release.
    connect(head, &QHeaderView::sectionClicked, this, &TFontListView::HeaderClick);
    head->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(head, &QHeaderView::customContextMenuRequested, this, [this](const QPoint& position) {
        // The menu opens at the click, raised by the header's height.
        ShowHeaderMenu(header()->logicalIndexAt(position),
                       header()->mapToGlobal(position - QPoint(0, header()->height())));
    });
    // Hiding or showing the preview column changes the row height.
    connect(head, &QHeaderView::sectionResized, this, [this](int column, int oldSize, int newSize) {
        if (column == 0 && (oldSize == 0) != (newSize == 0))
            RemeasureRows();
    });
}

void TFontListView::SetPreviewSizeIndex(int sizeIndex)
{
    FPreviewSizeIndex = sizeIndex >= 0 && sizeIndex < kPreviewSizeCount ? sizeIndex : kDefaultPreviewSizeIndex;
    RemeasureRows();
}

int TFontListView::PreviewPoints() const
{
    return PreviewPointSize(FPreviewSizeIndex);
}

bool TFontListView::PreviewColumnVisible() const
{
    return !header()->isSectionHidden(0) && header()->sectionSize(0) > 0;
}

int TFontListView::RowHeight() const
{
    return FontListRowHeight(PreviewColumnVisible(), FPreviewSizeIndex, catalogue::ScreenDpiY());
}

void TFontListView::RemeasureRows()
{
    // Uniform rows: the view asks the delegate for one height again.
    doItemsLayout();
    viewport()->update();
}

void TFontListView::FaceShown(catalogue::TFontItem& face) const
{
    // Three screens of rows: the one shown and some of either side for scrolling.
    constexpr int kScreens = 3;
    constexpr int kMinimumKept = 64;
    const int rowsPerScreen = viewport()->height() / std::max(1, RowHeight()) + 1;
    FShownFaces.Shown(face, std::max(kMinimumKept, kScreens * rowsPerScreen));
}

QString TFontListView::PreviewTextFor(const catalogue::TFontItem& face) const
{
    return FPreviewTexts ? FPreviewTexts->TextFor(face) : face.DisplayName();
}

void TFontListView::SetEmptyListText(const QString& text)
{
    if (FEmptyListText == text)
        return;
    FEmptyListText = text;
    viewport()->update();
}

int TFontListView::SelectedRowCount() const
{
    return selectionModel() ? static_cast<int>(selectionModel()->selectedRows().size()) : 0;
}

catalogue::TFontItem* TFontListView::FocusedFont() const
{
    const QItemSelectionModel* selection = selectionModel();
    if (!selection)
        return nullptr;
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return FModel->ItemAt(current.row());
    const QModelIndexList rows = selection->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    // The first selected row in list order.
    int first = rows.front().row();
    for (const QModelIndex& row : rows)
        first = std::min(first, row.row());
    return FModel->ItemAt(first);
}

void TFontListView::SelectOnly(const catalogue::TFontItem* face)
{
    const int row = FModel->RowOf(face);
    selectionModel()->clearSelection();
    if (row < 0)
        return;
    const QModelIndex index = FModel->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void TFontListView::SelectFirstRow()
{
    if (FModel->rowCount() == 0)
        return;
    selectionModel()->setCurrentIndex(FModel->index(0, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TFontListView::HeaderClick(int section)
{
    if (section < 0)
        return;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (FModel->SortColumn() == section && FModel->SortOrder() == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    SortBy(section, order);
}

void TFontListView::SortBy(int column, Qt::SortOrder order)
{
    FModel->sort(column, order);
    header()->setSortIndicator(FModel->SortColumn(), FModel->SortOrder());
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void TFontListView::ShowHeaderMenu(int section, const QPoint& globalPosition)
{
    if (section < 0)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("TBpmHeader"));
    const bool sortColumn = FModel->SortColumn() == section;
    QAction* ascending = menu.addAction(QStringLiteral("Sort &Ascending"));
    ascending->setObjectName(QStringLiteral("pmHeaderSortAscending"));
    ascending->setCheckable(true);
    ascending->setChecked(sortColumn && FModel->SortOrder() == Qt::AscendingOrder);
    QAction* descending = menu.addAction(QStringLiteral("Sort &Descending"));
    descending->setObjectName(QStringLiteral("pmHeaderSortDescending"));
    descending->setCheckable(true);
    descending->setChecked(sortColumn && FModel->SortOrder() == Qt::DescendingOrder);
    menu.addSeparator();
    QAction* columns = menu.addAction(QStringLiteral("&Columns..."));
    columns->setObjectName(QStringLiteral("pmHeaderColumns"));

    const QAction* chosen = menu.exec(globalPosition);
    if (chosen == ascending)
        SortBy(section, Qt::AscendingOrder);
    else if (chosen == descending)
        SortBy(section, Qt::DescendingOrder);
    else if (chosen == columns)
        emit ColumnsRequested();
}

void TFontListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (OnBeforeItemPaint) {
        if (catalogue::TFontItem* face = FModel->ItemAt(index.row()))
            OnBeforeItemPaint(*face);
    }
    QTreeView::drawRow(painter, option, index);
}

void TFontListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (FEmptyListText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    const QRect area(0, kEmptyTextTop, viewport()->width(), fontMetrics().height());
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, FEmptyListText);
}

void TFontListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        emit RefreshRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TFontListView::keyboardSearch(const QString& search)
{
    if (search.isEmpty())
        return;
    const bool continued = FSearchClock.isValid() && FSearchClock.elapsed() <= QApplication::keyboardInputInterval();
    FSearchClock.start();
    const int current = currentIndex().isValid() ? currentIndex().row() : 0;
    int start = current;
    if (continued) {
        FSearchText += search;
    } else {
        FSearchText = search;
        // A new search goes on from the row after the current one.
        if (currentIndex().isValid())
            start = current + 1 < FModel->rowCount() ? current + 1 : 0;
    }
    const int row = FModel->FindIncremental(FSearchText, start);
    if (row < 0)
        return;
    const QModelIndex index = FModel->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

} // namespace app
