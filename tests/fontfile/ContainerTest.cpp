// The container layer: table catalogue, table list, directory walk and collections.

#include "FontTestSupport.h"
#include "SfntBuilder.h"

#include "fontfile/DirectoryWalk.h"
#include "fontfile/FontException.h"
#include "fontfile/StreamReaders.h"
#include "fontfile/TableCatalogue.h"
#include "fontfile/TableKern.h"
#include "fontfile/TableMaxp.h"
#include "fontfile/TableName.h"
#include "fontfile/TableOS_2.h"
#include "fontfile/TrueTypeCollection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

using namespace fontfile;
using namespace sfnttest;
using fonttest::ScratchFile;

namespace {

TByteVector NameTable(std::u16string_view family, std::u16string_view full)
{
    return TNameTableBuilder().Win(0x0409, 1, family).Win(0x0409, 2, u"Regular").Win(0x0409, 4, full).Build();
}

TByteVector OS2Table(std::uint16_t weight)
{
    TOS2Fields fields;
    fields.UsWeightClass = weight;
    return fields.Build();
}

// Walks the directory of a whole font held in memory with the "name"/"OS/2" rule.
void WalkFont(const TByteVector& font, TFontTables& tables)
{
    TMemoryFontStream stream(font);
    stream.Seek(4);
    const std::uint16_t count = be::ReadUInt16(stream);
    stream.Seek(kOffsetTableSize);
    WalkTableDirectory(stream, count, tables, SelectNameAndOS2);
}

std::string ExceptionText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FontException& e) {
        return e.what();
    }
    return "(no exception)";
}

} // namespace

// ---- catalogue ----

TEST(TableCatalogue, KindsAndDescriptions)
{
    EXPECT_EQ(TableCatalogueSize(), 55u);
    EXPECT_EQ(TableKind("name"), 12);
    EXPECT_EQ(TableKind("OS/2"), 18);
    EXPECT_EQ(TableKind("CFF "), 19);
    EXPECT_EQ(TableKind("Zapf"), 56);
    EXPECT_EQ(TableDescription("hsty"), "horizontal style");
    EXPECT_EQ(TableDescription("CFF "), "PostScript font program (compact font format)");
    // Exact comparison: case and trailing blanks count.
    EXPECT_EQ(TableKind("NAME"), 0);
    EXPECT_EQ(TableKind("CFF"), 0);
    EXPECT_EQ(TableKind("abcd"), 0);
    EXPECT_EQ(TableDescription("abcd"), "");
}

// ---- table list ----

TEST(FontTables, KeepsByteOrderOfTagsAndRejectsDuplicates)
{
    TFontTables tables;
    tables.Add(std::make_unique<TTableName>());
    tables.Add(std::make_unique<TTableKern>());
    tables.Add(std::make_unique<TTableOS_2>());
    tables.Add(std::make_unique<TTableMaxp>());
    ASSERT_EQ(tables.Count(), 4u);
    EXPECT_EQ(tables.Table(0).Tag(), "OS/2");
    EXPECT_EQ(tables.Table(1).Tag(), "kern");
    EXPECT_EQ(tables.Table(2).Tag(), "maxp");
    EXPECT_EQ(tables.Table(3).Tag(), "name");

    EXPECT_EQ(ExceptionText([&] { tables.Add(std::make_unique<TTableName>()); }), "Table name already exists!");
    EXPECT_EQ(tables.Count(), 4u);
    EXPECT_NE(tables.FindAs<TTableName>("name"), nullptr);
    EXPECT_EQ(tables.Find("head"), nullptr);
    tables.Clear();
    EXPECT_EQ(tables.Count(), 0u);
}

TEST(FontTables, TableMadeForAnotherTagRaises)
{
    EXPECT_EQ(ExceptionText([] { TTableName table("OS/2"); }), "Creating Fonttable TTableName with tag OS/2");
    EXPECT_EQ(ExceptionText([] { TTableKern table("KERN"); }), "Creating Fonttable TTableKern with tag KERN");
}

// ---- directory walk ----

TEST(DirectoryWalk, LastTableEndingAtEndOfFileIsReadOneByteMoreIsNot)
{
    struct TCase {
        const char* Name;
        std::int64_t LengthDelta;
        bool Valid;
    };
    for (const TCase& c : {TCase{"exact end", 0, true}, TCase{"one byte beyond", 1, false}}) {
        SCOPED_TRACE(c.Name);
        const auto font = TSfntBuilder().Table("OS/2", OS2Table(700)).Table("name", NameTable(u"A", u"A Bold")).LengthDelta(c.LengthDelta).Build();
        TFontTables tables;
        if (c.Valid) {
            WalkFont(font, tables);
            ASSERT_NE(tables.FindAs<TTableName>("name"), nullptr);
            EXPECT_EQ(tables.FindAs<TTableOS_2>("OS/2")->UsWeightClass(), 700);
        } else {
            EXPECT_EQ(ExceptionText([&] { WalkFont(font, tables); }), "This is not a valid font file.");
        }
    }
}

