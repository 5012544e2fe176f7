// The fixed-layout tables: OS/2, head, maxp, post and kern.

#include "FontTestSupport.h"
#include "SfntBuilder.h"

#include "fontfile/FontException.h"
#include "fontfile/GeneralFontInfo.h"
#include "fontfile/StreamReaders.h"
#include "fontfile/TableHead.h"
#include "fontfile/TableKern.h"
#include "fontfile/TableMaxp.h"
#include "fontfile/TableOS_2.h"
#include "fontfile/TablePost.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace fontfile;
using namespace sfnttest;
using fonttest::TWarningWatch;

namespace {

template <class TTable>
void ReadTable(TTable& table, const TByteVector& bytes)
{
    TMemoryFontStream stream(bytes);
    table.Read(stream);
}

} // namespace

// ---- OS/2 ----

TEST(TableOS_2, VersionDependentFields)
{
    struct TCase {
        std::uint16_t Version;
        bool HasCodePages;
        bool HasHeights;
    };
    for (const TCase& c : {TCase{0, false, false}, TCase{1, true, false}, TCase{2, true, true}, TCase{3, true, true},
                           TCase{5, true, true}}) {
        SCOPED_TRACE(c.Version);
        TOS2Fields fields;
        fields.Version = c.Version;
        fields.UlCodePageRange1 = 0x80000001;
        fields.UlCodePageRange2 = 0x12345678;
        TTableOS_2 table;
        auto bytes = fields.Build();
        if (c.Version == 0)  // the extra fields of later versions must not be read from what follows
            bytes.insert(bytes.end(), 20, 0xFF);
        ReadTable(table, bytes);
        EXPECT_EQ(table.Version(), c.Version);
        if (c.HasCodePages) {
            EXPECT_EQ(table.UlCodePageRange1(), 0x80000001u);
            EXPECT_EQ(table.UlCodePageRange2(), 0x12345678u);
        } else {
            try {
                (void)table.UlCodePageRange1();
                ADD_FAILURE() << "no exception";
            } catch (const FontException& e) {
                EXPECT_STREQ(e.what(), "[Table OS/2] This version 0 doesn't support ulCodePageRange1!");
            }
            try {
                (void)table.UlCodePageRange2();
                ADD_FAILURE() << "no exception";
            } catch (const FontException& e) {
                EXPECT_STREQ(e.what(), "[Table OS/2] This version 0 doesn't support ulCodePageRange2!");
            }
        }
        EXPECT_EQ(table.SxHeight(), c.HasHeights ? 520 : 0);
        EXPECT_EQ(table.SCapHeight(), c.HasHeights ? 700 : 0);
        EXPECT_EQ(table.UsBreakChar(), c.HasHeights ? 32 : 0);
        EXPECT_EQ(table.UsMaxContext(), c.HasHeights ? 2 : 0);

        TGeneralFontInfoItem item;
        table.ApplyTo(item);
        EXPECT_EQ(item.IsSymbol(), c.HasCodePages);
    }
}

TEST(TableOS_2, FieldsAndTheirApplication)
{
    TOS2Fields fields;
    fields.UsWeightClass = 700;
    fields.UsWidthClass = 3;
    fields.FsType = 8;
    fields.FsSelection = 0x0001;  // italic, not regular
    fields.UsWinAscent = 0xFFFF;
    fields.UsWinDescent = 500;
    fields.AchVendID = "AB";
    fields.UlCodePageRange1 = 0x00000001;
    TTableOS_2 table;
    ReadTable(table, fields.Build());
    EXPECT_EQ(table.UsWeightClass(), 700);
    EXPECT_EQ(table.UsWidthClass(), 3);
    EXPECT_EQ(table.FsType(), 8);
    EXPECT_EQ(table.UsWinDescent(), -500);
    EXPECT_EQ(table.UsWinAscent(), -1);  // kept as signed 16
    EXPECT_EQ(table.AchVendID(), "AB  ");
    EXPECT_EQ(table.Panose()[1], 11);
    EXPECT_EQ(table.UlUnicodeRange1(), 1u);
    EXPECT_EQ(table.STypoDescender(), -240);
    EXPECT_EQ(table.YSuperscriptYOffset(), 350);

    TGeneralFontInfoItem item;
    table.ApplyTo(item);
    EXPECT_EQ(item.WeightClass(), 700);
    EXPECT_EQ(item.FsSelection(), 0x0001);
    EXPECT_TRUE(item.Italic());
    EXPECT_FALSE(item.IsRegular());
    EXPECT_FALSE(item.IsSymbol());

    fields.FsSelection = 0x0040;
    ReadTable(table, fields.Build());
    TGeneralFontInfoItem regular;
    table.ApplyTo(regular);
    EXPECT_TRUE(regular.IsRegular());
    EXPECT_FALSE(regular.Italic());
}

