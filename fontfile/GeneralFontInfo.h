#pragma once

// The one record that reading a font file yields per face, whatever the file's format, and
// the owning list of such records.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fontfile {

// Font kind: one byte shared by the readers and the catalogue.
namespace FontKind {
inline constexpr std::uint8_t NotDetermined = 0;
inline constexpr std::uint8_t Raster = 1;
inline constexpr std::uint8_t Vector = 2;
inline constexpr std::uint8_t PostScriptType1 = 3;
inline constexpr std::uint8_t TrueTypeCollection = 4;
inline constexpr std::uint8_t TrueType = 5;
inline constexpr std::uint8_t OpenTypeTrueType = 6;    // a "DSIG" table, no "CFF "
inline constexpr std::uint8_t OpenTypePostScript = 7;  // a "CFF " table
inline constexpr std::uint8_t Unreadable = 8;          // a reader raised
} // namespace FontKind

// The font type bits of the system's font enumeration.
namespace GdiTypeBits {
inline constexpr std::int32_t None = 0;      // vector face or unknown sfnt version
inline constexpr std::int32_t Raster = 1;
inline constexpr std::int32_t Device = 2;    // here: PostScript outlines
inline constexpr std::int32_t TrueType = 4;
} // namespace GdiTypeBits

// Removes white space and control characters from both ends.
std::u16string TrimmedText(std::u16string_view text);

class TGeneralFontInfoItem {
public:
    TGeneralFontInfoItem() = default;

    const std::u16string& FaceFullName() const { return FFaceFullName; }
    const std::u16string& PreferredFamily() const { return FPreferredFamily; }
    const std::u16string& RegistryName() const { return FRegistryName; }
    const std::u16string& FamilyName() const { return FFamilyName; }
    const std::u16string& PreferredSubfamily() const { return FPreferredSubfamily; }
    const std::u16string& StyleName() const { return FStyleName; }
    const std::u16string& FullName() const { return FFullName; }
    std::uint16_t FsSelection() const { return FFsSelection; }
    std::uint16_t WeightClass() const { return FWeightClass; }
    bool Italic() const { return FItalic; }
    std::int32_t GdiTypeBits() const { return FGdiTypeBits; }
    bool IsRegular() const { return FIsRegular; }
    bool IsSymbol() const { return FIsSymbol; }
    std::uint8_t FontKind() const { return FFontKind; }

    // Every text setter trims its value, except SetFamilyName which stores it as given.
    void SetFaceFullName(std::u16string_view value) { FFaceFullName = TrimmedText(value); }
    void SetPreferredFamily(std::u16string_view value) { FPreferredFamily = TrimmedText(value); }
    void SetRegistryName(std::u16string_view value) { FRegistryName = TrimmedText(value); }
    void SetFamilyName(std::u16string_view value) { FFamilyName = value; }
    void SetPreferredSubfamily(std::u16string_view value) { FPreferredSubfamily = TrimmedText(value); }
    void SetStyleName(std::u16string_view value) { FStyleName = TrimmedText(value); }
    void SetFullName(std::u16string_view value) { FFullName = TrimmedText(value); }
    void SetFsSelection(std::uint16_t value) { FFsSelection = value; }
    void SetWeightClass(std::uint16_t value) { FWeightClass = value; }
    void SetItalic(bool value) { FItalic = value; }
    void SetGdiTypeBits(std::int32_t value) { FGdiTypeBits = value; }
    void SetIsRegular(bool value) { FIsRegular = value; }
    void SetIsSymbol(bool value) { FIsSymbol = value; }
    void SetFontKind(std::uint8_t value) { FFontKind = value; }

    // The style of Type 1 and bitmap faces, derived from weight class and italic flag:
    // "Bold Italic", "Bold", "Italic", or "Regular" (which also sets IsRegular).
    // A weight of exactly 400 is not bold.
    void ApplyDerivedStyle();

    bool operator==(const TGeneralFontInfoItem&) const = default;

private:
    std::u16string FFaceFullName;
    std::u16string FPreferredFamily;
    std::u16string FRegistryName;
    std::u16string FFamilyName;
    std::u16string FPreferredSubfamily;
    std::u16string FStyleName;
    std::u16string FFullName;
    std::uint16_t FFsSelection = 0;
    std::uint16_t FWeightClass = 0;
    bool FItalic = false;
    std::int32_t FGdiTypeBits = 0;
    bool FIsRegular = false;
    bool FIsSymbol = false;
    std::uint8_t FFontKind = 0;
};

// An owning list of items in reading order. References returned by Add stay valid while the
// item is in the list.
class TGeneralFontInfoList {
public:
    TGeneralFontInfoList() = default;
    TGeneralFontInfoList(const TGeneralFontInfoList& other);
    TGeneralFontInfoList& operator=(const TGeneralFontInfoList& other);
    TGeneralFontInfoList(TGeneralFontInfoList&&) noexcept = default;
    TGeneralFontInfoList& operator=(TGeneralFontInfoList&&) noexcept = default;

    // Appends a new, empty item and answers it.
    TGeneralFontInfoItem& Add();
    // Appends a copy of item and answers the copy.
    TGeneralFontInfoItem& Add(const TGeneralFontInfoItem& item);
    // Moves every item of other to the end of this list, leaving other empty.
    void AppendAll(TGeneralFontInfoList&& other);

    std::size_t Count() const { return FItems.size(); }
    bool Empty() const { return FItems.empty(); }
    TGeneralFontInfoItem& operator[](std::size_t index) { return *FItems.at(index); }
    const TGeneralFontInfoItem& operator[](std::size_t index) const { return *FItems.at(index); }
    void Clear() { FItems.clear(); }

    // Removes every item that has an earlier item with the same FamilyName (compared
    // exactly), the same WeightClass and the same Italic flag.
    void RemoveDuplicateFaces();

private:
    std::vector<std::unique_ptr<TGeneralFontInfoItem>> FItems;
};

} // namespace fontfile
