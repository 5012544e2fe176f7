#pragma once

// The faces of one family, in order. The family refers to its faces; it never frees them.

#include <QString>

#include <vector>

namespace catalogue {

class TFontItem;

class TFontFamilyItem {
public:
    explicit TFontFamilyItem(const QString& familyName) : FFamilyName(familyName) {}
    TFontFamilyItem(const TFontFamilyItem&) = delete;
    TFontFamilyItem& operator=(const TFontFamilyItem&) = delete;

    const QString& FamilyName() const { return FFamilyName; }
    void SetFamilyName(const QString& value) { FFamilyName = value; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TFontItem* Item(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
    const std::vector<TFontItem*>& Items() const { return FItems; }
    int IndexOf(const TFontItem* item) const;

    // Appends the face and attaches it to this family.
    void Add(TFontItem* item);
    // Takes the face out and detaches it; false when it is not here.
    bool Remove(TFontItem* item);

    // The face with this full name (without regard to case) and these GDI type bits.
    TFontItem* FindFace(const QString& fullName, int gdiTypeBits) const;

    // Faces that count in the tab captions.
    int CountableCount() const;

    // Weight ascending, upright before italic, then by font file name in the user's collation.
    void SortItems();

private:
    QString FFamilyName;
    std::vector<TFontItem*> FItems;
};

} // namespace catalogue
