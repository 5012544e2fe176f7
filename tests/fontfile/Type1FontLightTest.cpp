#include "LegacyFontBuilder.h"
#include "ReaderTestSupport.h"

#include "fontfile/Type1FontLight.h"

#include <gtest/gtest.h>

#include <filesystem>

using fontfile::TExtendedFontInfoRecord;
using fontfile::TType1FontLight;
using qmtest::BuildPfm;
using qmtest::TPfmFields;
using qmtest::Utf8;

namespace {

struct TPairCase {
    const char* Name;
    const char* MetricsName;
    TPfmFields Fields;
    std::size_t CutTo;    // 0: the whole file
    bool OutlineExists;
    bool OutlineIsFolder;
    bool Expected;
};

TPfmFields With(void (*change)(TPfmFields&))
{
    TPfmFields fields;
    change(fields);
    return fields;
}

TEST(Type1FontLight, PairCheck)
{
    const TPairCase cases[] = {
        {"well-formed pair", "a.pfm", {}, 0, true, false, true},
        {"upper-case extension", "a.PFM", {}, 0, true, false, true},
        {"outline missing", "a.pfm", {}, 0, false, false, false},
        {"outline is a folder", "a.pfm", {}, 0, true, true, false},
        {"not a PostScript font", "a.pfm", With([](TPfmFields& f) { f.Type = 128; }), 0, true, false, false},
        {"146 bytes", "a.pfm", {}, 146, true, false, false},
        {"147 bytes", "a.pfm", With([](TPfmFields& f) { f.SizeMatchesFile = false; }), 147, true, false, true},
        {".PFM needs neither version bit nor size",
         "a.pfm", With([](TPfmFields& f) { f.Version = 0; f.SizeMatchesFile = false; }), 0, true, false, true},
        {"other extension, version bit and size", "a.met", {}, 0, true, false, true},
        {"other extension without version bit", "a.met", With([](TPfmFields& f) { f.Version = 0x0200; }), 0, true,
         false, false},
        {"other extension, wrong size", "a.met", With([](TPfmFields& f) { f.SizeMatchesFile = false; }), 0, true,
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string folder = qmtest::FreshFolder("type1-pair");
        auto bytes = BuildPfm(c.Fields);
        if (c.CutTo)
            bytes.resize(c.CutTo);
        const std::string metrics = folder + "/" + c.MetricsName;
        const std::string outline = folder + "/a.pfb";
        qmtest::WriteFile(metrics, bytes);
        if (c.OutlineIsFolder)
            std::filesystem::create_directory(outline);
        else if (c.OutlineExists)
            qmtest::WriteFile(outline, {0x80, 0x01});
        EXPECT_EQ(TType1FontLight::IsValidPair(metrics, outline), c.Expected);
    }
    EXPECT_FALSE(TType1FontLight::IsValidPair("/nonexistent/a.pfm", "/nonexistent/a.pfb"));
}

struct TLoadCase {
    const char* Name;
    TPfmFields Fields;
    const char* Family;
    const char* Registry;
    const char* FaceFull;
    const char* Style;
    bool Regular;
};

TEST(Type1FontLight, LoadGivesNamesAndDerivedStyle)
{
    const TLoadCase cases[] = {
        {"regular", {}, "Test Serif", "TestSerif Regular", "TestSerif-Regular", "Regular", true},
        {"weight 401 is bold", With([](TPfmFields& f) { f.Weight = 401; }), "Test Serif", "TestSerif Regular",
         "TestSerif-Regular", "Bold", false},
        {"bold italic", With([](TPfmFields& f) { f.Weight = 700; f.Italic = 1; }), "Test Serif", "TestSerif Regular",
         "TestSerif-Regular", "Bold Italic", false},
        {"italic at 400", With([](TPfmFields& f) { f.Italic = 255; }), "Test Serif", "TestSerif Regular",
         "TestSerif-Regular", "Italic", false},
        {"two hyphens become blanks", With([](TPfmFields& f) { f.PostScriptName = "Test-Serif-Bold"; }),
         "Test Serif", "Test Serif Bold", "Test-Serif-Bold", "Regular", true},
        {"no names when the face offset is inside the header", With([](TPfmFields& f) { f.WithNames = false; }), "",
         "", "", "Regular", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string file = qmtest::FreshFolder("type1-load") + "/a.pfm";
        qmtest::WriteFile(file, BuildPfm(c.Fields));
        TType1FontLight reader;
        reader.LoadFromFile(file);
        const auto& item = reader.Item();
        EXPECT_EQ(Utf8(item.FamilyName()), c.Family);
        EXPECT_EQ(Utf8(item.RegistryName()), c.Registry);
        EXPECT_EQ(Utf8(item.FaceFullName()), c.FaceFull);
        EXPECT_EQ(Utf8(item.StyleName()), c.Style);
        EXPECT_EQ(item.IsRegular(), c.Regular);
        EXPECT_EQ(item.WeightClass(), c.Fields.Weight);
        EXPECT_EQ(item.Italic(), c.Fields.Italic != 0);
        EXPECT_EQ(item.GdiTypeBits(), 2);
        EXPECT_EQ(item.FontKind(), 3);
        EXPECT_TRUE(item.FullName().empty());
        EXPECT_TRUE(item.PreferredFamily().empty());
    }
}

TEST(Type1FontLight, NamesStopAt256Characters)
{
    TPfmFields fields;
    fields.FaceName = std::string(300, 'F');
    const std::string file = qmtest::FreshFolder("type1-long") + "/a.pfm";
    qmtest::WriteFile(file, BuildPfm(fields));
    TType1FontLight reader;
    reader.LoadFromFile(file);
    EXPECT_EQ(reader.Item().FamilyName(), std::u16string(256, u'F'));
}

TEST(Type1FontLight, ExtendedReadGivesKerningPairsAndCopyright)
{
    const std::string folder = qmtest::FreshFolder("type1-extended");
    TPfmFields fields;
    fields.KernPairs = 40000;  // read unsigned
    fields.Copyright = std::string(70, 'C');
    qmtest::WriteFile(folder + "/a.pfm", BuildPfm(fields));
    TType1FontLight reader;
    TExtendedFontInfoRecord record;
    reader.ReadExtendedInfo(folder + "/a.pfm", record);
    EXPECT_EQ(record.KerningPairs, 40000);
    EXPECT_EQ(record.CopyrightNotice, std::u16string(60, u'C'));

    fields.WithNames = false;
    qmtest::WriteFile(folder + "/b.pfm", BuildPfm(fields));
    TExtendedFontInfoRecord untouched;
    reader.ReadExtendedInfo(folder + "/b.pfm", untouched);
    EXPECT_EQ(untouched.KerningPairs, -1);
    EXPECT_TRUE(untouched.CopyrightNotice.empty());
}

TEST(Type1FontLight, MissingFileRaises)
{
    TType1FontLight reader;
    EXPECT_THROW(reader.LoadFromFile("/nonexistent/a.pfm"), std::exception);
    TExtendedFontInfoRecord record;
    EXPECT_THROW(reader.ReadExtendedInfo("/nonexistent/a.pfm", record), std::exception);
}

TEST(Type1FontLight, EveryPrefixReadsWithoutFault)
{
    const auto bytes = BuildPfm();
    const std::string folder = qmtest::FreshFolder("type1-prefix");
    qmtest::WriteFile(folder + "/a.pfb", {1});
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string file = folder + "/a.pfm";
        qmtest::WriteFile(file, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        TType1FontLight::IsValidPair(file, folder + "/a.pfb");
        TType1FontLight reader;
        reader.LoadFromFile(file);
        TExtendedFontInfoRecord record;
        reader.ReadExtendedInfo(file, record);
    }
}

} // namespace
