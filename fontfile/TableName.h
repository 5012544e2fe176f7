#pragma once

// The "name" table: every name record of the font in a tree keyed by platform and encoding,
// language and name ID, and the rules that choose the names describing the face.

#include "FontTable.h"
#include "KeyIndex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fontfile {

class TGeneralFontInfoItem;

// Name IDs the program uses.
namespace NameId {
inline constexpr std::uint16_t Copyright = 0;
inline constexpr std::uint16_t Family = 1;
inline constexpr std::uint16_t Style = 2;
inline constexpr std::uint16_t FullName = 4;
inline constexpr std::uint16_t Version = 5;
inline constexpr std::uint16_t PostScriptName = 6;
inline constexpr std::uint16_t Trademark = 7;
inline constexpr std::uint16_t Manufacturer = 8;
inline constexpr std::uint16_t Designer = 9;
inline constexpr std::uint16_t Description = 10;
inline constexpr std::uint16_t VendorURL = 11;
inline constexpr std::uint16_t DesignerURL = 12;
inline constexpr std::uint16_t License = 13;
inline constexpr std::uint16_t LicenseURL = 14;
inline constexpr std::uint16_t TypographicFamily = 16;
inline constexpr std::uint16_t TypographicSubfamily = 17;
} // namespace NameId

struct TNameField {
    std::uint16_t NameID = 0;
    std::u16string Text;
};

// The string bytes of one read of a name table. The lists keep where each name's bytes lie
// and decode them when asked: a face needs a handful of the names a table holds.
struct TNameStrings {
    std::vector<std::uint8_t> Bytes;
};

// The names of one language, in order of first appearance; one field per name ID.
class TNameLanguageList {
public:
    TNameLanguageList(std::uint16_t languageId, bool wide, std::shared_ptr<const TNameStrings> strings)
        : FLanguageID(languageId), FWide(wide), FStrings(std::move(strings))
    {
    }

    std::uint16_t LanguageID() const { return FLanguageID; }
    std::size_t Count() const { return FFields.size(); }
    // The field at index with its text decoded.
    TNameField Field(std::size_t index) const;
    // The text of a name ID, or nothing when the list has no such field.
    std::optional<std::u16string> Text(std::uint16_t nameId) const;
    bool Has(std::uint16_t nameId) const { return FIndex.Find(nameId).has_value(); }

    // Adds the field, or replaces the bytes of the field with the same name ID: its text is
    // the length bytes at start of the strings.
    void Set(std::uint16_t nameId, std::size_t start, std::uint16_t length);
    // Room for count fields, so that filling the list reallocates nothing.
    void Reserve(std::size_t count);

private:
    struct TNameSpan {
        std::uint16_t NameID = 0;
        std::uint16_t Length = 0;
        std::size_t Start = 0;
    };
    std::u16string Decode(const TNameSpan& span) const;

    std::uint16_t FLanguageID;
    bool FWide;  // UTF-16 (Unicode and Microsoft platforms), else single-byte text
    std::shared_ptr<const TNameStrings> FStrings;
    std::vector<TNameSpan> FFields;
    TKeyIndex<std::uint16_t> FIndex;
};

// The languages of one platform and encoding, in order of first appearance.
class TNamePlatformList {
public:
    TNamePlatformList(std::uint16_t platformId, std::uint16_t encodingId, std::shared_ptr<const TNameStrings> strings)
        : FPlatformID(platformId), FEncodingID(encodingId), FStrings(std::move(strings))
    {
    }

    std::uint16_t PlatformID() const { return FPlatformID; }
    std::uint16_t EncodingID() const { return FEncodingID; }
    std::size_t Count() const { return FLanguages.size(); }
    const TNameLanguageList& Language(std::size_t index) const { return FLanguages.at(index); }
    const TNameLanguageList* FindLanguage(std::uint16_t languageId) const;

    TNameLanguageList& LanguageFor(std::uint16_t languageId);

private:
    std::uint16_t FPlatformID;
    std::uint16_t FEncodingID;
    std::shared_ptr<const TNameStrings> FStrings;
    std::vector<TNameLanguageList> FLanguages;
    TKeyIndex<std::uint16_t> FIndex;
};

// Every platform list of the table, in order of first appearance.
class TNameList {
public:
    std::size_t Count() const { return FPlatforms.size(); }
    const TNamePlatformList& Platform(std::size_t index) const { return FPlatforms.at(index); }
    const TNamePlatformList* FindPlatform(std::uint16_t platformId, std::uint16_t encodingId) const;

    // The lists added after this point decode from strings.
    void SetStrings(std::shared_ptr<const TNameStrings> strings) { FStrings = std::move(strings); }
    TNamePlatformList& PlatformFor(std::uint16_t platformId, std::uint16_t encodingId);
    void Clear();

private:
    std::shared_ptr<const TNameStrings> FStrings;
    std::vector<TNamePlatformList> FPlatforms;
    TKeyIndex<std::uint32_t> FIndex;
};

// Ten descriptive names of a face; each empty when the font does not have it.
struct TAdditionalFontNameInfo {
    std::u16string Copyright;     // name ID 0
    std::u16string Trademark;     // 7
    std::u16string Version;       // 5
    std::u16string Description;   // 10
    std::u16string Manufacturer;  // 8
    std::u16string VendorURL;     // 11
    std::u16string Designer;      // 9
    std::u16string DesignerURL;   // 12
    std::u16string License;       // 13
    std::u16string LicenseURL;    // 14

    bool operator==(const TAdditionalFontNameInfo&) const = default;
};

class TTableName final : public TFontTable {
public:
    // Name records may share their strings, so the text decoded from one table is bounded by
    // a budget that grows with the table's length, within these limits; records beyond it
    // are skipped. Real tables decode about their own length.
    static constexpr std::uint64_t kMaxDecodedStringBytes = 4u << 20;
    static constexpr std::uint64_t kMinDecodedStringBytes = 1u << 20;
    static constexpr std::uint64_t kStringBudgetPerTableByte = 64;
    static std::uint64_t StringBudgetFor(std::uint64_t tableLength);

    // The budget is also bounded by the bytes from the table's start to the end of the stream
    // it is read from.
    explicit TTableName(const std::string& tag = "name", std::uint64_t stringBudget = kMaxDecodedStringBytes);

    // Never raises for bad content: records outside the stream are skipped.
    void Read(TFontStream& stream) override;

    // Bytes of string data the last read decoded (what it took of its budget).
    std::uint64_t DecodedStringBytes() const { return FDecodedStringBytes; }

    const TNameList& Names() const { return FNames; }
    std::size_t PlatformCount() const { return FNames.Count(); }
    const TNamePlatformList& Platform(std::size_t index) const { return FNames.Platform(index); }
    const TNamePlatformList* FindPlatform(std::uint16_t platformId, std::uint16_t encodingId) const
    {
        return FNames.FindPlatform(platformId, encodingId);
    }

    // The platform list the names are taken from, or none.
    const TNamePlatformList* PreferredPlatformList() const;

    // Writes the full, family, style, typographic and face full names that it finds into an
    // item whose font kind is already set, choosing the language by the system locale.
    void FillGeneralNames(TGeneralFontInfoItem& item) const;
    TAdditionalFontNameInfo FillAdditionalNames() const;

private:
    TNameList FNames;
    std::uint64_t FStringBudget;
    std::uint64_t FDecodedStringBytes = 0;
};

} // namespace fontfile
