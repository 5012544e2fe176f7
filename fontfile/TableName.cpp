#include "TableName.h"

#include "Environment.h"
#include "GeneralFontInfo.h"
#include "StreamReaders.h"
#include "WarningCollector.h"

#include <array>
#include <map>
#include <tuple>
#include <utility>

namespace fontfile {

// ---- the name tree ----

std::optional<std::u16string> TNameLanguageList::Text(std::uint16_t nameId) const
{
    const auto found = FIndex.find(nameId);
    if (found == FIndex.end())
        return std::nullopt;
    return FFields[found->second].Text;
}

void TNameLanguageList::Set(std::uint16_t nameId, std::u16string text)
{
    const auto [position, inserted] = FIndex.emplace(nameId, FFields.size());
    if (inserted)
        FFields.push_back({nameId, std::move(text)});
    else
        FFields[position->second].Text = std::move(text);
}

const TNameLanguageList* TNamePlatformList::FindLanguage(std::uint16_t languageId) const
{
    const auto found = FIndex.find(languageId);
    return found == FIndex.end() ? nullptr : &FLanguages[found->second];
}

TNameLanguageList& TNamePlatformList::LanguageFor(std::uint16_t languageId)
{
    const auto [position, inserted] = FIndex.emplace(languageId, FLanguages.size());
    if (inserted)
        FLanguages.emplace_back(languageId);
    return FLanguages[position->second];
}

namespace {

std::uint32_t PlatformKey(std::uint16_t platformId, std::uint16_t encodingId)
{
    return (std::uint32_t{platformId} << 16) | encodingId;
}

} // namespace

const TNamePlatformList* TNameList::FindPlatform(std::uint16_t platformId, std::uint16_t encodingId) const
{
    const auto found = FIndex.find(PlatformKey(platformId, encodingId));
    return found == FIndex.end() ? nullptr : &FPlatforms[found->second];
}

TNamePlatformList& TNameList::PlatformFor(std::uint16_t platformId, std::uint16_t encodingId)
{
    const auto [position, inserted] = FIndex.emplace(PlatformKey(platformId, encodingId), FPlatforms.size());
    if (inserted)
        FPlatforms.emplace_back(platformId, encodingId);
    return FPlatforms[position->second];
}

void TNameList::Clear()
{
    FPlatforms.clear();
    FIndex.clear();
}

// ---- reading ----

namespace {

constexpr std::uint64_t kNameHeaderSize = 6;
constexpr std::uint64_t kNameRecordSize = 12;
constexpr std::uint16_t kPlatformUnicode = 0;
constexpr std::uint16_t kPlatformMacintosh = 1;
constexpr std::uint16_t kPlatformMicrosoft = 3;

// Unicode and Microsoft names are UTF-16; every other platform's are single-byte text.
bool IsWidePlatform(std::uint16_t platformId)
{
    return platformId == kPlatformUnicode || platformId == kPlatformMicrosoft;
}

std::u16string DecodeName(TFontStream& stream, std::uint16_t platformId, std::uint16_t length)
{
    if (IsWidePlatform(platformId))
        return be::ReadUTF16String(stream, length);
    const std::string bytes = be::ReadAnsiString(stream, length);
    if (auto wide = TextServices().MultiByteToWide(0, bytes, false))
        return *std::move(wide);
    return Widen(bytes);
}

// A table with a non-zero format selector may carry data after its records that merely
// looks like records; such a "record" ends the reading.
bool LooksLikeTrailingData(std::uint16_t platformId, std::uint16_t encodingId, std::uint16_t nameId)
{
    return platformId > 4 && encodingId > 10 && nameId > 20;
}

} // namespace

TTableName::TTableName(const std::string& tag, std::uint64_t stringBudget)
    : TFontTable(CheckedTag("TTableName", "name", tag)), FStringBudget(stringBudget)
{
}

std::uint64_t TTableName::StringBudgetFor(std::uint64_t tableLength)
{
    const std::uint64_t scaled = tableLength < kMaxDecodedStringBytes / kStringBudgetPerTableByte
        ? tableLength * kStringBudgetPerTableByte
        : kMaxDecodedStringBytes;
    return scaled < kMinDecodedStringBytes ? kMinDecodedStringBytes : scaled;
}

namespace {

struct TNameRecord {
    std::uint16_t PlatformID = 0;
    std::uint16_t EncodingID = 0;
    std::uint16_t LanguageID = 0;
    std::uint16_t NameID = 0;
    std::uint16_t Length = 0;
    std::uint16_t StringOffset = 0;
};

TNameRecord ReadNameRecord(TFontStream& stream)
{
    std::uint8_t bytes[kNameRecordSize];
    ReadPadded(stream, bytes, sizeof bytes);
    const auto field = [&bytes](std::size_t index) {
        return static_cast<std::uint16_t>((bytes[2 * index] << 8) | bytes[2 * index + 1]);
    };
    return {field(0), field(1), field(2), field(3), field(4), field(5)};
}

// Records of many languages often point at one string; a long one is decoded once.
class TDecodedStringCache {
public:
    static constexpr std::uint16_t kMinCachedLength = 256;

