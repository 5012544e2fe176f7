#include "FontFamily.h"

#include "FontItem.h"
#include "FontOrdering.h"

#include <algorithm>

namespace catalogue {

int TFontFamilyItem::IndexOf(const TFontItem* item) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TFontFamilyItem::Add(TFontItem* item)
{
    if (!item)
        return;
    FItems.push_back(item);
    item->SetFamily(this);
}

bool TFontFamilyItem::Remove(TFontItem* item)
{
    const auto found = std::find(FItems.begin(), FItems.end(), item);
    if (found == FItems.end())
        return false;
    FItems.erase(found);
    if (item->Family() == this)
        item->SetFamily(nullptr);
    return true;
}

TFontItem* TFontFamilyItem::FindFace(const QString& fullName, int gdiTypeBits) const
{
    for (TFontItem* item : FItems) {
        if (item->GdiTypeBits() == gdiTypeBits && item->FullName().compare(fullName, Qt::CaseInsensitive) == 0)
            return item;
    }
    return nullptr;
}

int TFontFamilyItem::CountableCount() const
{
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TFontItem* item) {
        return item->IsCountable();
    }));
}

void TFontFamilyItem::SortItems()
{
    const TFontCollator collator;
    std::stable_sort(FItems.begin(), FItems.end(), [&](const TFontItem* a, const TFontItem* b) {
        return CompareFaces(collator, *a, *b) < 0;
    });
}

} // namespace catalogue
