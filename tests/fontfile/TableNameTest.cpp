// The naming table: reading the name tree and choosing the names of a face.

#include "FontTestSupport.h"
#include "SfntBuilder.h"

#include "fontfile/GeneralFontInfo.h"
#include "fontfile/StreamReaders.h"
#include "fontfile/TableName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

using namespace fontfile;
using namespace sfnttest;

namespace {

std::unique_ptr<TTableName> ReadNames(const TByteVector& bytes)
{
    TMemoryFontStream stream(bytes);
    auto table = std::make_unique<TTableName>();
    table->Read(stream);
    return table;
}

struct TExpectedNames {
    std::u16string Full, Family, Style, TypographicFamily, TypographicSubfamily, FaceFull;
};

TExpectedNames ChosenNames(const TTableName& table, std::uint8_t fontKind = FontKind::TrueType)
{
    TGeneralFontInfoItem item;
    item.SetFontKind(fontKind);
    table.FillGeneralNames(item);
    return {item.FullName(),        item.FamilyName(),         item.StyleName(),
            item.PreferredFamily(), item.PreferredSubfamily(), item.FaceFullName()};
}

void ExpectNames(const TExpectedNames& actual, const TExpectedNames& expected)
{
    EXPECT_EQ(actual.Full, expected.Full);
    EXPECT_EQ(actual.Family, expected.Family);
    EXPECT_EQ(actual.Style, expected.Style);
    EXPECT_EQ(actual.TypographicFamily, expected.TypographicFamily);
    EXPECT_EQ(actual.TypographicSubfamily, expected.TypographicSubfamily);
    EXPECT_EQ(actual.FaceFull, expected.FaceFull);
}

} // namespace