// ---- head ----

TEST(TableHead, FieldsAsStored)
{
    TTableHead table;
    ReadTable(table, THeadFields().Build());
    EXPECT_DOUBLE_EQ(table.Version(), 1.0);
    EXPECT_DOUBLE_EQ(table.FontRevision(), 2.5);
    EXPECT_EQ(table.MagicNumber(), TTableHead::kMagicNumber);
    EXPECT_EQ(table.CheckSumAdjustment(), 0x12345678u);
    EXPECT_EQ(table.UnitsPerEm(), 2048);
    EXPECT_EQ(table.Created(), 86400);
    EXPECT_EQ(SfntDateTimeFromSeconds(table.Modified()).Days, 2u);
    EXPECT_EQ(SfntDateTimeFromSeconds(table.Modified()).SecondsOfDay, 3661u);
    EXPECT_EQ(table.XMin(), -100);
    EXPECT_EQ(table.YMax(), 900);
    EXPECT_EQ(table.MacStyle(), 1);
    EXPECT_EQ(table.IndexToLocFormat(), 1);
    EXPECT_EQ(table.GlyphDataFormat(), 0);

    THeadFields damaged;
    damaged.MagicNumber = 0;  // not checked while reading
    EXPECT_NO_THROW(ReadTable(table, damaged.Build()));
    EXPECT_EQ(table.MagicNumber(), 0u);
}

// ---- maxp ----

TEST(TableMaxp, Versions)
{
    TTableMaxp compact;
    ReadTable(compact, MaxpTable(0, 0x5000, 321, false));
    EXPECT_EQ(compact.NumGlyphs(), 321);
    EXPECT_EQ(compact.VersionMinor(), 0x5000);
    EXPECT_EQ(compact.MaxPoints(), 0);

    TTableMaxp full;
    ReadTable(full, MaxpTable(1, 0, 42, true));
    EXPECT_EQ(full.NumGlyphs(), 42);
    EXPECT_EQ(full.MaxPoints(), 1);
    EXPECT_EQ(full.MaxStackElements(), 10);
    EXPECT_EQ(full.MaxComponentDepth(), 13);

    TTableMaxp unknown;
    try {
        ReadTable(unknown, MaxpTable(2, 0, 1, true));
        ADD_FAILURE() << "no exception";
    } catch (const FontException& e) {
        EXPECT_STREQ(e.what(), "Unknown maxp table version (2,0)");
    }
}

// ---- post ----

TEST(TablePost, StandardNames)
{
    const auto& names = TTablePost::StandardNames();
    ASSERT_EQ(names.size(), 258u);
    EXPECT_EQ(names[0], ".notdef");
    EXPECT_EQ(names[1], "null");
    EXPECT_EQ(names[2], "CR");
    EXPECT_EQ(names[3], "space");
    EXPECT_EQ(names[36], "A");
    EXPECT_EQ(names[68], "a");
    EXPECT_EQ(names[172], "nbspace");
    EXPECT_EQ(names[210], "Apple");
    EXPECT_EQ(names[250], "Idot");
    EXPECT_EQ(names[257], "dcroat");
}

