#pragma once

// A catalogue: its families in order, and the faces it holds. The list owns both; a face
// leaves the catalogue through RemoveItem or TakeItem.

#include <QHash>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

namespace catalogue {

class TFontFamilyItem;
class TFontItem;

class TFontFamilyList {
public:
    TFontFamilyList();
    ~TFontFamilyList();
    TFontFamilyList(const TFontFamilyList&) = delete;
    TFontFamilyList& operator=(const TFontFamilyList&) = delete;

    int Count() const { return static_cast<int>(FFamilies.size()); }
    TFontFamilyItem* Family(int index) const { return FFamilies.at(static_cast<std::size_t>(index)).get(); }
    // The family of that name, without regard to case; none when there is none.
    TFontFamilyItem* FindFamily(const QString& familyName) const;
    // Appends a new, empty family.
    TFontFamilyItem& AddFamily(const QString& familyName);

    // Takes the face and puts it into the family of its family name text (made when missing).
    TFontItem& AddItem(std::unique_ptr<TFontItem> item);
    // Takes the face out of its family and hands it back; a family left empty goes.
    std::unique_ptr<TFontItem> TakeItem(TFontItem* item);
    // Takes the face out and frees it.
    void RemoveItem(TFontItem* item);
    void Clear();

    int ItemCount() const { return static_cast<int>(FItems.size()); }
    // The sum of the families' countable faces.
    int CountableItems() const;

    // Families by name, and the faces of every family, in the user's collation.
    void Sort();

private:
    void RemoveFamilyIfEmpty(TFontFamilyItem* family);

    std::vector<std::unique_ptr<TFontFamilyItem>> FFamilies;
    // The first family of each case-folded name: lookups run for every face of every batch
    // and before every painted row.
    QHash<QString, TFontFamilyItem*> FFamilyIndex;
    std::unordered_map<const TFontItem*, std::unique_ptr<TFontItem>> FItems;
};

} // namespace catalogue