TEST(DirectoryWalk, DuplicateNameTableFails)
{
    const auto font = TSfntBuilder().Table("name", NameTable(u"A", u"A")).Table("name", NameTable(u"B", u"B")).Build();
    TFontTables tables;
    EXPECT_EQ(ExceptionText([&] { WalkFont(font, tables); }), "Table name already exists!");
    EXPECT_EQ(tables.Count(), 1u);
}

TEST(DirectoryWalk, OS2IsKeptBeforeNameWhateverTheDirectoryOrder)
{
    const auto font = TSfntBuilder().Table("name", NameTable(u"A", u"A")).Table("OS/2", OS2Table(400)).Build();
    TFontTables tables;
    WalkFont(font, tables);
    ASSERT_EQ(tables.Count(), 2u);
    EXPECT_EQ(tables.Table(0).Tag(), "OS/2");
    EXPECT_EQ(tables.Table(1).Tag(), "name");
}

TEST(DirectoryWalk, UnselectedAndUnknownTablesAreNotReadAndATableThatRaisesIsStillKept)
{
    const auto font = TSfntBuilder()
                          .Table("abcd", TByteVector(8, 0xEE))
                          .Table("maxp", MaxpTable(2, 0, 10, false))
                          .Table("kern", KernTable({}))
                          .Build();
    TMemoryFontStream stream(font);
    stream.Seek(kOffsetTableSize);
    TFontTables tables;
    std::vector<std::string> seen;
    const auto rule = [](const TTableDirectoryEntry&, int kind) -> std::unique_ptr<TFontTable> {
        if (kind == kTableKindMaxp)
            return std::make_unique<TTableMaxp>();
        return nullptr;
    };
    EXPECT_EQ(ExceptionText([&] {
                  WalkTableDirectory(stream, 3, tables, rule, [&](const TTableDirectoryEntry& e) { seen.push_back(e.Tag); });
              }),
              "Unknown maxp table version (2,0)");
    ASSERT_EQ(tables.Count(), 1u);
    EXPECT_EQ(tables.Table(0).Tag(), "maxp");
    EXPECT_EQ(seen, (std::vector<std::string>{"abcd", "maxp"}));
}

TEST(DirectoryWalk, HostileTableCountStopsAtTheEndOfTheStream)
{
    // After the one real entry only zero bytes follow: entries of an empty tag, offset 0 and
    // length 0, which are ignored; the walk must not go on past the end of the stream.
    const auto font = TSfntBuilder().Table("zero", TByteVector(64, 0)).NumberOfTables(0xFFFF).Build();
    TMemoryFontStream stream(font);
    stream.Seek(kOffsetTableSize);
    TFontTables tables;
    std::size_t entries = 0;
    WalkTableDirectory(stream, 0xFFFF, tables, SelectNameAndOS2, [&](const TTableDirectoryEntry&) { ++entries; });
    EXPECT_EQ(entries, (font.size() - kOffsetTableSize) / kTableDirectoryEntrySize);
    EXPECT_EQ(tables.Count(), 0u);
}

// ---- collections ----

namespace {

TSfntBuilder Member(std::u16string_view family, std::u16string_view full, std::uint16_t weight)
{
    TSfntBuilder member;
    member.Table("OS/2", OS2Table(weight)).Table("name", NameTable(family, full));
    return member;
}

} // namespace

TEST(TrueTypeCollection, TwoMembersGiveTwoItemsWithTheJoinedRegistryName)
{
    const auto file = ScratchFile("two.ttc", TCollectionBuilder()
                                                 .Member(Member(u"Alpha", u"Alpha Regular", 400))
                                                 .Member(Member(u"Alpha", u"Alpha Bold", 700))
                                                 .Build());
    ASSERT_TRUE(TTrueTypeCollection::IsValidFile(file));
    TTrueTypeCollection collection;
    collection.LoadFromFile(file);
    ASSERT_EQ(collection.Items().Count(), 2u);
    const auto& first = collection.Items()[0];
    const auto& second = collection.Items()[1];
    EXPECT_EQ(first.FullName(), u"Alpha Regular");
    EXPECT_EQ(second.FullName(), u"Alpha Bold");
    EXPECT_EQ(first.FamilyName(), u"Alpha");
    EXPECT_EQ(first.WeightClass(), 400);
    EXPECT_EQ(second.WeightClass(), 700);
    EXPECT_EQ(first.FontKind(), FontKind::TrueTypeCollection);
    EXPECT_EQ(first.GdiTypeBits(), GdiTypeBits::TrueType);
    EXPECT_EQ(first.RegistryName(), u"Alpha Regular & Alpha Bold (TrueType)");
    EXPECT_EQ(second.RegistryName(), first.RegistryName());
    EXPECT_EQ(collection.FileSize(), std::filesystem::file_size(file));
}