TEST(TablePost, FormatsAndTheirWarnings)
{
    struct TCase {
        std::uint16_t Major, Minor;
        std::uint16_t ReportedMajor;
        std::size_t GlyphNames;
        std::vector<std::string> Warnings;
    };
    const std::vector<TCase> cases = {
        {1, 0, 2, 258, {}},
        {3, 0, 3, 0, {}},
        {2, 0x5000, 2, 0, {"Unsupported Post Space Saving Table FormatType 2.20480"}},
        {3, 1, 2, 0, {"Unknown Post FormatType 3.1"}},
        {4, 0, 2, 0, {"[Apple for use with QuickDraw GX] Unsupported Post FormatType 4.0"}},
        {7, 0, 2, 0, {"Unknown Post FormatType 7.0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Major) + "." + std::to_string(c.Minor));
        const TWarningWatch watch;
        TTablePost table;
        ReadTable(table, PostHeader(c.Major, c.Minor).Take());
        EXPECT_EQ(table.VersionMajor(), c.ReportedMajor);
        EXPECT_EQ(table.VersionMinor(), 0);
        EXPECT_EQ(table.GlyphNameCount(), c.GlyphNames);
        EXPECT_EQ(watch.Added(), c.Warnings);
        EXPECT_DOUBLE_EQ(table.ItalicAngle(), -12.0);
        EXPECT_EQ(table.UnderlinePosition(), -75);
        EXPECT_EQ(table.IsFixedPitch(), 1u);
    }
}

TEST(TablePost, Format2NamesAreReadLazilyInStorageOrder)
{
    std::vector<std::string> custom;
    for (int i = 0; i < 43; ++i)
        custom.push_back("custom" + std::to_string(i));
    // Glyph 5 asks for custom name 42 (index 300) before glyph 6 asks for custom name 1.
    const auto bytes = PostFormat2({0, 1, 3, 36, 257, 300, 259, 40000, 258}, custom);
    TTablePost table;
    ReadTable(table, bytes);
    ASSERT_EQ(table.GlyphNameCount(), 9u);
    EXPECT_EQ(table.GlyphName(0), ".notdef");
    EXPECT_EQ(table.GlyphName(1), "null");
    EXPECT_EQ(table.GlyphName(3), "A");
    EXPECT_EQ(table.GlyphName(4), "dcroat");
    EXPECT_EQ(table.GlyphName(5), "custom42");
    EXPECT_EQ(table.GlyphName(6), "custom1");
    EXPECT_EQ(table.GlyphName(7), "");
    EXPECT_EQ(table.GlyphName(8), "custom0");
    EXPECT_EQ(table.GlyphName(9), "");  // past the last glyph
    EXPECT_EQ(table.VersionMajor(), 2);
}

TEST(TablePost, EveryPrefixOfAFormat2TableReadsWithoutACrash)
{
    const auto bytes = PostFormat2({0, 300, 258, 259, 32768}, {"a", "bb", "ccc"});
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        TMemoryFontStream stream(bytes.data(), size);
        TTablePost table;
        table.Read(stream);
        EXPECT_LE(table.GlyphNameCount(), 5u);
    }
}

// A custom name cut by the end of the table keeps its length, the missing characters read as
// zeros; names past the end are empty.
TEST(TablePost, Format2NamesCutByTheEndOfTheTable)
{
    TByteVector bytes = PostFormat2({258, 259, 260, 261}, {"ab", "cdefg", "h"});
    bytes.resize(bytes.size() - 5);  // "h" and its length byte, and "efg"
    TTablePost table;
    ReadTable(table, bytes);
    ASSERT_EQ(table.GlyphNameCount(), 4u);
    EXPECT_EQ(table.GlyphName(0), "ab");
    EXPECT_EQ(table.GlyphName(1), std::string("cd\0\0\0", 5));
    EXPECT_EQ(table.GlyphName(2), "");
    EXPECT_EQ(table.GlyphName(3), "");
}

// ---- kern ----

TEST(TableKern, SubtablesAndPairs)
{
    TKernSubtable first;
    first.Pairs = {{1, 2, -50}, {3, 4, 20}};
    TKernSubtable second;
    second.Pairs = {{5, 6, 10}};
    const TWarningWatch watch;
    TTableKern table;
    ReadTable(table, KernTable({first, second}));
    ASSERT_EQ(table.PairCount(), 2u);
    EXPECT_EQ(table.Pair(0), (TKerningPair{1, 2, -50}));
    EXPECT_EQ(table.Pair(1), (TKerningPair{3, 4, 20}));
    EXPECT_FALSE(table.IsEmpty());
    EXPECT_TRUE(watch.Added().empty());

    // The second subtable is found by the first one's length, not by its pairs.
    TKernSubtable unsupported;
    unsupported.Coverage = 0x0201;
    unsupported.Length = 20;
    auto bytes = KernTable({unsupported, second});
    bytes.insert(bytes.begin() + 4 + 6, 14, 0xAA);  // padding inside the format-2 subtable
    TTableKern skipped;
    ReadTable(skipped, bytes);
    ASSERT_EQ(skipped.PairCount(), 1u);
    EXPECT_EQ(skipped.Pair(0), (TKerningPair{5, 6, 10}));
}

TEST(TableKern, WarningsAndLimits)
{
    struct TCase {
        const char* Name;
        TByteVector Bytes;
        std::size_t Pairs;
        std::vector<std::string> Warnings;
    };
    TKernSubtable three;
    three.Pairs = {{1, 2, 1}, {1, 3, 1}, {2, 3, 1}};
    TKernSubtable badSearchRange = three;
    badSearchRange.SearchRange = 18;
    TKernSubtable allWrong = three;
    allWrong.SearchRange = 1;
    allWrong.EntrySelector = 2;
    allWrong.RangeShift = 3;
    TKernSubtable tooMany;
    tooMany.PairCount = 10921;
    TKernSubtable duplicate;
    duplicate.Pairs = {{1, 2, 5}, {1, 3, 5}, {1, 2, 7}, {4, 5, 1}};
    TKernSubtable version1;
    version1.Version = 1;
    TKernSubtable format2;
    format2.Coverage = 0x0200;
    TKernSubtable format3;
    format3.Coverage = 0x0300;
    format3.Version = 4;
    TBytes appleVersion;
    appleVersion.U32(0x00010000).U32(1).Raw(three.Build());

    const std::vector<TCase> cases = {
        {"correct binary search fields", KernTable({three}), 3, {}},
        {"wrong search range", KernTable({badSearchRange}), 3,
         {"Integrity: Kern SubtableFormat0 SearchRange not correct (18 should be 12)."}},
        {"all three wrong", KernTable({allWrong}), 3,
         {"Integrity: Kern SubtableFormat0 SearchRange not correct (1 should be 12).",
          "Integrity: Kern SubtableFormat0 EntrySelector not correct (2 should be 1).",
          "Integrity: Kern SubtableFormat0 RangeShift not correct (3 should be 6)."}},
        {"too many pairs", KernTable({tooMany}), 0,
         {"Corrupted kern table. Too many kerning pairs 10921 while 10920 is the maximum."}},
        {"duplicate pair", KernTable({duplicate}), 2, {"kern table has same kerning pair twice (or more)."}},
        {"format 0 version 1", KernTable({version1}), 0,
         {"Unsupported Kern SubtableVersion: FormatType 0 SubtableVersion 1."}},
        {"format 2", KernTable({format2}), 0, {"Unsupported Kern FormatType 2 Version 0."}},
        {"format 3", KernTable({format3}), 0, {"Unknown Kern FormatType 3 Version 4."}},
        {"32-bit version of the Apple form", appleVersion.Take(), 0, {}},
        {"no subtables", KernTable({}), 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TWarningWatch watch;
        TTableKern table;
        ReadTable(table, c.Bytes);
        EXPECT_EQ(table.PairCount(), c.Pairs);
        EXPECT_EQ(table.IsEmpty(), c.Pairs == 0);
        EXPECT_EQ(watch.Added(), c.Warnings);
    }
}

TEST(TableKern, MaximumPairCountIsRead)
{
    TKernSubtable full;
    for (std::uint32_t i = 0; i < TTableKern::kMaxKerningPairs; ++i)
        full.Pairs.push_back({static_cast<std::uint16_t>(i / 100), static_cast<std::uint16_t>(i % 100), 1});
    TTableKern table;
    ReadTable(table, KernTable({full}));
    EXPECT_EQ(table.PairCount(), TTableKern::kMaxKerningPairs);
}

TEST(TableKern, HostileSubtableCountWithZeroLengthsEndsAtTheStream)
{
    TBytes bytes;
    bytes.U16(0).U16(0xFFFF);                     // version, 65535 subtables claimed
    bytes.U16(1).U16(0).U16(0x0000);              // one subtable of length 0, repeated by the count
    const TWarningWatch watch;
    TTableKern table;
    ReadTable(table, bytes.Take());
    // A subtable shorter than its own header ends the walk instead of being met 65535 times.
    EXPECT_EQ(watch.Added(), std::vector<std::string>{"Unsupported Kern SubtableVersion: FormatType 0 SubtableVersion 1."});
    EXPECT_TRUE(table.IsEmpty());
}

TEST(TableKern, EveryPrefixReadsWithoutACrash)
{
    TKernSubtable first;
    first.Pairs = {{1, 2, -50}, {3, 4, 20}, {5, 6, 1}};
    TKernSubtable second;
    second.Coverage = 0x0200;
    const auto bytes = KernTable({second, first});
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        TMemoryFontStream stream(bytes.data(), size);
        TTableKern table;
        table.Read(stream);
        EXPECT_LE(table.PairCount(), 3u);
    }
}

TEST(TableOS_2, EveryPrefixReadsWithoutACrash)
{
    const auto bytes = TOS2Fields().Build();
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        TMemoryFontStream stream(bytes.data(), size);
        TTableOS_2 os2;
        os2.Read(stream);
        TTableHead head;
        stream.Seek(0);
        head.Read(stream);
        TTableMaxp maxp;
        stream.Seek(0);
        try {
            maxp.Read(stream);
        } catch (const FontException&) {
        }
    }
    TTableOS_2 truncated;
    TMemoryFontStream half(bytes.data(), 10);
    truncated.Read(half);
    EXPECT_EQ(truncated.UsWeightClass(), 400);
    EXPECT_EQ(truncated.FsSelection(), 0);  // past the end: zero
}

