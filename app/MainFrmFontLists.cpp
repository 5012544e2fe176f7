// The Fonts panel's three lists (Active, Browse, Groups): their catalogues and batches, the
// tab captions, the selected font with the family and style drop-downs, the preview choosers,
// the selection count and the View menu's Sort By.

#include "app/MainFrm.h"

#include "app/FontListBatches.h"
#include "app/FontListModel.h"
#include "app/FontListPreviewSize.h"
#include "app/FontListPreviewTexts.h"
#include "app/FontListView.h"
#include "app/FontListIcons.h"
#include "app/FontsPanelFamilyDelegate.h"
#include "catalogue/FontEnumBatches.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"
#include "catalogue/GlobalFontManagerUnit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {

using catalogue::TFontFamilyItem;
using catalogue::TFontItem;

constexpr int kFamilyNameRole = Qt::UserRole + 1;
constexpr int kFaceRole = Qt::UserRole;

const char* const kTabCaptions[] = {"Active", "Browse", "Groups"};

TFontListView* AddList(QWidget* sheet, const char* name)
{
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new TFontListView(QLatin1String(name), sheet);
    layout->addWidget(list);
    return list;
}

// Resets a flag when the scope ends, also on exceptions.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

void TMainFormFM::BuildFontLists()
{
    FPreviewTexts = std::make_unique<TFontListPreviewTexts>();
    vstActiveFonts = AddList(tsFontsActive, "vstActiveFonts");
    BuildBrowsePanel(tsFontsBrowse);
    vstGroupFonts = AddList(tsFontsGroups, "vstGroupFonts");
    // The group tree comes with the groups; until a group is chosen the list says so.
    vstGroupFonts->SetEmptyListText(QStringLiteral("No group selected."));

    for (TFontListView* list : {vstActiveFonts, vstBrowseFonts, vstGroupFonts}) {
        list->SetPreviewTexts(FPreviewTexts.get());
        list->SetPreviewSizeIndex(cbPreviewSize->currentIndex());
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, list] { ListSelectionChanged(list); });
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this, list] { ListSelectionChanged(list); });
        connect(list, &TFontListView::RefreshRequested, this, &TMainFormFM::RefreshCurrentList);
    }
    // Browse and group rows follow installs and loads without a rescan.
    for (TFontListView* list : {vstBrowseFonts, vstGroupFonts})
        list->OnBeforeItemPaint = [](TFontItem& face) {
            catalogue::TGlobalFontManager::Instance().UpdateStatusOfNonActiveFace(face);
        };

    for (const auto& text : FPreviewTexts->Texts())
        cbPreviewTexts->addItem(text.Name);
    cbPreviewTexts->setCurrentIndex(FPreviewTexts->SelectedIndex());
    connect(cbPreviewTexts, &QComboBox::currentIndexChanged, this, &TMainFormFM::cbPreviewTextsChange);
    connect(cbPreviewSize, &QComboBox::currentIndexChanged, this, &TMainFormFM::cbPreviewSizeChange);

    cbFonts->setItemDelegate(new TFontsPanelFamilyDelegate(
        [this](const QString& familyName) { return FaceShowingFamily(familyName); }, cbFonts));
    connect(cbFonts, &QComboBox::activated, this, &TMainFormFM::cbFontsItemClick);
    connect(cbFontStyle, &QComboBox::activated, this, &TMainFormFM::cbFontStyleItemClick);
    connect(tcFonts, &QTabWidget::currentChanged, this, &TMainFormFM::tcFontsActiveTabChange);
}

void TMainFormFM::CreateFontCatalogues()
{
    FActiveFamilies = std::make_unique<catalogue::TFontFamilyList>();
    // The active index of the global font manager is the Active catalogue.
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(FActiveFamilies.get());
    FBrowseFamilies = std::make_unique<catalogue::TFontFamilyList>();
    FGroupFamilies = std::make_unique<catalogue::TFontFamilyList>();
    FActiveListBatches = MakeListBatches(kActiveTab);
    FBrowseListBatches = MakeListBatches(kBrowseTab);
    FGroupListBatches = MakeListBatches(kGroupsTab);
}