TEST(TrueTypeCollection, SecondMemberWithoutNamesLeavesTwoBlanksBeforeTheSuffix)
{
    TSfntBuilder bare;
    bare.Table("OS/2", OS2Table(400));
    const auto file = ScratchFile("noname.ttc", TCollectionBuilder(0x00020000)
                                                    .Member(Member(u"Alpha", u"Alpha Regular", 400))
                                                    .Member(bare)
                                                    .Build());
    TTrueTypeCollection collection;
    collection.LoadFromFile(file);
    ASSERT_EQ(collection.Items().Count(), 2u);
    EXPECT_EQ(collection.Items()[0].RegistryName(), u"Alpha Regular &  (TrueType)");
    EXPECT_EQ(collection.Items()[1].RegistryName(), u"Alpha Regular &  (TrueType)");
    EXPECT_EQ(collection.Items()[1].FullName(), u"");
}

TEST(TrueTypeCollection, ValidityCheckAndLoadOfUnusualHeaders)
{
    struct TCase {
        const char* Name;
        TByteVector Bytes;
        bool Valid;
        std::size_t Items;
    };
    TBytes ttcf199;
    ttcf199.Tag("ttcf").U32(0x00010000).U32(0).PadTo(199);
    TBytes ttcf200;
    ttcf200.Tag("ttcf").U32(0x00010000).U32(0).PadTo(200);
    TBytes offsetBeyond;
    offsetBeyond.Tag("ttcf").U32(0x00010000).U32(1).U32(100000).PadTo(300);
    TBytes hugeCount;
    hugeCount.Tag("ttcf").U32(0x00010000).U32(0xFFFFFFFF).PadTo(300);
    TBytes tooManyFonts;
    tooManyFonts.Tag("ttcf").U32(0x00010000).U32(TTrueTypeCollection::kMaxFonts + 1);
    for (std::uint32_t i = 0; i <= TTrueTypeCollection::kMaxFonts; ++i)
        tooManyFonts.U32(0);
    TBytes notCollection;
    notCollection.Tag("true").U32(0x00010000).U32(0).PadTo(300);
    const std::vector<TCase> cases = {
        {"zero fonts", TCollectionBuilder().MinimumSize(200).Build(), true, 0},
        {"version 1.5", TCollectionBuilder(0x00015000).Member(Member(u"A", u"A", 400)).MinimumSize(200).Build(), false, 0},
        {"version 3", TCollectionBuilder(0x00030000).Member(Member(u"A", u"A", 400)).MinimumSize(200).Build(), false, 0},
        {"199 bytes", ttcf199.Take(), false, 0},
        {"200 bytes", ttcf200.Take(), true, 0},
        {"offset beyond the file", offsetBeyond.Take(), false, 1},
        {"count larger than the file can hold", hugeCount.Take(), false, 0},
        {"more fonts than a collection holds", tooManyFonts.Take(), false, 0},
        {"not ttcf", notCollection.Take(), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto file = ScratchFile("case.ttc", c.Bytes);
        EXPECT_EQ(TTrueTypeCollection::IsValidFile(file), c.Valid);
        TTrueTypeCollection collection;
        try {
            collection.LoadFromFile(file);
        } catch (const FontException&) {
        }
        EXPECT_EQ(collection.Items().Count(), c.Items);
    }
    EXPECT_FALSE(TTrueTypeCollection::IsValidFile(qmtest::IsolatedEnvironment::Global().Scratch() + "/missing.ttc"));
}

TEST(TrueTypeCollection, RegistryNameIsCutToWhatTheRegistryCanHold)
{
    const std::u16string longName(10000, u'x');
    const auto bytes = TCollectionBuilder().Member(Member(u"A", longName, 400)).Member(Member(u"B", longName, 400)).Build();
    TMemoryFontStream stream(bytes);
    TTrueTypeCollection collection;
    collection.LoadFromStream(stream);
    ASSERT_EQ(collection.Items().Count(), 2u);
    const auto& registryName = collection.Items()[1].RegistryName();
    EXPECT_EQ(registryName.size(), TTrueTypeCollection::kMaxRegistryNameLength);
    EXPECT_EQ(registryName.substr(0, 10003), longName + u" & ");
    EXPECT_EQ(registryName.substr(registryName.size() - 11), u" (TrueType)");
}

TEST(TrueTypeCollection, MembersSharingOneLargeDirectoryAreBoundedByAWorkBudget)
{
    // Every member points at the same offset table with 300 (empty) directory entries.
    const auto collection = [](std::uint32_t members) {
        TBytes bytes;
        bytes.Tag("ttcf").U32(0x00010000).U32(members);
        const auto memberAt = static_cast<std::uint32_t>(12 + 4 * members);
        for (std::uint32_t i = 0; i < members; ++i)
            bytes.U32(memberAt);
        bytes.U32(kSfntVersionTrueType).U16(300).U16(0).U16(0).U16(0).Zeros(300 * 16);
        return bytes.Take();
    };
    struct TCase {
        std::uint32_t Members;
        bool Loads;
    };
    for (const TCase& c : {TCase{200, true}, TCase{220, false}}) {
        SCOPED_TRACE(c.Members);
        TMemoryFontStream stream(collection(c.Members));
        TTrueTypeCollection reader;
        if (c.Loads) {
            reader.LoadFromStream(stream);
            EXPECT_EQ(reader.Items().Count(), c.Members);
        } else {
            EXPECT_EQ(ExceptionText([&] { reader.LoadFromStream(stream); }), "This is not a valid font file.");
        }
    }
}

TEST(TrueTypeCollection, DamagedMemberEndsTheLoad)
{
    TSfntBuilder damaged;
    damaged.Table("name", NameTable(u"B", u"B")).LengthDelta(100000);
    const auto file = ScratchFile("damaged.ttc", TCollectionBuilder().Member(Member(u"A", u"A", 400)).Member(damaged).Build());
    ASSERT_TRUE(TTrueTypeCollection::IsValidFile(file));
    TTrueTypeCollection collection;
    EXPECT_EQ(ExceptionText([&] { collection.LoadFromFile(file); }), "This is not a valid font file.");
}

TEST(TrueTypeCollection, EveryPrefixOfACollectionReadsWithoutACrash)
{
    const auto bytes = TCollectionBuilder(0x00020000)
                           .Member(Member(u"Alpha", u"Alpha Regular", 400))
                           .Member(Member(u"Alpha", u"Alpha Bold", 700))
                           .Build();
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        TMemoryFontStream stream(bytes.data(), size);
        TTrueTypeCollection collection;
        try {
            collection.LoadFromStream(stream);
        } catch (const FontException&) {
        }
        EXPECT_LE(collection.Items().Count(), 2u);
    }
}