TEST(TableName, ChoosesNamesByPlatformAndLanguage)
{
    struct TCase {
        const char* Name;
        std::uint16_t Locale;
        TNameTableBuilder Table;
        TExpectedNames Expected;
    };
    const std::vector<TCase> cases = {
        {"windows US English",
         0x0409,
         TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold").Win(0x0409, 4, u"Alpha Bold")
             .Win(0x0409, 16, u"Alpha Pro").Win(0x0409, 17, u"Heavy"),
         {u"Alpha Bold", u"Alpha", u"Bold", u"Alpha Pro", u"Heavy", u"Alpha Bold"}},
        {"(3,1) is preferred to (3,10)",
         0x0409,
         TNameTableBuilder().Name(3, 10, 0x0409, 1, u"Wide").Name(3, 10, 0x0409, 4, u"Wide Full")
             .Win(0x0409, 1, u"Narrow").Win(0x0409, 2, u"Regular").Win(0x0409, 4, u"Narrow Full"),
         {u"Narrow Full", u"Narrow", u"Regular", u"", u"", u"Narrow Full"}},
        {"single Unicode platform list without a preferred pair",
         0x0409,
         TNameTableBuilder().Name(0, 3, 0, 1, u"Uni").Name(0, 3, 0, 2, u"Italic").Name(0, 3, 0, 4, u"Uni Italic"),
         {u"Uni Italic", u"Uni", u"Italic", u"", u"", u"Uni Italic"}},
        {"Swiss German system takes the German names",
         0x0807,
         TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold").Win(0x0409, 4, u"Alpha Bold")
             .Win(0x0407, 1, u"Alfa").Win(0x0407, 2, u"Fett").Win(0x0407, 4, u"Alfa Fett"),
         {u"Alfa Fett", u"Alfa", u"Fett", u"", u"", u"Alfa Fett"}},
        {"Canadian French system takes the French names",
         0x0C0C,
         TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 4, u"Alpha Bold")
             .Win(0x040C, 1, u"Alphe").Win(0x040C, 2, u"Gras").Win(0x040C, 4, u"Alphe Gras"),
         {u"Alphe Gras", u"Alphe", u"Gras", u"", u"", u"Alphe Gras"}},
        {"system language without ID 4 composes the full name; face full stays empty",
         0x0409,
         TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold"),
         {u"Alpha Bold", u"Alpha", u"Bold", u"", u"", u""}},
        {"system language without ID 4 takes face full from another language",
         0x0409,
         TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold").Win(0x0407, 4, u"Alfa Fett"),
         {u"Alpha Bold", u"Alpha", u"Bold", u"", u"", u"Alfa Fett"}},
        {"style from the system language, family from English: the full name is composed",
         0x0407,
         TNameTableBuilder().Win(0x0407, 2, u"Fett").Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold")
             .Win(0x0409, 4, u"Alpha Bold"),
         {u"Alpha Fett", u"Alpha", u"Fett", u"", u"", u"Alpha Bold"}},
        {"no system or English language: the first languages in order",
         0x0409,
         TNameTableBuilder().Win(0x0411, 1, u"Kana").Win(0x0412, 2, u"Bold").Win(0x0412, 4, u"Hangul Bold")
             .Win(0x0411, 17, u"W6"),
         {u"Hangul Bold", u"Kana", u"Bold", u"", u"W6", u"Hangul Bold"}},
        {"missing IDs 1 and 4 leave the names empty",
         0x0409,
         TNameTableBuilder().Win(0x0409, 2, u"Regular").Win(0x0409, 0, u"(c) nobody"),
         {u"", u"", u"Regular", u"", u"", u""}},
        {"Macintosh names through the ANSI code page",
         0x0409,
         TNameTableBuilder().Bytes(1, 0, 0, 1, "Caf\xE9").Bytes(1, 0, 0, 2, "Regular").Bytes(1, 0, 0, 4, "Caf\xE9 \x80"),
         {u"Caf\u00E9 \u20AC", u"Caf\u00E9", u"Regular", u"", u"", u"Caf\u00E9 \u20AC"}},
        {"Windows names are preferred to Macintosh names",
         0x0409,
         TNameTableBuilder().Bytes(1, 0, 0, 1, "MacName").Win(0x0409, 1, u"WinName"),
         {u"", u"WinName", u"", u"", u"", u""}},
        {"family name is stored untrimmed, the others trimmed",
         0x0409,
         TNameTableBuilder().Win(0x0409, 1, u" Alpha ").Win(0x0409, 2, u" Bold\t").Win(0x0409, 4, u" Alpha Bold "),
         {u"Alpha Bold", u" Alpha ", u"Bold", u"", u"", u"Alpha Bold"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const fonttest::TScopedSystemLocale locale(c.Locale);
        ExpectNames(ChosenNames(*ReadNames(c.Table.Build())), c.Expected);
    }
}

TEST(TableName, PostScriptNameIsTheFaceFullNameOfCompactFontFormatFaces)
{
    const fonttest::TScopedSystemLocale locale(0x0409);
    const auto table = ReadNames(TNameTableBuilder().Win(0x0409, 1, u"Alpha").Win(0x0409, 4, u"Alpha Bold")
                                     .Win(0x0409, 6, u"Alpha-Bold").Build());
    EXPECT_EQ(ChosenNames(*table, FontKind::OpenTypePostScript).FaceFull, u"Alpha-Bold");
    EXPECT_EQ(ChosenNames(*table, FontKind::OpenTypePostScript).Full, u"Alpha Bold");
    EXPECT_EQ(ChosenNames(*table, FontKind::TrueType).FaceFull, u"Alpha Bold");
}

TEST(TableName, EmptyTableWritesNothing)
{
    TGeneralFontInfoItem item;
    item.SetFamilyName(u"kept");
    ReadNames(TNameTableBuilder().Build())->FillGeneralNames(item);
    EXPECT_EQ(item.FamilyName(), u"kept");
    EXPECT_EQ(ReadNames(TNameTableBuilder().Build())->PreferredPlatformList(), nullptr);
    EXPECT_EQ(ReadNames(TNameTableBuilder().Build())->FillAdditionalNames(), TAdditionalFontNameInfo{});
}

TEST(TableName, AdditionalNamesComeFromEnglishOrTheOnlyLanguage)
{
    struct TCase {
        const char* Name;
        TNameTableBuilder Table;
        std::u16string Copyright, Designer, LicenseURL;
    };
    const std::vector<TCase> cases = {
        {"English among others",
         TNameTableBuilder().Win(0x0407, 0, u"(c) DE").Win(0x0409, 0, u"(c) EN").Win(0x0409, 9, u"Ann").Win(0x0409, 14, u"https://l"),
         u"(c) EN", u"Ann", u"https://l"},
        {"only German", TNameTableBuilder().Win(0x0407, 0, u"(c) DE").Win(0x0407, 9, u"Hans"), u"(c) DE", u"Hans", u""},
        {"German and French, no English",
         TNameTableBuilder().Win(0x0407, 0, u"(c) DE").Win(0x040C, 0, u"(c) FR"), u"", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto info = ReadNames(c.Table.Build())->FillAdditionalNames();
        EXPECT_EQ(info.Copyright, c.Copyright);
        EXPECT_EQ(info.Designer, c.Designer);
        EXPECT_EQ(info.LicenseURL, c.LicenseURL);
    }
    const auto all = ReadNames(TNameTableBuilder()
                                   .Win(0x0409, 0, u"c").Win(0x0409, 7, u"t").Win(0x0409, 5, u"v").Win(0x0409, 10, u"d")
                                   .Win(0x0409, 8, u"m").Win(0x0409, 11, u"vu").Win(0x0409, 9, u"de").Win(0x0409, 12, u"du")
                                   .Win(0x0409, 13, u"l").Win(0x0409, 14, u"lu").Build())
                         ->FillAdditionalNames();
    EXPECT_EQ(all, (TAdditionalFontNameInfo{u"c", u"t", u"v", u"d", u"m", u"vu", u"de", u"du", u"l", u"lu"}));
}

TEST(TableName, RecordsAtTheEndOfTheStream)
{
    struct TCase {
        const char* Name;
        int ExtraLength;
        bool Read;
    };
    for (const TCase& c : {TCase{"ends exactly at the end", 0, true}, TCase{"one byte beyond", 1, false}}) {
        SCOPED_TRACE(c.Name);
        TNameTableBuilder builder;
        builder.Win(0x0409, 2, u"Regular");
        builder.Record({3, 1, 0x0409, 1, {0, 'A', 0, 'B'}, static_cast<std::uint16_t>(4 + c.ExtraLength), {}});
        const auto table = ReadNames(builder.Build());
        const auto* list = table->FindPlatform(3, 1)->FindLanguage(0x0409);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Has(1), c.Read);
        EXPECT_EQ(list->Text(2), std::u16string(u"Regular"));
    }
}

TEST(TableName, DecodingAndReplacement)
{
    TNameTableBuilder builder;
    builder.Record({3, 1, 0x0409, 1, {0, 'A', 0, 'B', 0}, {}, {}});  // odd length: the last byte is dropped
    builder.Win(0x0409, 2, u"First");
    builder.Win(0x0409, 2, u"Second");                                  // same key: replaces the text
    builder.Bytes(2, 0, 0, 1, "Iso\xE9");                               // ISO platform: single-byte text
    const auto table = ReadNames(builder.Build());
    const auto* list = table->FindPlatform(3, 1)->FindLanguage(0x0409);
    EXPECT_EQ(list->Text(1), std::u16string(u"AB"));
    EXPECT_EQ(list->Text(2), std::u16string(u"Second"));
    EXPECT_EQ(list->Count(), 2u);
    EXPECT_EQ(table->FindPlatform(2, 0)->FindLanguage(0)->Text(1), std::u16string(u"Iso\u00E9"));
    EXPECT_EQ(table->PlatformCount(), 2u);
    EXPECT_FALSE(list->Text(4).has_value());
}

TEST(TableName, FormatSelectorWarnsAndStopsAtTrailingDataThatLooksLikeRecords)
{
    struct TCase {
        const char* Name;
        std::uint16_t FormatSelector;
        bool TrailingRecordStored;
        std::vector<std::string> Warnings;
    };
    const std::vector<TCase> cases = {
        {"format 0", 0, true, {}},
        {"format 1", 1, false, {"(Warning level: low) FormatSelector is supposed to be zero but is 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const fonttest::TWarningWatch watch;
        const auto table = ReadNames(TNameTableBuilder(c.FormatSelector)
                                         .Win(0x0409, 1, u"Alpha")
                                         .Name(5, 11, 0, 21, u"odd")
                                         .Win(0x0409, 2, u"After")
                                         .Build());
        EXPECT_EQ(table->FindPlatform(5, 11) != nullptr, c.TrailingRecordStored);
        EXPECT_EQ(table->FindPlatform(3, 1)->FindLanguage(0x0409)->Has(2), c.TrailingRecordStored);
        EXPECT_EQ(watch.Added(), c.Warnings);
    }
}

TEST(TableName, ReadingAgainStartsAfresh)
{
    TTableName table;
    {
        TMemoryFontStream first(TNameTableBuilder().Win(0x0409, 1, u"Alpha").Build());
        table.Read(first);
    }
    TMemoryFontStream second(TNameTableBuilder().Name(0, 3, 0, 1, u"Beta").Build());
    table.Read(second);
    EXPECT_EQ(table.PlatformCount(), 1u);
    EXPECT_EQ(table.FindPlatform(3, 1), nullptr);
}

TEST(TableName, HostileCountsAndLengthsStayBounded)
{
    // 65535 records claimed, each (where present) pointing at the whole table.
    TBytes bytes;
    bytes.U16(0).U16(0xFFFF).U16(0);
    for (std::uint16_t i = 0; i < 2000; ++i)
        bytes.U16(3).U16(1).U16(0x0409).U16(i).U16(0xFFFF).U16(0);
    const auto table = ReadNames(bytes.Take());
    // No record fits: every string would reach beyond the stream.
    EXPECT_EQ(table->PlatformCount(), 0u);
}

TEST(TableName, DecodedTextIsBoundedWhenRecordsShareOneLongString)
{
    constexpr std::uint16_t kRecords = 70;
    constexpr std::uint16_t kLength = 65000;
    TBytes bytes;
    bytes.U16(0).U16(kRecords).U16(6 + 12 * kRecords);  // format, count, storage offset
    for (std::uint16_t i = 0; i < kRecords; ++i)
        bytes.U16(3).U16(1).U16(0x0409).U16(i).U16(kLength).U16(0);  // all share the same string
    bytes.Zeros(kLength);
    const auto table = ReadNames(bytes.Take());
    const auto* list = table->FindPlatform(3, 1)->FindLanguage(0x0409);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), TTableName::kMaxDecodedStringBytes / kLength);
}

// Many records sharing one long string: the text is the same in every record, and the budget
// that bounds it grows with the table's length, whether the table is read alone or from a
// larger stream with the budget of its directory entry.
TEST(TableName, SharedLongStringsAreBoundedByTheTableLength)
{
    constexpr std::uint16_t kRecords = 70;
    constexpr std::uint16_t kLength = 30000;
    std::u16string shared;
    for (std::size_t i = 0; i < kLength / 2; ++i)
        shared.push_back(static_cast<char16_t>(0x0041 + i % 26 + (i % 7) * 0x100));
    TBytes bytes;
    bytes.U16(0).U16(kRecords).U16(6 + 12 * kRecords);
    for (std::uint16_t i = 0; i < kRecords; ++i)
        bytes.U16(3).U16(1).U16(0x0409).U16(i).U16(kLength).U16(0);
    bytes.Utf16BE(shared);
    const TByteVector table = bytes.Take();
    const std::uint64_t expected = TTableName::StringBudgetFor(table.size()) / kLength;
    ASSERT_LT(expected, kRecords);
    ASSERT_GT(TTableName::StringBudgetFor(table.size()), TTableName::kMinDecodedStringBytes);

    TByteVector inFile(100, 0xEE);
    inFile.insert(inFile.end(), table.begin(), table.end());
    inFile.resize(inFile.size() + 200000, 0xEE);
    TMemoryFontStream fileStream(inFile);
    fileStream.Seek(100);
    TTableName fromFile("name", TTableName::StringBudgetFor(table.size()));
    fromFile.Read(fileStream);

    const auto alone = ReadNames(table);
    for (const TTableName* names : {alone.get(), &fromFile}) {
        const auto* list = names->FindPlatform(3, 1)->FindLanguage(0x0409);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Count(), expected);
        for (std::size_t i = 0; i < list->Count(); ++i)
            EXPECT_EQ(list->Field(i).Text, shared) << i;
        EXPECT_EQ(names->DecodedStringBytes(), expected * kLength);
    }
}