void TMainFormFM::FreeFontCatalogues()
{
    SelectFont(nullptr, TSelectionSource::None);
    for (int tab : {kActiveTab, kBrowseTab, kGroupsTab})
        ListOfTab(tab)->Model().Clear();
    FActiveListBatches.reset();
    FBrowseListBatches.reset();
    FGroupListBatches.reset();
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(nullptr);
    FActiveFamilies.reset();
    FBrowseFamilies.reset();
    FGroupFamilies.reset();
}

std::unique_ptr<TFontListBatches> TMainFormFM::MakeListBatches(int tab)
{
    TFontListBatchHooks hooks;
    if (tab == kActiveTab) {
        // Added and changed faces take their files from the font cache; removed ones leave it.
        catalogue::TActiveCatalogueCache cache = catalogue::GlobalActiveCatalogueCache();
        hooks.Prepare = std::move(cache.FillFromCache);
        hooks.Forget = std::move(cache.RemoveFromCache);
    } else {
        hooks.Prepare = [](TFontItem& face) {
            catalogue::TGlobalFontManager::Instance().UpdateStatusOfNonActiveFace(face);
        };
    }
    hooks.FaceGoes = [this](TFontItem& face) {
        if (&face == FSelectedFont)
            SelectFont(nullptr, TSelectionSource::None);
    };
    hooks.FamilyShown = [this, tab](TFontFamilyItem& family) { AddFamilyToBox(tab, family); };
    hooks.FamilyHidden = [this, tab](const QString& familyName) { RemoveFamilyFromBox(tab, familyName); };
    // The active enumeration names files only when it knows them; folder scans always do.
    return std::make_unique<TFontListBatches>(*CatalogueOfTab(tab), ListOfTab(tab)->Model(), tab != kActiveTab,
                                              std::move(hooks));
}

TFontListView* TMainFormFM::ListOfTab(int tab) const
{
    switch (tab) {
    case kActiveTab: return vstActiveFonts;
    case kBrowseTab: return vstBrowseFonts;
    case kGroupsTab: return vstGroupFonts;
    default: return nullptr;
    }
}

catalogue::TFontFamilyList* TMainFormFM::CatalogueOfTab(int tab) const
{
    switch (tab) {
    case kActiveTab: return FActiveFamilies.get();
    case kBrowseTab: return FBrowseFamilies.get();
    case kGroupsTab: return FGroupFamilies.get();
    default: return nullptr;
    }
}

TFontListBatches* TMainFormFM::BatchesOfTab(int tab) const
{
    switch (tab) {
    case kActiveTab: return FActiveListBatches.get();
    case kBrowseTab: return FBrowseListBatches.get();
    case kGroupsTab: return FGroupListBatches.get();
    default: return nullptr;
    }
}

TFontListView* TMainFormFM::CurrentList() const
{
    return tcFonts ? ListOfTab(tcFonts->currentIndex()) : nullptr;
}

int TMainFormFM::TabOfFace(const TFontItem& face) const
{
    for (int tab : {kActiveTab, kBrowseTab, kGroupsTab}) {
        const catalogue::TFontFamilyList* families = CatalogueOfTab(tab);
        if (families && face.Family() && families->FindFamily(face.Family()->FamilyName()) == face.Family())
            return tab;
    }
    return -1;
}

// Before a catalogue is emptied: its rows go, and the selected font when it is one of its
// faces.
void TMainFormFM::EmptyTabList(int tab)
{
    if (FSelectedFont && TabOfFace(*FSelectedFont) == tab)
        SelectFont(nullptr, TSelectionSource::None);
    ListOfTab(tab)->Model().Clear();
    if (tcFonts->currentIndex() == tab) {
        cbFonts->clear();
        cbFonts->setEnabled(false);
        cbFontStyle->clear();
        cbFontStyle->setEnabled(false);
    }
}

