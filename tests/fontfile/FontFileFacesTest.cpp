#include "FontTestSupport.h"
#include "LegacyFontBuilder.h"
#include "ReaderFixtures.h"
#include "ReaderTestSupport.h"

#include "fontfile/FontException.h"
#include "fontfile/FontFileFaces.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using fontfile::ReadFontFileFaces;
using fontfile::TFontKindHint;
using fontfile::TFontReadRequest;
using qmtest::StandardFont;
using qmtest::Utf8;

namespace {

fontfile::TFontReadResult Read(const std::string& first, const std::string& second = {},
                               TFontKindHint hint = TFontKindHint::Unknown)
{
    TFontReadRequest request{first, second, hint};
    return ReadFontFileFaces(request);
}

TEST(FontFileFaces, PlaceholdersByExtension)
{
    struct TCase {
        const char* Name;
        std::int32_t TypeBits;  // -1: no placeholder
    };
    const TCase cases[] = {{"junk.ttf", 4}, {"junk.TTC", 4}, {"junk.otf", 2}, {"junk.Fon", 1},
                           {"junk.pfm", 2}, {"junk.fnt", -1}, {"junk.txt", -1}, {"junk", -1}};
    const std::string folder = qmtest::FreshFolder("faces-placeholder");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string file = folder + "/" + c.Name;
        qmtest::WriteFile(file, std::vector<std::uint8_t>(300, 0x20));  // fails every check
        const auto result = Read(file);
        if (c.TypeBits < 0) {
            EXPECT_TRUE(result.Items.Empty());
            continue;
        }
        ASSERT_EQ(result.Items.Count(), 1u);
        EXPECT_EQ(result.Items[0], [&] {
            fontfile::TGeneralFontInfoItem placeholder;
            placeholder.SetGdiTypeBits(c.TypeBits);
            return placeholder;
        }());
    }
}

TEST(FontFileFaces, MissingFileIsLoggedAndGetsItsPlaceholder)
{
    qmtest::TRecordingLogSink log;
    const auto result = Read("/nonexistent/folder/gone.ttf");
    ASSERT_EQ(result.Items.Count(), 1u);
    EXPECT_EQ(result.Items[0].GdiTypeBits(), 4);
    EXPECT_EQ(result.Items[0].FontKind(), 0);
    const auto errors = log.Errors();
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], "Font file not found: /nonexistent/folder/gone.ttf");
}