    const std::u16string* Find(std::uint64_t start, std::uint16_t length, bool wide) const
    {
        const auto found = FStrings.find({start, length, wide});
        return found == FStrings.end() ? nullptr : &found->second;
    }
    void Keep(std::uint64_t start, std::uint16_t length, bool wide, const std::u16string& text)
    {
        if (length >= kMinCachedLength)
            FStrings.emplace(TKey{start, length, wide}, text);
    }

private:
    using TKey = std::tuple<std::uint64_t, std::uint16_t, bool>;
    std::map<TKey, std::u16string> FStrings;
};

} // namespace

void TTableName::Read(TFontStream& stream)
{
    FNames.Clear();
    const std::uint64_t start = stream.Position();
    const std::uint16_t formatSelector = be::ReadUInt16(stream);
    if (formatSelector != 0)
        AddWarning("(Warning level: low) FormatSelector is supposed to be zero but is " +
                   std::to_string(formatSelector));
    std::uint64_t recordCount = be::ReadUInt16(stream);
    const std::uint16_t storageOffset = be::ReadUInt16(stream);
    // Records past the end of the stream are not there.
    const std::uint64_t recordsPresent = stream.Remaining() / kNameRecordSize;
    if (recordCount > recordsPresent)
        recordCount = recordsPresent;

    // A stream holding only this table bounds it by its own size.
    const std::uint64_t streamBudget = StringBudgetFor(stream.Size() > start ? stream.Size() - start : 0);
    std::uint64_t budget = FStringBudget < streamBudget ? FStringBudget : streamBudget;
    FDecodedStringBytes = 0;
    TDecodedStringCache decoded;
    for (std::uint64_t i = 0; i < recordCount; ++i) {
        stream.Seek(start + kNameHeaderSize + kNameRecordSize * i);
        const TNameRecord record = ReadNameRecord(stream);
        if (formatSelector != 0 && LooksLikeTrailingData(record.PlatformID, record.EncodingID, record.NameID))
            break;

        const std::uint64_t stringStart = start + storageOffset + record.StringOffset;
        if (stringStart + record.Length > stream.Size() || record.Length > budget)
            continue;
        budget -= record.Length;
        FDecodedStringBytes += record.Length;
        const bool wide = IsWidePlatform(record.PlatformID);
        std::u16string text;
        if (const auto* known = decoded.Find(stringStart, record.Length, wide)) {
            text = *known;
        } else {
            stream.Seek(stringStart);
            text = DecodeName(stream, record.PlatformID, record.Length);
            decoded.Keep(stringStart, record.Length, wide, text);
        }
        FNames.PlatformFor(record.PlatformID, record.EncodingID)
            .LanguageFor(record.LanguageID)
            .Set(record.NameID, std::move(text));
    }
}

// ---- choosing names ----

const TNamePlatformList* TTableName::PreferredPlatformList() const
{
    static constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 9> kPreference = {{
        {kPlatformMicrosoft, 1}, {kPlatformMicrosoft, 10}, {kPlatformMicrosoft, 0},
        {kPlatformMicrosoft, 2}, {kPlatformMicrosoft, 3},  {kPlatformMicrosoft, 4},
        {kPlatformMicrosoft, 5}, {kPlatformMicrosoft, 6},  {kPlatformMacintosh, 0},
    }};
    for (const auto& [platformId, encodingId] : kPreference)
        if (const auto* list = FNames.FindPlatform(platformId, encodingId))
            return list;
    return FNames.Count() > 0 ? &FNames.Platform(0) : nullptr;
}

namespace {

constexpr std::uint16_t kLanguageUSEnglish = 1033;

// The main national variant of a language stands in for its regional ones (de-CH -> de-DE).
std::uint16_t SubstituteLanguage(std::uint16_t localeId)
{
    switch (localeId & 0x3FF) {
    case 7: return 1031;
    case 10: return 1034;
    case 12: return 1036;
    case 16: return 1040;
    case 19: return 1043;
    case 20: return 1044;
    case 22: return 2070;
    case 24: return 1048;
    default: return localeId;
    }
}

struct TChosenName {
    std::u16string Text;
    bool Found = false;