void TMainFormFM::RebuildAllLists()
{
    TFontItem* remembered = FSelectedFont;
    SelectFont(nullptr, TSelectionSource::None);
    cbFonts->clear();
    for (int tab : {kActiveTab, kBrowseTab, kGroupsTab}) {
        TFontListView* list = ListOfTab(tab);
        TFontListModel& rows = list->Model();
        const catalogue::TFontFamilyList& families = *CatalogueOfTab(tab);
        rows.Clear();
        rows.BeginUpdate();
        for (int i = 0; i < families.Count(); ++i) {
            for (TFontItem* face : families.Family(i)->Items())
                if (!IsHiddenByFilter(*face))
                    rows.AddRow(face);
        }
        rows.EndUpdate();
        list->SelectFirstRow();
        RefreshTabCaption(tab);
    }
    RefillFamilyBox();
    const TFontListView* home = remembered ? ListOfTab(TabOfFace(*remembered)) : nullptr;
    if (home && home->Model().HasRow(remembered))
        SelectFont(remembered, TSelectionSource::Rebuild);
}

void TMainFormFM::RefreshCurrentList()
{
    switch (tcFonts->currentIndex()) {
    case kActiveTab:
        FullReloadOfActiveFonts();
        break;
    case kBrowseTab:
        FFlags.BrowseScanningLive = true;
        FreshBrowseScan();
        break;
    default:
        // The selected group's folder is scanned again once groups exist.
        break;
    }
}

void TMainFormFM::tbmiViewRefreshClick()
{
    if (FolderTreeHasFocus())
        RefreshFolderTree();
    else
        RefreshCurrentList();
}

// --- Batches

void TMainFormFM::ActiveFontsAdded(catalogue::TFontItems& items)
{
    AfterBatch(kActiveTab, FActiveListBatches->ApplyAdded(items));
}

void TMainFormFM::ActiveFontsRemoved(catalogue::TFontItems& items)
{
    AfterBatch(kActiveTab, FActiveListBatches->ApplyRemoved(items));
}

void TMainFormFM::ActiveFontsChanged(catalogue::TFontItems& items)
{
    AfterBatch(kActiveTab, FActiveListBatches->ApplyChanged(items));
}

void TMainFormFM::AfterBatch(int tab, const TFontListBatchOutcome& outcome)
{
    TFontListView* list = ListOfTab(tab);
    if (tab == kActiveTab && outcome.ListWasEmpty && list->Model().rowCount() > 0) {
        if (TFontFamilyItem* family = list->Model().ItemAt(0)->Family())
            family->SortItems();
        list->SelectFirstRow();
    }
    // The style drop-down lists the selected font's family as it is now.
    if (FSelectedFont && TabOfFace(*FSelectedFont) == tab && outcome.Touched(FSelectedFont->Family())) {
        FSelectedFont->Family()->SortItems();
        RefillStyleBox(FSelectedFont);
    }
    RefreshTabCaption(tab);
    if (tcFonts->currentIndex() == tab) {
        cbFonts->setEnabled(cbFonts->count() > 0);
        RefreshSelectionCount();
    }
}

// --- Captions and the selection count

void TMainFormFM::RefreshTabCaption(int tab)
{
    const catalogue::TFontFamilyList* families = CatalogueOfTab(tab);
    if (!families)
        return;
    tcFonts->setTabText(tab, QStringLiteral("%1 (%2/%3)")
                                 .arg(QLatin1String(kTabCaptions[tab]))
                                 .arg(ListOfTab(tab)->Model().rowCount())
                                 .arg(families->CountableItems()));
}

void TMainFormFM::RefreshActiveCaption()
{
    RefreshTabCaption(kActiveTab);
}

void TMainFormFM::RefreshSelectionCount()
{
    const TFontListView* list = CurrentList();
    const int count = list ? list->SelectedRowCount() : 0;
    if (count == 0)
        sbpActiveFonts->setText(QStringLiteral("No font selected."));
    else if (count == 1)
        sbpActiveFonts->setText(QStringLiteral("1 font selected"));
    else
        sbpActiveFonts->setText(QStringLiteral("%1 fonts selected").arg(count));
}

void TMainFormFM::ListSelectionChanged(TFontListView* list)
{
    if (list != CurrentList())
        return;
    // The selected font follows 50 ms after the last change.
    tmrUpdateFontItem->start();
    RefreshSelectionCount();
}

void TMainFormFM::tmrUpdateFontItemTimer()
{
    if (FFlags.EnumerationPassRunning)
        return;
    tmrUpdateFontItem->stop();
    if (TFontListView* list = CurrentList())
        SelectFont(list->FocusedFont(), TSelectionSource::List);
}

// --- The selected font