// UTF-16 strings read in one piece: an odd last byte dropped, a unit cut by the end of the
// stream read with a zero low byte, the rest as zeros; the position moves by the length.
TEST(TableName, Utf16StringsAtTheEndOfTheStream)
{
    struct TCase {
        TByteVector Bytes;
        std::uint32_t ByteLength;
        std::u16string Expected;
    };
    const TCase cases[] = {
        {{0x00, 0x41, 0x00, 0x42}, 4, u"AB"},
        {{0x00, 0x41, 0x00, 0x42, 0x00}, 5, u"AB"},
        {{0x00, 0x41, 0x43}, 8, std::u16string{u'A', u'\x4300', u'\0', u'\0'}},
        {{0x00, 0x41}, 6, std::u16string{u'A', u'\0', u'\0'}},
        {{}, 4, std::u16string(2, u'\0')},
    };
    for (const auto& c : cases) {
        TMemoryFontStream stream(c.Bytes);
        EXPECT_EQ(be::ReadUTF16String(stream, c.ByteLength), c.Expected) << c.ByteLength;
        EXPECT_EQ(stream.Position(), c.ByteLength / 2 * 2);
    }
}

TEST(TableName, EveryPrefixReadsWithoutACrash)
{
    const auto bytes = TNameTableBuilder(1)
                           .Win(0x0409, 1, u"Alpha").Win(0x0409, 2, u"Bold").Win(0x0407, 4, u"Alfa Fett")
                           .Bytes(1, 0, 0, 1, "Mac").Name(0, 3, 0, 6, u"Alpha-Bold")
                           .Build();
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        TMemoryFontStream stream(bytes.data(), size);
        TTableName table;
        table.Read(stream);
        TGeneralFontInfoItem item;
        table.FillGeneralNames(item);
        table.FillAdditionalNames();
    }
}

