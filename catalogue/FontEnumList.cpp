#include "FontEnumList.h"

#include <algorithm>

namespace catalogue {

QString FoldedName(const QString& name)
{
    return name.toCaseFolded();
}

bool TFontEnumItem::Matches(const QString& fullName, std::int32_t typeBits) const
{
    return (GdiTypeBits & typeBits) == typeBits && FullName.compare(fullName, Qt::CaseInsensitive) == 0;
}

TFontEnumItem* TFontEnumFamilyItem::Find(const QString& fullName, std::int32_t typeBits) const
{
    for (const auto& item : FItems)
        if (item->Matches(fullName, typeBits))
            return item.get();
    return nullptr;
}

TFontEnumItem& TFontEnumFamilyItem::Add(std::unique_ptr<TFontEnumItem> item)
{
    if (TFontEnumItem* existing = Find(item->FullName, item->GdiTypeBits))
        return *existing;
    FItems.push_back(std::move(item));
    return *FItems.back();
}

TFontEnumItem& TFontEnumFamilyItem::Append(std::unique_ptr<TFontEnumItem> item)
{
    FItems.push_back(std::move(item));
    return *FItems.back();
}

void TFontEnumFamilyItem::DeleteRemoved()
{
    std::erase_if(FItems, [](const std::unique_ptr<TFontEnumItem>& item) { return item->Status == EnumStatus::Removed; });
}

TFontEnumFamilyItem* TFontEnumList::Find(const QString& familyName) const
{
    const auto found = FFamilies.find(FoldedName(familyName));
    return found == FFamilies.end() ? nullptr : found->second.get();
}

TFontEnumFamilyItem& TFontEnumList::FamilyFor(const QString& familyName)
{
    auto& slot = FFamilies[FoldedName(familyName)];
    if (!slot)
        slot = std::make_unique<TFontEnumFamilyItem>(familyName);
    return *slot;
}

TFontEnumItem& TFontEnumList::Add(std::unique_ptr<TFontEnumItem> item)
{
    TFontEnumFamilyItem& family = FamilyFor(item->FamilyName);
    return family.Add(std::move(item));
}

void TFontEnumList::DeleteRemoved()
{
    for (auto it = FFamilies.begin(); it != FFamilies.end();) {
        it->second->DeleteRemoved();
        it = it->second->Count() == 0 ? FFamilies.erase(it) : std::next(it);
    }
}

} // namespace catalogue