void TMainFormFM::SelectFont(TFontItem* face, TSelectionSource source)
{
    if (FSelectingFont)
        return;
    const TFlagScope guard(FSelectingFont);
    FSelectionSource = source;
    if (face != FSelectedFont) {
        if (face)
            face->SetRefCount(face->RefCount() + 1);
        if (FSelectedFont)
            FSelectedFont->SetRefCount(FSelectedFont->RefCount() - 1);
        FSelectedFont = face;
        if (face) {
            const int entry = face->Family() ? cbFonts->findData(face->Family()->FamilyName(), kFamilyNameRole) : -1;
            // The edit part shows the selected face's type.
            if (entry >= 0)
                cbFonts->setItemIcon(entry, TypeIcon(TypeImageIndex(face->FontKind())));
            cbFonts->setCurrentIndex(entry);
            RefillStyleBox(face);
            if (source == TSelectionSource::FamilyBox || source == TSelectionSource::StyleBox ||
                source == TSelectionSource::Rebuild) {
                if (TFontListView* list = CurrentList())
                    list->SelectOnly(face);
            }
        } else {
            cbFonts->setCurrentIndex(-1);
            cbFontStyle->clear();
            cbFontStyle->setEnabled(false);
        }
    }
    // The character map, the sample and the commands follow the selected font as their
    // panes arrive; the caption names it.
    setWindowTitle(FSelectedFont ? FCaptionText + QStringLiteral(" - ") + FSelectedFont->DisplayName() : FCaptionText);
    FSelectionSource = TSelectionSource::None;
}

TFontItem* TMainFormFM::FaceShowingFamily(const QString& familyName) const
{
    const int tab = tcFonts->currentIndex();
    const catalogue::TFontFamilyList* families = CatalogueOfTab(tab);
    const TFontListBatches* batches = BatchesOfTab(tab);
    if (!families || !batches)
        return nullptr;
    const TFontFamilyItem* family = families->FindFamily(familyName);
    return family ? batches->FirstVisibleFace(*family) : nullptr;
}

void TMainFormFM::ChooseFamily(const QString& familyName)
{
    SelectFont(FaceShowingFamily(familyName), TSelectionSource::FamilyBox);
}

void TMainFormFM::cbFontsItemClick(int index)
{
    if (index < 0)
        return;
    ChooseFamily(cbFonts->itemData(index, kFamilyNameRole).toString());
}

void TMainFormFM::cbFontStyleItemClick(int index)
{
    if (index < 0)
        return;
    auto* face = static_cast<TFontItem*>(cbFontStyle->itemData(index, kFaceRole).value<void*>());
    SelectFont(face, TSelectionSource::StyleBox);
}

// --- The drop-downs

void TMainFormFM::RefillFamilyBox()
{
    cbFonts->clear();
    const int tab = tcFonts->currentIndex();
    const catalogue::TFontFamilyList* families = CatalogueOfTab(tab);
    if (families) {
        for (int i = 0; i < families->Count(); ++i)
            AddFamilyToBox(tab, *families->Family(i));
    }
    cbFonts->setEnabled(cbFonts->count() > 0);
    if (cbFonts->count() == 0) {
        cbFontStyle->clear();
        cbFontStyle->setEnabled(false);
    }
    if (FSelectedFont && FSelectedFont->Family() && TabOfFace(*FSelectedFont) == tab)
        cbFonts->setCurrentIndex(cbFonts->findData(FSelectedFont->Family()->FamilyName(), kFamilyNameRole));
    else
        cbFonts->setCurrentIndex(-1);
}

void TMainFormFM::AddFamilyToBox(int tab, const TFontFamilyItem& family)
{
    if (tab != tcFonts->currentIndex() || cbFonts->findData(family.FamilyName(), kFamilyNameRole) >= 0)
        return;
    const TFontItem* face = BatchesOfTab(tab)->FirstVisibleFace(family);
    if (!face)
        return;
    cbFonts->addItem(TypeIcon(TypeImageIndex(face->FontKind())), family.FamilyName());
    cbFonts->setItemData(cbFonts->count() - 1, family.FamilyName(), kFamilyNameRole);
    cbFonts->setEnabled(true);
}