// The read request opens a name before it checks what the name is: a folder or a pipe of a
// font's name is logged as missing (a pipe must not make the read wait for a writer), and a
// symbolic link is followed.
TEST(FontFileFaces, NamesThatAreNoRegularFile)
{
    const std::string folder = qmtest::FreshFolder("faces-not-regular");
    const std::string font = folder + "/real.ttf";
    sfnttest::WriteFile(font, StandardFont().Build());
    std::filesystem::create_directory(folder + "/folder.ttf");
    ASSERT_EQ(::mkfifo((folder + "/pipe.ttf").c_str(), 0600), 0);
    std::filesystem::create_symlink(font, folder + "/link.ttf");
    std::filesystem::create_symlink(folder + "/gone.ttf", folder + "/dangling.ttf");

    struct TCase {
        const char* Name;
        std::uint8_t FontKind;  // 0: the placeholder
        bool LoggedMissing;
    };
    const TCase cases[] = {{"folder.ttf", 0, true}, {"pipe.ttf", 0, true}, {"dangling.ttf", 0, true},
                           {"link.ttf", 5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        qmtest::TRecordingLogSink log;
        const std::string file = folder + "/" + c.Name;
        const auto result = Read(file);
        ASSERT_EQ(result.Items.Count(), 1u);
        EXPECT_EQ(result.Items[0].FontKind(), c.FontKind);
        EXPECT_EQ(result.Items[0].GdiTypeBits(), 4);
        const auto errors = log.Errors();
        EXPECT_EQ(!errors.empty() && errors[0] == "Font file not found: " + file, c.LoggedMissing);
    }
}

TEST(FontFileFaces, SingleFontAndHints)
{
    const std::string file = qmtest::FreshFolder("faces-single") + "/a.ttf";
    sfnttest::WriteFile(file, StandardFont().Build());
    for (auto hint : {TFontKindHint::Unknown, TFontKindHint::SfntOrBitmap}) {
        const auto result = Read(file, {}, hint);
        ASSERT_EQ(result.Items.Count(), 1u);
        EXPECT_EQ(result.Items[0].FontKind(), 5);
        EXPECT_EQ(Utf8(result.Items[0].RegistryName()), "Test Sans Regular (TrueType)");
        EXPECT_TRUE(result.FailureText.empty());
    }
    // Told it is a Type 1 font, the reader finds nothing and leaves the placeholder.
    const auto asType1 = Read(file, {}, TFontKindHint::Type1);
    ASSERT_EQ(asType1.Items.Count(), 1u);
    EXPECT_EQ(asType1.Items[0].FontKind(), 0);
    EXPECT_EQ(asType1.Items[0].GdiTypeBits(), 4);
}

TEST(FontFileFaces, ReaderThatRaisesGivesKind8)
{
    sfnttest::TSfntBuilder font = StandardFont();
    font.LengthDelta(1);
    const std::string file = qmtest::FreshFolder("faces-raise") + "/a.ttf";
    sfnttest::WriteFile(file, font.Build());
    const auto result = Read(file);
    ASSERT_EQ(result.Items.Count(), 1u);
    EXPECT_EQ(result.Items[0].FontKind(), 8);
    EXPECT_EQ(result.Items[0].GdiTypeBits(), 4);
    EXPECT_EQ(result.FailureText, "This is not a valid font file.");
}

TEST(FontFileFaces, DamagedNamingTableInOpenTypeStillGivesKind7)
{
    sfnttest::TSfntBuilder font(sfnttest::kSfntVersionOTTO);
    font.Table("CFF ", sfnttest::TByteVector(64, 1));
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("hhea", sfnttest::TByteVector(36, 0));
    font.Table("maxp", sfnttest::TByteVector(6, 0));
    // Count and storage offset point far beyond the table: no record is usable.
    sfnttest::TBytes names;
    names.U16(0).U16(0xFFFF).U16(0xFFF0).Zeros(20);
    font.Table("name", names.Take());
    font.Table("post", sfnttest::TByteVector(32, 0));
    const std::string file = qmtest::FreshFolder("faces-damaged-name") + "/a.OTF";
    sfnttest::WriteFile(file, font.Build());
    const auto result = Read(file);
    ASSERT_EQ(result.Items.Count(), 1u);
    const auto& item = result.Items[0];
    EXPECT_EQ(item.FontKind(), 7);
    EXPECT_EQ(item.GdiTypeBits(), 2);
    EXPECT_TRUE(item.FamilyName().empty());
    EXPECT_TRUE(item.FullName().empty());
    EXPECT_EQ(Utf8(item.RegistryName()), "(OpenType)");
}

TEST(FontFileFaces, CollectionMembersInOrder)
{
    sfnttest::TCollectionBuilder collection;
    collection.Member(StandardFont());
    sfnttest::TSfntBuilder bold = StandardFont();
    qmtest::TFaceNames boldNames;
    boldNames.Style = u"Bold";
    boldNames.Full = u"Test Sans Bold";
    sfnttest::TSfntBuilder second;
    second.Table("head", sfnttest::THeadFields{}.Build()).Table("name", qmtest::NameTable(boldNames));
    collection.Member(second);
    const std::string file = qmtest::FreshFolder("faces-collection") + "/a.ttc";
    sfnttest::WriteFile(file, collection.Build());
    const auto result = Read(file);
    ASSERT_EQ(result.Items.Count(), 2u);
    EXPECT_EQ(Utf8(result.Items[0].FullName()), "Test Sans Regular");
    EXPECT_EQ(Utf8(result.Items[1].FullName()), "Test Sans Bold");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(result.Items[i].FontKind(), 4);
        EXPECT_EQ(Utf8(result.Items[i].RegistryName()), "Test Sans Regular & Test Sans Bold (TrueType)");
    }
}

TEST(FontFileFaces, CollectionFailureReachesTheCaller)
{
    sfnttest::TSfntBuilder member = StandardFont();
    member.LengthDelta(100000);
    sfnttest::TCollectionBuilder collection;
    collection.Member(member);
    const std::string file = qmtest::FreshFolder("faces-collection-bad") + "/a.ttc";
    sfnttest::WriteFile(file, collection.Build());
    EXPECT_THROW(Read(file), fontfile::FontException);
}

TEST(FontFileFaces, BitmapFileWithTwoIdenticalFacesGivesOneItem)
{
    qmtest::TFntFields fields;
    fields.Faces = {qmtest::TFntFace{}, qmtest::TFntFace{}, qmtest::TFntFace{0, 0, 700, "", "Test Sans"}};
    const std::string file = qmtest::FreshFolder("faces-bitmap") + "/a.fon";
    qmtest::WriteFile(file, qmtest::BuildNeFont(fields));
    const auto result = Read(file);
    ASSERT_EQ(result.Items.Count(), 2u);
    EXPECT_EQ(result.Items[0].WeightClass(), 400);
    EXPECT_EQ(result.Items[1].WeightClass(), 700);
    EXPECT_EQ(result.Items[0].FontKind(), 0);
    EXPECT_EQ(result.Items[0].GdiTypeBits(), 1);
}