TEST(WarningCollector, ConcurrentAppendsAreAllCounted)
{
    const fonttest::TWarningWatch watch;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i)
                AddWarning("concurrent");
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(watch.Added().size(), 2000u);
}

// ---- installed fonts ----

TEST(TrueTypeCollection, InstalledWenQuanYiCollection)
{
    const std::string file = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " is not installed";
    const fonttest::TScopedSystemLocale locale(0x0409);
    ASSERT_TRUE(TTrueTypeCollection::IsValidFile(file));
    TTrueTypeCollection collection;
    collection.LoadFromFile(file);
    ASSERT_EQ(collection.Items().Count(), 2u);
    EXPECT_EQ(collection.Items()[0].FamilyName(), u"WenQuanYi Micro Hei");
    EXPECT_EQ(collection.Items()[1].FamilyName(), u"WenQuanYi Micro Hei Mono");
    EXPECT_EQ(collection.Items()[0].WeightClass(), 400);
    EXPECT_EQ(collection.Items()[0].RegistryName(), u"WenQuanYi Micro Hei & WenQuanYi Micro Hei Mono (TrueType)");
}

TEST(DirectoryWalk, InstalledDejaVuSans)
{
    const std::string file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " is not installed";
    const fonttest::TScopedSystemLocale locale(0x0409);
    TFileFontStream stream(file);
    EXPECT_EQ(be::ReadUInt32(stream), 0x00010000u);
    const std::uint16_t count = be::ReadUInt16(stream);
    stream.Skip(6);
    TFontTables tables;
    WalkTableDirectory(stream, count, tables, SelectNameAndOS2);
    const auto* names = tables.FindAs<TTableName>("name");
    const auto* os2 = tables.FindAs<TTableOS_2>("OS/2");
    ASSERT_NE(names, nullptr);
    ASSERT_NE(os2, nullptr);
    TGeneralFontInfoItem item;
    item.SetFontKind(FontKind::TrueType);
    names->FillGeneralNames(item);
    os2->ApplyTo(item);
    EXPECT_EQ(item.FamilyName(), u"DejaVu Sans");
    EXPECT_EQ(item.StyleName(), u"Book");
    EXPECT_EQ(item.FullName(), u"DejaVu Sans");
    EXPECT_EQ(item.WeightClass(), 400);
    EXPECT_FALSE(item.Italic());
}