    // Takes the field nameId of list when the list has it; answers whether it did.
    bool TakeFrom(const TNameLanguageList& list, std::uint16_t nameId)
    {
        auto text = list.Text(nameId);
        if (!text)
            return false;
        Text = *std::move(text);
        Found = true;
        return true;
    }
    void TakeIfMissing(const TNameLanguageList& list, std::uint16_t nameId)
    {
        if (!Found)
            TakeFrom(list, nameId);
    }
    void Compose(const TChosenName& family, const TChosenName& style)
    {
        Text = family.Text + u" " + style.Text;
        Found = true;
    }
};

class TGeneralNameChoice {
public:
    TGeneralNameChoice(const TNamePlatformList& platform, std::uint16_t systemLocale)
        : FPlatform(platform), FSystemLocale(systemLocale)
    {
    }

    void Choose()
    {
        SystemLanguageStep();
        for (const std::uint16_t language : {SubstituteLanguage(FSystemLocale), kLanguageUSEnglish}) {
            if (Complete())
                break;
            LanguageStep(language);
        }
        if (!Complete())
            AnyLanguageStep();
    }

    void WriteTo(TGeneralFontInfoItem& item) const
    {
        if (FFull.Found)
            item.SetFullName(FFull.Text);
        if (FFamily.Found)
            item.SetFamilyName(FFamily.Text);
        if (FStyle.Found)
            item.SetStyleName(FStyle.Text);
        if (FTypographicFamily.Found)
            item.SetPreferredFamily(FTypographicFamily.Text);
        if (FTypographicSubfamily.Found)
            item.SetPreferredSubfamily(FTypographicSubfamily.Text);
        if (FFaceFull.Found)
            item.SetFaceFullName(FFaceFull.Text);
        // The system knows faces with compact-font-format outlines by their PostScript name.
        if (item.FontKind() == FontKind::OpenTypePostScript && FPostScript.Found)
            item.SetFaceFullName(FPostScript.Text);
    }

private:
    bool Complete() const { return FFaceFull.Found && FFull.Found && FFamily.Found && FStyle.Found; }

