#include "FontEnumBatches.h"

#include "FontFamily.h"
#include "FontItem.h"

#include "support/LoggerUnit.h"

#include <vector>

namespace catalogue {

namespace {

void LogSeriousIssue()
{
    support::LogError(QStringLiteral("Serious issue here!"));
}

bool SameFile(const QString& a, const QString& b)
{
    return a == b;
}

} // namespace

TActiveCatalogueBatches::TActiveCatalogueBatches(TFontFamilyList& catalogue, TActiveCatalogueCache cache)
    : FCatalogue(catalogue), FCache(std::move(cache))
{
}

void TActiveCatalogueBatches::Remove(const TFontItem& removed)
{
    if (FCache.RemoveFromCache)
        FCache.RemoveFromCache(removed);
    TFontFamilyItem* family = FCatalogue.FindFamily(removed.FamilyNameText());
    if (!family)
        return;
    const bool namesFiles = !removed.FontFile().isEmpty();
    std::vector<TFontItem*> doomed;
    for (TFontItem* face : family->Items()) {
        if (face->GdiTypeBits() != removed.GdiTypeBits() ||
            face->FullName().compare(removed.FullName(), Qt::CaseInsensitive) != 0)
            continue;
        if (namesFiles && (!SameFile(face->FontFile(), removed.FontFile()) ||
                           !SameFile(face->SecondFile(), removed.SecondFile())))
            continue;
        doomed.push_back(face);
    }
    // RemoveItem may free the family with its last face.
    for (TFontItem* face : doomed)
        FCatalogue.RemoveItem(face);
}

void TActiveCatalogueBatches::ApplyRemoved(TFontItems& items)
{
    for (const auto& item : items) {
        try {
            Remove(*item);
        } catch (...) {
            LogSeriousIssue();
        }
    }
}

void TActiveCatalogueBatches::ApplyAdded(TFontItems& items)
{
    for (auto& item : items) {
        try {
            if (FCache.FillFromCache)
                FCache.FillFromCache(*item);
            FCatalogue.AddItem(std::move(item));
        } catch (...) {
            LogSeriousIssue();
        }
    }
}

void TActiveCatalogueBatches::ApplyChanged(TFontItems& items)
{
    for (const auto& item : items) {
        try {
            if (FCache.FillFromCache)
                FCache.FillFromCache(*item);
            TFontFamilyItem* family = FCatalogue.FindFamily(item->FamilyNameText());
            if (!family)
                continue;
            if (TFontItem* face = family->FindFace(item->FullName(), item->GdiTypeBits()))
                face->CopyFrom(*item);
        } catch (...) {
            LogSeriousIssue();
        }
    }
}

} // namespace catalogue
