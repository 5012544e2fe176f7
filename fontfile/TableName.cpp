#include "TableName.h"

#include "Environment.h"
#include "GeneralFontInfo.h"
#include "StreamReaders.h"
#include "WarningCollector.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace fontfile {

// ---- the name tree ----

namespace {

constexpr std::uint16_t kPlatformUnicode = 0;
constexpr std::uint16_t kPlatformMacintosh = 1;
constexpr std::uint16_t kPlatformMicrosoft = 3;

// Unicode and Microsoft names are UTF-16; every other platform's are single-byte text.
bool IsWidePlatform(std::uint16_t platformId)
{
    return platformId == kPlatformUnicode || platformId == kPlatformMicrosoft;
}

} // namespace

std::u16string TNameLanguageList::Decode(const TNameSpan& span) const
{
    const std::uint8_t* bytes = FStrings->Bytes.data() + span.Start;
    if (FWide) {
        // An odd last byte is dropped.
        std::u16string text(span.Length / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
        return text;
    }
    const std::string narrow(reinterpret_cast<const char*>(bytes), span.Length);
    if (auto wide = TextServices().MultiByteToWide(0, narrow, false))
        return *std::move(wide);
    return Widen(narrow);
}

TNameField TNameLanguageList::Field(std::size_t index) const
{
    const TNameSpan& span = FFields.at(index);
    return {span.NameID, Decode(span)};
}

std::optional<std::u16string> TNameLanguageList::Text(std::uint16_t nameId) const
{
    const auto found = FIndex.Find(nameId);
    if (!found)
        return std::nullopt;
    return Decode(FFields[*found]);
}

void TNameLanguageList::Set(std::uint16_t nameId, std::size_t start, std::uint16_t length)
{
    if (const auto found = FIndex.Find(nameId)) {
        FFields[*found].Start = start;
        FFields[*found].Length = length;
        return;
    }
    FIndex.Append(nameId);
    FFields.push_back({nameId, length, start});
}

void TNameLanguageList::Reserve(std::size_t count)
{
    FFields.reserve(count);
    FIndex.Reserve(count);
}

const TNameLanguageList* TNamePlatformList::FindLanguage(std::uint16_t languageId) const
{
    const auto found = FIndex.Find(languageId);
    return found ? &FLanguages[*found] : nullptr;
}

TNameLanguageList& TNamePlatformList::LanguageFor(std::uint16_t languageId)
{
    if (const auto found = FIndex.Find(languageId))
        return FLanguages[*found];
    FIndex.Append(languageId);
    return FLanguages.emplace_back(languageId, IsWidePlatform(FPlatformID), FStrings);
}

namespace {

std::uint32_t PlatformKey(std::uint16_t platformId, std::uint16_t encodingId)
{
    return (std::uint32_t{platformId} << 16) | encodingId;
}

} // namespace

const TNamePlatformList* TNameList::FindPlatform(std::uint16_t platformId, std::uint16_t encodingId) const
{
    const auto found = FIndex.Find(PlatformKey(platformId, encodingId));
    return found ? &FPlatforms[*found] : nullptr;
}

TNamePlatformList& TNameList::PlatformFor(std::uint16_t platformId, std::uint16_t encodingId)
{
    const std::uint32_t key = PlatformKey(platformId, encodingId);
    if (const auto found = FIndex.Find(key))
        return FPlatforms[*found];
    FIndex.Append(key);
    return FPlatforms.emplace_back(platformId, encodingId, FStrings);
}

void TNameList::Clear()
{
    FPlatforms.clear();
    FIndex.Clear();
    FStrings.reset();
}

// ---- reading ----

namespace {

constexpr std::uint64_t kNameHeaderSize = 6;
constexpr std::uint64_t kNameRecordSize = 12;

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
    std::uint64_t StringStart = 0;  // in the stream
};

std::uint16_t BigEndian16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

// The string bytes of the records, read in one piece when they lie close together (as in
// every real table), else record by record, so that a few records far apart never make the
// read take much more than their own bytes.
std::shared_ptr<TNameStrings> ReadStrings(TFontStream& stream, std::vector<TNameRecord>& records)
{
    auto strings = std::make_shared<TNameStrings>();
    std::uint64_t first = UINT64_MAX, last = 0, total = 0;
    for (const TNameRecord& record : records) {
        if (record.Length == 0)
            continue;
        first = std::min(first, record.StringStart);
        last = std::max(last, record.StringStart + record.Length);
        total += record.Length;
    }
    if (total == 0) {
        for (TNameRecord& record : records)
            record.StringStart = 0;
        return strings;
    }
    constexpr std::uint64_t kSlack = 4096;
    if (last - first <= 2 * total + kSlack) {
        strings->Bytes.resize(static_cast<std::size_t>(last - first));
        stream.Seek(first);
        ReadPadded(stream, strings->Bytes.data(), strings->Bytes.size());
        for (TNameRecord& record : records)
            record.StringStart = record.Length == 0 ? 0 : record.StringStart - first;
        return strings;
    }
    strings->Bytes.reserve(static_cast<std::size_t>(total));
    for (TNameRecord& record : records) {
        const std::size_t at = strings->Bytes.size();
        if (record.Length > 0) {
            strings->Bytes.resize(at + record.Length);
            stream.Seek(record.StringStart);
            ReadPadded(stream, strings->Bytes.data() + at, record.Length);
        }
        record.StringStart = at;
    }
    return strings;
}

} // namespace

