#include "app/FontListBatches.h"

#include "app/FontListModel.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"
#include "support/LoggerUnit.h"

#include <algorithm>

namespace app {

using catalogue::TFontFamilyItem;
using catalogue::TFontItem;

namespace {

void LogSeriousIssue()
{
    support::LogError(QStringLiteral("Serious issue here!"));
}

} // namespace

bool IsHiddenByFilter(const TFontItem& face)
{
    return face.IsInstalledOnlyActiveItem() || face.IsVerticalWithoutFile();
}

bool TFontListBatchOutcome::Touched(const TFontFamilyItem* family) const
{
    return std::find(TouchedFamilies.begin(), TouchedFamilies.end(), family) != TouchedFamilies.end();
}

// One update of the list for the whole batch: rows change at its end, sorted once.
class TFontListBatches::TUpdate {
public:
    explicit TUpdate(TFontListModel& rows) : FRows(rows) { FRows.BeginUpdate(); }
    ~TUpdate() { FRows.EndUpdate(); }
    TUpdate(const TUpdate&) = delete;
    TUpdate& operator=(const TUpdate&) = delete;

private:
    TFontListModel& FRows;
};

TFontListBatches::TFontListBatches(catalogue::TFontFamilyList& catalogue, TFontListModel& rows, bool exactFileMatch,
                                   TFontListBatchHooks hooks)
    : FCatalogue(catalogue), FRows(rows), FExactFileMatch(exactFileMatch), FHooks(std::move(hooks))
{
}

bool TFontListBatches::FamilyVisible(const TFontFamilyItem& family) const
{
    return FirstVisibleFace(family) != nullptr;
}

TFontItem* TFontListBatches::FirstVisibleFace(const TFontFamilyItem& family) const
{
    for (TFontItem* face : family.Items())
        if (FRows.HasRow(face))
            return face;
    return nullptr;
}

void TFontListBatches::ShowRow(TFontItem& face)
{
    TFontFamilyItem* family = face.Family();
    const bool familyWasVisible = family && FamilyVisible(*family);
    FRows.AddRow(&face);
    if (family && !familyWasVisible && FHooks.FamilyShown)
        FHooks.FamilyShown(*family);
}

void TFontListBatches::DropRow(TFontItem& face)
{
    if (FHooks.FaceGoes)
        FHooks.FaceGoes(face);
    if (!FRows.HasRow(&face))
        return;
    FRows.RemoveRow(&face);
    TFontFamilyItem* family = face.Family();
    if (family && !FamilyVisible(*family) && FHooks.FamilyHidden)
        FHooks.FamilyHidden(family->FamilyName());
}

template <class Step>
TFontListBatchOutcome TFontListBatches::ApplyEach(catalogue::TFontItems& items, Step step)
{
    TFontListBatchOutcome outcome;
    outcome.ListWasEmpty = FRows.rowCount() == 0;
    const TUpdate update(FRows);
    for (auto& item : items) {
        if (!item)
            continue;
        try {
            step(item, outcome);
        } catch (...) {
            LogSeriousIssue();
        }
    }
    return outcome;
}

TFontListBatchOutcome TFontListBatches::ApplyAdded(catalogue::TFontItems& items)
{
    return ApplyEach(items, [this](auto& item, TFontListBatchOutcome& outcome) { Add(std::move(item), outcome); });
}

void TFontListBatches::Add(std::unique_ptr<TFontItem> item, TFontListBatchOutcome& outcome)
{
    if (FHooks.Prepare)
        FHooks.Prepare(*item);
    const bool hidden = IsHiddenByFilter(*item);
    TFontItem& face = FCatalogue.AddItem(std::move(item));
    outcome.TouchedFamilies.push_back(face.Family());
    if (!hidden)
        ShowRow(face);
}

TFontListBatchOutcome TFontListBatches::ApplyRemoved(catalogue::TFontItems& items)
{
    return ApplyEach(items, [this](const auto& item, TFontListBatchOutcome& outcome) { Remove(*item, outcome); });
}

void TFontListBatches::Remove(const TFontItem& removed, TFontListBatchOutcome& outcome)
{
    if (FHooks.Forget)
        FHooks.Forget(removed);
    TFontFamilyItem* family = FCatalogue.FindFamily(removed.FamilyNameText());
    if (!family)
        return;
    const bool matchFiles = FExactFileMatch || !removed.FontFile().isEmpty();
    std::vector<TFontItem*> doomed;
    for (TFontItem* face : family->Items()) {
        if (face->GdiTypeBits() != removed.GdiTypeBits() ||
            face->FullName().compare(removed.FullName(), Qt::CaseInsensitive) != 0)
            continue;
        if (matchFiles && (face->FontFile() != removed.FontFile() || face->SecondFile() != removed.SecondFile()))
            continue;
        doomed.push_back(face);
    }
    if (doomed.empty())
        return;
    const QString familyName = family->FamilyName();
    const bool familyWasVisible = FamilyVisible(*family);
    for (TFontItem* face : doomed) {
        if (FHooks.FaceGoes)
            FHooks.FaceGoes(*face);
        FRows.RemoveRow(face);
    }
    const bool familyGoes = static_cast<int>(doomed.size()) == family->Count();
    const bool stillVisible = !familyGoes && FamilyVisible(*family);
    if (!familyGoes)
        outcome.TouchedFamilies.push_back(family);
    // The catalogue frees the faces, and the family with its last face.
    for (TFontItem* face : doomed)
        FCatalogue.RemoveItem(face);
    if (familyWasVisible && !stillVisible && FHooks.FamilyHidden)
        FHooks.FamilyHidden(familyName);
}

TFontListBatchOutcome TFontListBatches::ApplyChanged(catalogue::TFontItems& items)
{
    return ApplyEach(items, [this](const auto& item, TFontListBatchOutcome& outcome) { Change(*item, outcome); });
}

void TFontListBatches::Change(TFontItem& changed, TFontListBatchOutcome& outcome)
{
    if (FHooks.Prepare)
        FHooks.Prepare(changed);
    TFontFamilyItem* family = FCatalogue.FindFamily(changed.FamilyNameText());
    if (!family)
        return;
    TFontItem* face = family->FindFace(changed.FullName(), changed.GdiTypeBits());
    if (!face)
        return;
    face->CopyFrom(changed);
    outcome.TouchedFamilies.push_back(family);
    if (IsHiddenByFilter(*face))
        DropRow(*face);
    else if (!FRows.HasRow(face))
        ShowRow(*face);
}

} // namespace app
