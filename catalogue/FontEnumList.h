#pragma once

// Faces as one source sees them (the system enumeration, or the faces read from font files),
// grouped by family, for comparing one enumeration with the previous one.

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace catalogue {

// Status of a record between two enumerations.
namespace EnumStatus {
inline constexpr std::uint8_t Unchanged = 0;
inline constexpr std::uint8_t New = 1;
inline constexpr std::uint8_t Removed = 2;
} // namespace EnumStatus

// Compares names the way the catalogue does: without regard to case.
QString FoldedName(const QString& name);

struct TFontEnumItem {
    QString FullName;
    QString RegistryName;
    QString FamilyName;
    QString StyleName;
    std::int32_t Weight = 0;
    bool Italic = false;
    std::int32_t GdiTypeBits = 0;
    QString FontFile;
    QString SecondFile;
    std::uint8_t FontKind = 0;
    std::uint8_t Status = EnumStatus::New;
    bool Processed = false;
    // Where the system found the face (its file and the face's index there), when it says.
    QString SystemFile;
    int SystemIndex = -1;

    // Same full name (without regard to case) and every bit of typeBits set here.
    bool Matches(const QString& fullName, std::int32_t typeBits) const;
};

// The records of one family, in the order they were added.
class TFontEnumFamilyItem {
public:
    explicit TFontEnumFamilyItem(const QString& familyName) : FFamilyName(familyName) {}

    const QString& FamilyName() const { return FFamilyName; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TFontEnumItem& Item(int index) const { return *FItems.at(static_cast<std::size_t>(index)); }

    // The first record matching fullName and typeBits; none when there is none.
    TFontEnumItem* Find(const QString& fullName, std::int32_t typeBits) const;
    // Adds the record unless a matching one is here; answers the one kept.
    TFontEnumItem& Add(std::unique_ptr<TFontEnumItem> item);
    // Adds the record even when a matching one is here.
    TFontEnumItem& Append(std::unique_ptr<TFontEnumItem> item);
    // Drops every record marked removed.
    void DeleteRemoved();

private:
    QString FFamilyName;
    std::vector<std::unique_ptr<TFontEnumItem>> FItems;
};

// Families by name without regard to case, in the order of their folded names.
class TFontEnumList {
public:
    int Count() const { return static_cast<int>(FFamilies.size()); }
    bool Empty() const { return FFamilies.empty(); }
    TFontEnumFamilyItem* Find(const QString& familyName) const;
    // The family of that name, made when missing.
    TFontEnumFamilyItem& FamilyFor(const QString& familyName);
    // Adds a record to the family of its family name (see TFontEnumFamilyItem::Add).
    TFontEnumItem& Add(std::unique_ptr<TFontEnumItem> item);
    void Clear() { FFamilies.clear(); }

    // Drops the records marked removed and the families left empty.
    void DeleteRemoved();
    // Every record, family by family.
    template <class F> void ForEach(F&& visit) const
    {
        for (const auto& [key, family] : FFamilies)
            for (int i = 0; i < family->Count(); ++i)
                visit(family->Item(i));
    }
    template <class F> void ForEachFamily(F&& visit) const
    {
        for (const auto& [key, family] : FFamilies)
            visit(*family);
    }

private:
    std::map<QString, std::unique_ptr<TFontEnumFamilyItem>> FFamilies;
};

} // namespace catalogue