struct TType1Case {
    const char* Name;
    const char* Metrics;   // relative to the case folder
    const char* Outline;   // nullptr: no outline file
    const char* Expected;  // the second file found, "" for none
    std::uint8_t Kind;     // 3 read, 0 placeholder
};

TEST(FontFileFaces, Type1OutlineIsFound)
{
    const TType1Case cases[] = {
        {"beside the metrics", "pfm/a.pfm", "pfm/a.PFB", "pfm/a.PFB", 3},
        {"lower-case outline", "pfm/a.PFM", "pfm/a.pfb", "pfm/a.pfb", 3},
        {"mixed-case outline", "pfm/a.pfm", "pfm/a.Pfb", "pfm/a.Pfb", 3},
        {"in the parent folder", "pfm/a.pfm", "a.pfb", "a.pfb", 3},
        {"no outline", "pfm/a.pfm", nullptr, "", 0},
        {"outline of another name", "pfm/a.pfm", "pfm/b.pfb", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string folder = qmtest::FreshFolder("faces-type1");
        std::filesystem::create_directories(folder + "/pfm");
        qmtest::WriteFile(folder + "/" + c.Metrics, qmtest::BuildPfm());
        if (c.Outline)
            qmtest::WriteFile(folder + "/" + c.Outline, {0x80, 1});
        TFontReadRequest request{folder + "/" + c.Metrics, {}, TFontKindHint::Unknown};
        const auto result = ReadFontFileFaces(request);
        ASSERT_EQ(result.Items.Count(), 1u);
        EXPECT_EQ(result.Items[0].FontKind(), c.Kind);
        EXPECT_EQ(result.Items[0].GdiTypeBits(), 2);
        EXPECT_EQ(request.SecondFile, *c.Expected ? folder + "/" + c.Expected : std::string());
        if (c.Kind == 3)
            EXPECT_EQ(Utf8(result.Items[0].FamilyName()), "Test Serif");
    }
}

TEST(FontFileFaces, Type1PairGivenEitherWayRound)
{
    const std::string folder = qmtest::FreshFolder("faces-type1-pair");
    const std::string metrics = folder + "/a.pfm";
    const std::string outline = folder + "/outline.bin";
    qmtest::WriteFile(metrics, qmtest::BuildPfm());
    qmtest::WriteFile(outline, {0x80, 1});
    for (const auto& [first, second] : {std::pair{metrics, outline}, std::pair{outline, metrics}}) {
        const auto result = Read(first, second, TFontKindHint::Type1);
        ASSERT_EQ(result.Items.Count(), 1u);
        EXPECT_EQ(result.Items[0].FontKind(), 3);
        EXPECT_EQ(Utf8(result.Items[0].FaceFullName()), "TestSerif-Regular");
    }
    qmtest::TRecordingLogSink log;
    EXPECT_TRUE(Read(metrics, folder + "/missing.pfb", TFontKindHint::Type1).Items.Count() == 1);
    ASSERT_FALSE(log.Errors().empty());
    EXPECT_EQ(log.Errors()[0], "Font file not found: " + folder + "/missing.pfb");
}

TEST(FontFileFaces, MetricsFileThatFailsThePairCheckStillFindsItsOutline)
{
    // Placeholder: the outline file is recorded when it exists, without a pair check.
    const std::string folder = qmtest::FreshFolder("faces-type1-placeholder");
    qmtest::TPfmFields fields;
    fields.Type = 128;
    qmtest::WriteFile(folder + "/a.pfm", qmtest::BuildPfm(fields));
    qmtest::WriteFile(folder + "/a.pfb", {0x80, 1});
    TFontReadRequest request{folder + "/a.pfm", {}, TFontKindHint::Unknown};
    const auto result = ReadFontFileFaces(request);
    ASSERT_EQ(result.Items.Count(), 1u);
    EXPECT_EQ(result.Items[0].FontKind(), 0);
    EXPECT_EQ(result.Items[0].GdiTypeBits(), 2);
    EXPECT_EQ(request.SecondFile, folder + "/a.pfb");
}

TEST(FontFileFaces, OutlineFileAloneGivesNothing)
{
    const std::string folder = qmtest::FreshFolder("faces-pfb");
    qmtest::WriteFile(folder + "/a.pfm", qmtest::BuildPfm());
    qmtest::WriteFile(folder + "/a.pfb", {0x80, 1});
    EXPECT_TRUE(Read(folder + "/a.pfb").Items.Empty());
}

} // namespace