// Strings far apart in the storage (read one by one rather than as one piece), a string of
// no bytes, and single-byte text among them.
TEST(TableName, StringsFarApartInTheStorage)
{
    TBytes bytes;
    bytes.U16(0).U16(4).U16(6 + 12 * 4);                  // format, count, storage offset
    bytes.U16(3).U16(1).U16(0x0409).U16(1).U16(4).U16(0);      // "AB" at the start
    bytes.U16(3).U16(1).U16(0x0409).U16(2).U16(4).U16(60000);  // "CD" far behind
    bytes.U16(3).U16(1).U16(0x0409).U16(4).U16(0).U16(60004);  // no bytes, at the very end
    bytes.U16(1).U16(0).U16(0).U16(1).U16(3).U16(30000);       // Macintosh "Mac" in between
    TByteVector table = bytes.Take();
    const std::size_t storage = table.size();
    table.resize(storage + 60004, 0xEE);
    const auto put = [&](std::size_t at, std::initializer_list<std::uint8_t> values) {
        std::copy(values.begin(), values.end(), table.begin() + static_cast<std::ptrdiff_t>(storage + at));
    };
    put(0, {0, 'A', 0, 'B'});
    put(60000, {0, 'C', 0, 'D'});
    put(30000, {'M', 'a', 'c'});

    const auto names = ReadNames(table);
    const auto* list = names->FindPlatform(3, 1)->FindLanguage(0x0409);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Text(1), std::u16string(u"AB"));
    EXPECT_EQ(list->Text(2), std::u16string(u"CD"));
    EXPECT_EQ(list->Text(4), std::u16string());
    EXPECT_EQ(names->FindPlatform(1, 0)->FindLanguage(0)->Text(1), std::u16string(u"Mac"));
    EXPECT_EQ(names->DecodedStringBytes(), 11u);
}