TEST(TableOS_2, InstalledDejaVuSansBold)
{
    const std::string file = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " is not installed";
    TFileFontStream stream(file);
    stream.Seek(4);
    const std::uint16_t count = be::ReadUInt16(stream);
    for (std::uint16_t i = 0; i < count; ++i) {
        stream.Seek(12 + 16u * i);
        const std::string tag = be::ReadTag(stream);
        stream.Skip(4);
        const std::uint32_t offset = be::ReadUInt32(stream);
        stream.Seek(offset);
        if (tag == "OS/2") {
            TTableOS_2 os2;
            os2.Read(stream);
            EXPECT_EQ(os2.UsWeightClass(), 700);
            EXPECT_NE(os2.FsSelection() & 0x20, 0);  // bold
        } else if (tag == "head") {
            TTableHead head;
            head.Read(stream);
            EXPECT_EQ(head.MagicNumber(), TTableHead::kMagicNumber);
            EXPECT_EQ(head.UnitsPerEm(), 2048);
        } else if (tag == "maxp") {
            TTableMaxp maxp;
            maxp.Read(stream);
            EXPECT_EQ(maxp.VersionMajor(), 1);
            EXPECT_GT(maxp.NumGlyphs(), 1000);
        } else if (tag == "post") {
            TTablePost post;
            post.Read(stream);
            EXPECT_EQ(post.VersionMajor(), 2);
            EXPECT_EQ(post.GlyphName(0), ".notdef");
            EXPECT_GT(post.GlyphNameCount(), 1000u);
        }
    }
}
