#include "FontFamilyList.h"

#include "FontFamily.h"
#include "FontItem.h"
#include "FontOrdering.h"

#include <algorithm>

namespace catalogue {

TFontFamilyList::TFontFamilyList() = default;

TFontFamilyList::~TFontFamilyList() { Clear(); }

TFontFamilyItem* TFontFamilyList::FindFamily(const QString& familyName) const
{
    return FFamilyIndex.value(familyName.toCaseFolded(), nullptr);
}

TFontFamilyItem& TFontFamilyList::AddFamily(const QString& familyName)
{
    FFamilies.push_back(std::make_unique<TFontFamilyItem>(familyName));
    TFontFamilyItem& added = *FFamilies.back();
    const QString key = familyName.toCaseFolded();
    if (!FFamilyIndex.contains(key))
        FFamilyIndex.insert(key, &added);
    return added;
}

TFontItem& TFontFamilyList::AddItem(std::unique_ptr<TFontItem> item)
{
    TFontItem& added = *item;
    const QString name = added.FamilyNameText();
    TFontFamilyItem* family = FindFamily(name);
    if (!family)
        family = &AddFamily(name);
    family->Add(&added);
    FItems.emplace(&added, std::move(item));
    return added;
}

std::unique_ptr<TFontItem> TFontFamilyList::TakeItem(TFontItem* item)
{
    const auto owned = FItems.find(item);
    if (owned == FItems.end())
        return nullptr;
    std::unique_ptr<TFontItem> taken = std::move(owned->second);
    FItems.erase(owned);
    if (TFontFamilyItem* family = taken->Family()) {
        family->Remove(taken.get());
        RemoveFamilyIfEmpty(family);
    }
    return taken;
}

void TFontFamilyList::RemoveItem(TFontItem* item) { TakeItem(item).reset(); }

void TFontFamilyList::Clear()
{
    // Faces first: a face may still refer to its family while it releases its files.
    for (auto& [key, item] : FItems)
        item->SetFamily(nullptr);
    FItems.clear();
    FFamilyIndex.clear();
    FFamilies.clear();
}

int TFontFamilyList::CountableItems() const
{
    int total = 0;
    for (const auto& family : FFamilies)
        total += family->CountableCount();
    return total;
}

void TFontFamilyList::Sort()
{
    const TFontCollator collator;
    std::stable_sort(FFamilies.begin(), FFamilies.end(), [&](const auto& a, const auto& b) {
        return CompareFamilyNames(collator, a->FamilyName(), b->FamilyName()) < 0;
    });
    for (const auto& family : FFamilies)
        family->SortItems();
}

void TFontFamilyList::RemoveFamilyIfEmpty(TFontFamilyItem* family)
{
    if (family->Count() != 0)
        return;
    const QString key = family->FamilyName().toCaseFolded();
    std::erase_if(FFamilies, [&](const auto& owned) { return owned.get() == family; });
    if (FFamilyIndex.value(key, nullptr) != family)
        return;
    FFamilyIndex.remove(key);
    // Another family of the same name, made through AddFamily, takes its place.
    for (const auto& other : FFamilies)
        if (other->FamilyName().toCaseFolded() == key) {
            FFamilyIndex.insert(key, other.get());
            break;
        }
}

} // namespace catalogue