// A language with more names than real tables hold: every name is found, a later record of
// a name ID replaces the text in the place of the first, and the order stays that of first
// appearance.
TEST(TableName, ManyNamesInOneLanguage)
{
    constexpr std::uint16_t kNames = 100;
    TNameTableBuilder builder;
    for (std::uint16_t id = 0; id < kNames; ++id)
        builder.Win(0x0409, id, u"n" + std::u16string(1, static_cast<char16_t>(u'A' + id % 26)));
    builder.Win(0x0409, 3, u"third again").Win(0x0409, kNames - 1, u"last again");
    for (std::uint16_t language = 1; language <= 50; ++language)
        builder.Win(language, 1, u"other");
    const auto names = ReadNames(builder.Build());
    const auto* platform = names->FindPlatform(3, 1);
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(platform->Count(), 51u);
    const auto* list = platform->FindLanguage(0x0409);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), kNames);
    for (std::uint16_t id = 0; id < kNames; ++id) {
        EXPECT_EQ(list->Field(id).NameID, id);
        EXPECT_TRUE(list->Has(id)) << id;
    }
    EXPECT_EQ(list->Text(3), std::u16string(u"third again"));
    EXPECT_EQ(list->Field(kNames - 1).Text, u"last again");
    EXPECT_EQ(list->Text(30), std::u16string(u"nE"));
    EXPECT_FALSE(list->Has(kNames));
    EXPECT_EQ(platform->FindLanguage(50)->Text(1), std::u16string(u"other"));
    EXPECT_EQ(platform->FindLanguage(51), nullptr);
}