void TTableName::Read(TFontStream& stream)
{
    FNames.Clear();
    const std::uint64_t start = stream.Position();
    std::uint8_t header[kNameHeaderSize];
    ReadPadded(stream, header, sizeof header);
    const std::uint16_t formatSelector = BigEndian16(header);
    if (formatSelector != 0)
        AddWarning("(Warning level: low) FormatSelector is supposed to be zero but is " +
                   std::to_string(formatSelector));
    std::uint64_t recordCount = BigEndian16(header + 2);
    const std::uint16_t storageOffset = BigEndian16(header + 4);
    // Records past the end of the stream are not there.
    const std::uint64_t recordsPresent = stream.Remaining() / kNameRecordSize;
    if (recordCount > recordsPresent)
        recordCount = recordsPresent;
    std::vector<std::uint8_t> recordBytes(static_cast<std::size_t>(recordCount * kNameRecordSize));
    ReadPadded(stream, recordBytes.data(), recordBytes.size());

    // A stream holding only this table bounds it by its own size.
    const std::uint64_t streamBudget = StringBudgetFor(stream.Size() > start ? stream.Size() - start : 0);
    std::uint64_t budget = FStringBudget < streamBudget ? FStringBudget : streamBudget;
    FDecodedStringBytes = 0;
    std::vector<TNameRecord> records;
    records.reserve(static_cast<std::size_t>(recordCount));
    for (std::size_t i = 0; i < recordBytes.size(); i += kNameRecordSize) {
        const std::uint8_t* field = recordBytes.data() + i;
        TNameRecord record{BigEndian16(field), BigEndian16(field + 2), BigEndian16(field + 4),
                           BigEndian16(field + 6), BigEndian16(field + 8), 0};
        if (formatSelector != 0 && LooksLikeTrailingData(record.PlatformID, record.EncodingID, record.NameID))
            break;
        record.StringStart = start + storageOffset + BigEndian16(field + 10);
        if (record.StringStart + record.Length > stream.Size() || record.Length > budget)
            continue;
        budget -= record.Length;
        FDecodedStringBytes += record.Length;
        records.push_back(record);
    }

    FNames.SetStrings(ReadStrings(stream, records));
    const auto sameList = [](const TNameRecord& a, const TNameRecord& b) {
        return a.PlatformID == b.PlatformID && a.EncodingID == b.EncodingID && a.LanguageID == b.LanguageID;
    };
    for (std::size_t i = 0; i < records.size();) {
        // Real tables keep the records of one language together: a run of them fills its list.
        std::size_t end = i + 1;
        while (end < records.size() && sameList(records[i], records[end]))
            ++end;
        TNameLanguageList& list = FNames.PlatformFor(records[i].PlatformID, records[i].EncodingID)
                                      .LanguageFor(records[i].LanguageID);
        if (list.Count() == 0)
            list.Reserve(end - i);
        for (; i < end; ++i)
            list.Set(records[i].NameID, static_cast<std::size_t>(records[i].StringStart), records[i].Length);
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
