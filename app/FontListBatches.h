#pragma once

// Applies the added, removed and changed batches of a scanning thread to one tab: the
// catalogue takes or frees the faces, the list gets or loses their rows, all inside one
// update of the list that ends with one re-sort. What the window shows beyond the list (the
// family drop-down, the selected font) follows through the hooks.

#include "catalogue/BaseFontsThreadExUnit.h"

#include <QString>

#include <functional>

namespace catalogue {
class TFontFamilyItem;
class TFontFamilyList;
class TFontItem;
} // namespace catalogue

namespace app {

class TFontListModel;

// The filter's fixed part: installed-only active faces and vertical faces without file
// never get a row.
bool IsHiddenByFilter(const catalogue::TFontItem& face);

struct TFontListBatchHooks {
    // An added or changed face before it joins (the cache's files, the status against the
    // active fonts).
    std::function<void(catalogue::TFontItem& face)> Prepare;
    // A removed face, before its faces in the catalogue go (the font cache forgets it).
    std::function<void(const catalogue::TFontItem& removed)> Forget;
    // A face is about to lose its row or to be freed (the selected font lets go of it).
    std::function<void(catalogue::TFontItem& face)> FaceGoes;
    // A family got its first row, or lost its last one.
    std::function<void(catalogue::TFontFamilyItem& family)> FamilyShown;
    std::function<void(const QString& familyName)> FamilyHidden;
};

// What a batch did, for the window's follow-ups.
struct TFontListBatchOutcome {
    bool ListWasEmpty = false;
    // Families whose faces changed (the style drop-down of a selected face refills).
    std::vector<const catalogue::TFontFamilyItem*> TouchedFamilies;
    bool Touched(const catalogue::TFontFamilyItem* family) const;
};

class TFontListBatches {
public:
    // exactFileMatch: removed faces match by their files too, also when they name none (the
    // folder scans); else files only count when the removed face names them (the active
    // enumeration).
    TFontListBatches(catalogue::TFontFamilyList& catalogue, TFontListModel& rows, bool exactFileMatch,
                     TFontListBatchHooks hooks);

    // Each takes what it keeps out of items; one face's failure is logged ("Serious issue
    // here!") and the others are still applied.
    TFontListBatchOutcome ApplyAdded(catalogue::TFontItems& items);
    TFontListBatchOutcome ApplyRemoved(catalogue::TFontItems& items);
    TFontListBatchOutcome ApplyChanged(catalogue::TFontItems& items);

    // Whether a face of the family has a row.
    bool FamilyVisible(const catalogue::TFontFamilyItem& family) const;
    // The family's first face with a row, none when all are hidden.
    catalogue::TFontItem* FirstVisibleFace(const catalogue::TFontFamilyItem& family) const;

private:
    class TUpdate;
    // Runs step on every item inside one list update; one item's failure is logged and the
    // others are still applied.
    template <class Step> TFontListBatchOutcome ApplyEach(catalogue::TFontItems& items, Step step);
    void Add(std::unique_ptr<catalogue::TFontItem> item, TFontListBatchOutcome& outcome);
    void Remove(const catalogue::TFontItem& removed, TFontListBatchOutcome& outcome);
    void Change(catalogue::TFontItem& changed, TFontListBatchOutcome& outcome);
    void DropRow(catalogue::TFontItem& face);
    void ShowRow(catalogue::TFontItem& face);

    catalogue::TFontFamilyList& FCatalogue;
    TFontListModel& FRows;
    bool FExactFileMatch;
    TFontListBatchHooks FHooks;
};

} // namespace app