    void SystemLanguageStep()
    {
        const auto* list = FPlatform.FindLanguage(FSystemLocale);
        if (!list)
            return;
        if (list->Has(NameId::FullName)) {
            FFull.TakeFrom(*list, NameId::FullName);
            FFaceFull.TakeFrom(*list, NameId::FullName);
        } else if (FFamily.TakeFrom(*list, NameId::Family)) {
            if (FStyle.TakeFrom(*list, NameId::Style))
                FFull.Compose(FFamily, FStyle);
        }
        FFamily.TakeIfMissing(*list, NameId::Family);
        FStyle.TakeIfMissing(*list, NameId::Style);
        FTypographicFamily.TakeFrom(*list, NameId::TypographicFamily);
        FTypographicSubfamily.TakeFrom(*list, NameId::TypographicSubfamily);
        FPostScript.TakeFrom(*list, NameId::PostScriptName);
    }

    void LanguageStep(std::uint16_t language)
    {
        if (language == FSystemLocale)
            return;
        const auto* list = FPlatform.FindLanguage(language);
        if (!list)
            return;
        if (!FFamily.Found && FFamily.TakeFrom(*list, NameId::Family) && !FFull.Found) {
            if (FStyle.Found)
                FFull.Compose(FFamily, FStyle);
            else
                FStyle.TakeFrom(*list, NameId::Style);
        }
        FFull.TakeIfMissing(*list, NameId::FullName);
        FStyle.TakeIfMissing(*list, NameId::Style);
        FTypographicFamily.TakeIfMissing(*list, NameId::TypographicFamily);
        FTypographicSubfamily.TakeIfMissing(*list, NameId::TypographicSubfamily);
        FFaceFull.TakeIfMissing(*list, NameId::FullName);
        FPostScript.TakeIfMissing(*list, NameId::PostScriptName);
    }

    // The PostScript name is not looked for here.
    void AnyLanguageStep()
    {
        for (std::size_t i = 0; i < FPlatform.Count(); ++i) {
            const auto& list = FPlatform.Language(i);
            FFull.TakeIfMissing(list, NameId::FullName);
            FFamily.TakeIfMissing(list, NameId::Family);
            FStyle.TakeIfMissing(list, NameId::Style);
            FTypographicFamily.TakeIfMissing(list, NameId::TypographicFamily);
            FTypographicSubfamily.TakeIfMissing(list, NameId::TypographicSubfamily);
            FFaceFull.TakeIfMissing(list, NameId::FullName);
        }
    }

    const TNamePlatformList& FPlatform;
    const std::uint16_t FSystemLocale;
    TChosenName FFull, FFamily, FStyle, FTypographicFamily, FTypographicSubfamily, FFaceFull, FPostScript;
};

} // namespace

void TTableName::FillGeneralNames(TGeneralFontInfoItem& item) const
{
    const auto* platform = PreferredPlatformList();
    if (!platform)
        return;
    TGeneralNameChoice choice(*platform, TextServices().SystemLocaleId());
    choice.Choose();
    choice.WriteTo(item);
}

TAdditionalFontNameInfo TTableName::FillAdditionalNames() const
{
    TAdditionalFontNameInfo info;
    const auto* platform = PreferredPlatformList();
    if (!platform)
        return info;
    const std::uint16_t language = platform->Count() == 1 ? platform->Language(0).LanguageID() : kLanguageUSEnglish;
    const auto* list = platform->FindLanguage(language);
    if (!list)
        return info;
    const auto take = [list](std::uint16_t nameId) { return list->Text(nameId).value_or(std::u16string()); };
    info.Copyright = take(NameId::Copyright);
    info.Trademark = take(NameId::Trademark);
    info.Version = take(NameId::Version);
    info.Description = take(NameId::Description);
    info.Manufacturer = take(NameId::Manufacturer);
    info.VendorURL = take(NameId::VendorURL);
    info.Designer = take(NameId::Designer);
    info.DesignerURL = take(NameId::DesignerURL);
    info.License = take(NameId::License);
    info.LicenseURL = take(NameId::LicenseURL);
    return info;
}

} // namespace fontfile
