#include "FontTestSupport.h"
#include "ReaderFixtures.h"
#include "ReaderTestSupport.h"

#include "fontfile/FontException.h"
#include "fontfile/OpenTypeLight.h"

#include <gtest/gtest.h>

using fontfile::TExtendedFontInfoRecord;
using fontfile::TOpenTypeLight;
using qmtest::StandardFont;
using qmtest::Utf8;
using sfnttest::TSfntBuilder;

namespace {

std::string Write(const std::string& name, const sfnttest::TByteVector& bytes)
{
    const std::string file = qmtest::FreshFolder("otl-" + name) + "/" + name;
    sfnttest::WriteFile(file, bytes);
    return file;
}

TSfntBuilder FiveTables()
{
    TSfntBuilder font;
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("hhea", sfnttest::TByteVector(36, 0));
    font.Table("maxp", sfnttest::TByteVector(6, 0));
    font.Table("name", qmtest::NameTable());
    font.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    return font;
}

TEST(OpenTypeLight, ValidityCheck)
{
    TSfntBuilder noHead;
    noHead.Table("name", qmtest::NameTable()).Table("OS/2", sfnttest::TOS2Fields{}.Build());
    noHead.Table("post", sfnttest::TByteVector(32, 0));
    TSfntBuilder headOutside = StandardFont();
    TSfntBuilder tooMany = StandardFont();
    tooMany.NumberOfTables(41);
    TSfntBuilder headLast;
    headLast.Table("name", qmtest::NameTable()).Table("OS/2", sfnttest::TOS2Fields{}.Build());
    headLast.Table("head", sfnttest::THeadFields{}.Build()).LengthDelta(1);

    struct TCase {
        const char* Name;
        const char* FileName;
        sfnttest::TByteVector Bytes;
        bool Expected;
    };
    const auto standard = StandardFont().Build();
    const TCase cases[] = {
        {"six tables", "a.dat", StandardFont().Build(), true},
        {"five tables as .ttf", "a.ttf", FiveTables().Build(), true},
        {"five tables as .OTF", "a.OTF", FiveTables().Build(), true},
        {"five tables under another extension", "a.dat", FiveTables().Build(), false},
        {"five tables as .ttc", "a.ttc", FiveTables().Build(), false},
        {"41 tables claimed", "a.dat", tooMany.Build(), false},
        {"unknown version, strict", "a.dat", StandardFont(0x74727565).Build(), false},
        {"unknown version as .ttf", "a.ttf", StandardFont(0x74727565).Build(), true},
        {"OTTO", "a.dat", StandardFont(sfnttest::kSfntVersionOTTO).Build(), true},
        {"no head", "a.ttf", noHead.Build(), false},
        {"head one byte past the end", "a.ttf", headLast.Build(), false},
        {"199 bytes", "a.ttf", sfnttest::TByteVector(standard.begin(), standard.begin() + 199), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TOpenTypeLight::IsValidFile(Write(c.FileName, c.Bytes)), c.Expected);
    }
    EXPECT_FALSE(TOpenTypeLight::IsValidFile("/nonexistent/a.ttf"));
    EXPECT_FALSE(TOpenTypeLight::IsValidFile(qmtest::FreshFolder("otl-folder.ttf")));
}

TEST(OpenTypeLight, OutlinesDecideKindAndRegistrySuffix)
{
    struct TCase {
        const char* Name;
        std::uint32_t Version;
        const char* ExtraTag;  // nullptr: none
        std::int32_t TypeBits;
        std::uint8_t Kind;
        const char* Registry;
        const char* FaceFull;
    };
    const TCase cases[] = {
        {"TrueType", 0x00010000, nullptr, 4, 5, "Test Sans Regular (TrueType)", "Test Sans Regular"},
        {"DSIG", 0x00010000, "DSIG", 4, 6, "Test Sans Regular (TrueType)", "Test Sans Regular"},
        {"CFF", 0x4F54544F, "CFF ", 2, 7, "Test Sans Regular (OpenType)", "TestSans-Regular"},
        {"OTTO without CFF", 0x4F54544F, nullptr, 2, 5, "Test Sans Regular (TrueType)", "Test Sans Regular"},
        {"CFF under the TrueType version", 0x00010000, "CFF ", 4, 7, "Test Sans Regular (OpenType)",
         "TestSans-Regular"},
        {"unknown version", 0x74727565, nullptr, 0, 5, "Test Sans Regular (TrueType)", "Test Sans Regular"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSfntBuilder font = StandardFont(c.Version);
        if (c.ExtraTag)
            font.Table(c.ExtraTag, sfnttest::TByteVector(8, 0));
        TOpenTypeLight reader;
        reader.LoadFromFile(Write("a.ttf", font.Build()));
        const auto& item = reader.Item();
        EXPECT_EQ(item.GdiTypeBits(), c.TypeBits);
        EXPECT_EQ(item.FontKind(), c.Kind);
        EXPECT_EQ(Utf8(item.RegistryName()), c.Registry);
        EXPECT_EQ(Utf8(item.FaceFullName()), c.FaceFull);
        EXPECT_EQ(Utf8(item.FamilyName()), "Test Sans");
        EXPECT_EQ(Utf8(item.StyleName()), "Regular");
        EXPECT_EQ(Utf8(item.FullName()), "Test Sans Regular");
    }
}

TEST(OpenTypeLight, RegistryNameWithoutFullName)
{
    TSfntBuilder font;
    font.Table("head", sfnttest::THeadFields{}.Build());
    sfnttest::TNameTableBuilder names;
    names.Win(0x0409, 2, u"Regular").Win(0x0409, 6, u"X-Regular");
    font.Table("name", names.Build()).Table("post", sfnttest::TByteVector(200, 0));
    TOpenTypeLight reader;
    reader.LoadFromFile(Write("a.ttf", font.Build()));
    EXPECT_EQ(Utf8(reader.Item().RegistryName()), "(TrueType)");

    // Without a naming table the registry name stays empty.
    TSfntBuilder unnamed;
    unnamed.Table("head", sfnttest::THeadFields{}.Build()).Table("post", sfnttest::TByteVector(200, 0));
    TOpenTypeLight second;
    second.LoadFromFile(Write("b.ttf", unnamed.Build()));
    EXPECT_TRUE(second.Item().RegistryName().empty());
    EXPECT_EQ(second.Item().FontKind(), 5);
}

TEST(OpenTypeLight, OS2FieldsReachTheItem)
{
    sfnttest::TOS2Fields os2;
    os2.UsWeightClass = 700;
    os2.FsSelection = 0x0001 | 0x0020;  // italic, bold
    os2.UlCodePageRange1 = 0x80000000u; // symbol character set
    TSfntBuilder rebuilt;
    rebuilt.Table("head", sfnttest::THeadFields{}.Build()).Table("name", qmtest::NameTable());
    rebuilt.Table("OS/2", os2.Build()).Table("post", sfnttest::TByteVector(32, 0));
    TOpenTypeLight reader;
    reader.LoadFromFile(Write("a.ttf", rebuilt.Build()));
    EXPECT_EQ(reader.Item().WeightClass(), 700);
    EXPECT_EQ(reader.Item().FsSelection(), 0x0021);
    EXPECT_TRUE(reader.Item().Italic());
    EXPECT_FALSE(reader.Item().IsRegular());
    EXPECT_TRUE(reader.Item().IsSymbol());
}

TEST(OpenTypeLight, TableOutsideTheFileRaises)
{
    TSfntBuilder font = StandardFont();
    font.LengthDelta(1);  // "post", the last table, one byte too long
    TOpenTypeLight reader;
    try {
        reader.LoadFromFile(Write("a.ttf", font.Build()));
        FAIL() << "no exception";
    } catch (const fontfile::FontException& error) {
        EXPECT_STREQ(error.what(), "This is not a valid font file.");
    }
    // What was read before the failure stays.
    EXPECT_EQ(reader.Item().GdiTypeBits(), 4);
}

// Streams handed to the freeing thread, and the position each had.
std::vector<std::uint64_t> GDisposedPositions;
void RecordDisposal(std::unique_ptr<fontfile::TFontStream> stream)
{
    GDisposedPositions.push_back(stream->Position());
}

TEST(OpenTypeLight, FileStreamsGoToTheFreeingThreadAtPositionZero)
{
    GDisposedPositions.clear();
    fontfile::SetStreamDisposer(&RecordDisposal);
    const std::string good = Write("a.ttf", StandardFont().Build());
    TSfntBuilder damaged = StandardFont();
    damaged.LengthDelta(1);
    const std::string bad = Write("b.ttf", damaged.Build());
    TExtendedFontInfoRecord record;
    TOpenTypeLight().LoadFromFile(good);
    TOpenTypeLight().ReadTableList(good, record);
    EXPECT_THROW(TOpenTypeLight().LoadFromFile(bad), fontfile::FontException);
    EXPECT_THROW(TOpenTypeLight().ReadTableList(bad, record), fontfile::FontException);
    EXPECT_TRUE(TOpenTypeLight::IsValidFile(good));
    fontfile::SetStreamDisposer(nullptr);
    EXPECT_EQ(GDisposedPositions, (std::vector<std::uint64_t>{0, 0, 0, 0}));
}

TEST(OpenTypeLight, TableList)
{
    sfnttest::TKernSubtable subtable;
    subtable.Pairs = {{1, 2, -50}, {1, 3, -20}, {4, 5, 10}};
    TSfntBuilder font;
    font.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("kern", sfnttest::KernTable({subtable}));
    font.Table("zzzz", sfnttest::TByteVector(4, 0));
    TOpenTypeLight reader;
    TExtendedFontInfoRecord record;
    reader.ReadTableList(Write("a.ttf", font.Build()), record);
    EXPECT_EQ(Utf8(record.TableList),
              "OS/2 - OS/2 and Windows specific metrics - 96 bytes\r\n"
              "head - Font header - 54 bytes\r\n"
              "kern - Kerning - 36 bytes\r\n"
              "zzzz -  - 4 bytes");
    EXPECT_EQ(record.KerningPairs, 3);

    TExtendedFontInfoRecord withoutKern;
    reader.ReadTableList(Write("b.ttf", StandardFont().Build()), withoutKern);
    EXPECT_EQ(withoutKern.KerningPairs, 0);
}

TEST(OpenTypeLight, TableListKeepsTheOffendingLine)
{
    TSfntBuilder font;
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("post", sfnttest::TByteVector(200, 0)).LengthDelta(0x7FFFFFFF);
    TOpenTypeLight reader;
    TExtendedFontInfoRecord record;
    EXPECT_THROW(reader.ReadTableList(Write("a.ttf", font.Build()), record), fontfile::FontException);
    EXPECT_EQ(Utf8(record.TableList), "head - Font header - 54 bytes\r\npost - PostScript information - -2147483449 bytes");
}

TEST(OpenTypeLight, EveryPrefixReadsWithoutFault)
{
    sfnttest::TKernSubtable subtable;
    subtable.Pairs = {{1, 2, -50}};
    TSfntBuilder font = StandardFont();
    font.Table("kern", sfnttest::KernTable({subtable}));
    const auto bytes = font.Build();
    const std::string folder = qmtest::FreshFolder("otl-prefix");
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string file = folder + "/a.ttf";
        sfnttest::WriteFile(file, sfnttest::TByteVector(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        TOpenTypeLight::IsValidFile(file);
        try {
            TOpenTypeLight().LoadFromFile(file);
        } catch (const fontfile::FontException&) {
        }
        TExtendedFontInfoRecord record;
        try {
            TOpenTypeLight().ReadTableList(file, record);
        } catch (const fontfile::FontException&) {
        }
    }
}

} // namespace