void TMainFormFM::RemoveFamilyFromBox(int tab, const QString& familyName)
{
    if (tab != tcFonts->currentIndex())
        return;
    const int entry = cbFonts->findData(familyName, kFamilyNameRole);
    if (entry >= 0)
        cbFonts->removeItem(entry);
}

void TMainFormFM::RefillStyleBox(TFontItem* keep)
{
    cbFontStyle->clear();
    const TFontFamilyItem* family = keep ? keep->Family() : nullptr;
    const TFontListBatches* batches = keep ? BatchesOfTab(TabOfFace(*keep)) : nullptr;
    if (family && batches) {
        const TFontListModel& rows = ListOfTab(TabOfFace(*keep))->Model();
        for (TFontItem* face : family->Items()) {
            if (!rows.HasRow(face))
                continue;
            cbFontStyle->addItem(face->StyleText(), QVariant::fromValue(static_cast<void*>(face)));
        }
    }
    if (cbFontStyle->count() == 0) {
        cbFontStyle->setEnabled(false);
        return;
    }
    cbFontStyle->setEnabled(true);
    const int kept = cbFontStyle->findData(QVariant::fromValue(static_cast<void*>(keep)), kFaceRole);
    cbFontStyle->setCurrentIndex(kept >= 0 ? kept : 0);
}

// --- Preview choosers and tabs

void TMainFormFM::cbPreviewTextsChange(int index)
{
    FPreviewTexts->Select(index);
    if (TFontListView* list = CurrentList())
        list->viewport()->update();
}

void TMainFormFM::cbPreviewSizeChange(int index)
{
    for (TFontListView* list : {vstActiveFonts, vstBrowseFonts, vstGroupFonts})
        list->SetPreviewSizeIndex(index);
}

void TMainFormFM::tcFontsActiveTabChange(int index)
{
    UpdateFontsTabButtons();
    if (!FActiveFamilies)
        return;
    RefillFamilyBox();
    if (TFontListView* list = ListOfTab(index))
        SelectFont(list->FocusedFont(), TSelectionSource::List);
    RefreshSelectionCount();
    if (index == kBrowseTab)
        FirstBrowseTabOpen();
}

void TMainFormFM::tiFontsTabLeftClick()
{
    if (tcFonts->currentIndex() > kActiveTab)
        tcFonts->setCurrentIndex(tcFonts->currentIndex() - 1);
}

void TMainFormFM::tiFontsTabRightClick()
{
    if (tcFonts->currentIndex() < kGroupsTab)
        tcFonts->setCurrentIndex(tcFonts->currentIndex() + 1);
}

void TMainFormFM::UpdateFontsTabButtons()
{
    if (!tiFontsTabLeft || !tiFontsTabRight)
        return;
    tiFontsTabLeft->setEnabled(tcFonts->currentIndex() != kActiveTab);
    tiFontsTabRight->setEnabled(tcFonts->currentIndex() != kGroupsTab);
}

void TMainFormFM::FillSortByMenu()
{
    miViewSortBy->clear();
    TFontListView* list = CurrentList();
    if (!list)
        return;
    QHeaderView* head = list->header();
    const TFontListModel& rows = list->Model();
    for (int position = 0; position < head->count(); ++position) {
        const int column = head->logicalIndex(position);
        if (head->isSectionHidden(column))
            continue;
        QAction* item = miViewSortBy->addAction(rows.headerData(column, Qt::Horizontal).toString());
        item->setCheckable(true);
        item->setChecked(rows.SortColumn() == column);
        connect(item, &QAction::triggered, list, [list, column] { list->SortBy(column, list->Model().SortOrder()); });
    }
    miViewSortBy->addSeparator();
    const struct {
        const char* caption;
        Qt::SortOrder order;
    } directions[] = {{"Sort &Ascending", Qt::AscendingOrder}, {"Sort &Descending", Qt::DescendingOrder}};
    for (const auto& direction : directions) {
        QAction* item = miViewSortBy->addAction(QString::fromLatin1(direction.caption));
        item->setCheckable(true);
        item->setChecked(rows.SortOrder() == direction.order);
        const Qt::SortOrder order = direction.order;
        connect(item, &QAction::triggered, list, [list, order] {
            list->SortBy(list->Model().SortColumn() >= 0 ? list->Model().SortColumn() : 0, order);
        });
    }
}

} // namespace app
